// The settings file's reader on any bytes: never a crash or a hang, memory
// in proportion to the file, entries that are pieces of the file, and
// positions that are either refused or finite and placeable.
#include "fuzz_support.h"
#include "core/window_placement.h"
#include "core/settings_file.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::vector<SettingsEntry> entries = generalSettings(content);

    // Each entry is one line's key and value around its "=": together they
    // never hold more characters than the file has bytes.
    qsizetype characters = 0;
    for (const SettingsEntry &entry : entries) {
        characters += entry.key.size() + entry.value.size() + 1;
        FUZZ_REQUIRE(!entry.key.contains(u'\r') && !entry.value.contains(u'\r'), "a line end inside an entry");
        FUZZ_REQUIRE(!entry.key.contains(u'='), "key \"%s\" holds an =", printable(entry.key));

        if (const std::optional<float> twips = positionFromText(entry.value)) {
            FUZZ_REQUIRE(std::isfinite(*twips) && std::abs(*twips) <= MaxWindowCoordinateTwips,
                         "position %g from \"%s\"", double(*twips), printable(entry.value));
        }
    }
    FUZZ_REQUIRE(characters <= qsizetype(size), "%lld characters from %zu bytes", (long long)characters, size);
    return 0;
}
