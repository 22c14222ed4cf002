// ReadNumber on any text, and FormatWhole on any double: never a crash, and
// the whole number of a finite value is plain decimal digits (optionally
// after a minus sign) that read back within 0.5 of the value.
#include "fuzz_support.h"
#include "core/number_rules.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool isPlainWholeNumber(const QString &text)
{
    const qsizetype first = text.startsWith(u'-') ? 1 : 0;
    if (text.size() == first)
        return false;
    for (qsizetype at = first; at < text.size(); ++at) {
        if (text[at] < u'0' || text[at] > u'9')
            return false;
    }
    // One way of writing each number: no leading zeros, no "-0".
    return text[first] != u'0' || text == u"0";
}

void checkWhole(double value)
{
    const QString text = FormatWhole(value);
    if (!std::isfinite(value)) {
        FUZZ_REQUIRE(text.isEmpty(), "value %a gave \"%s\"", value, printable(text));
        return;
    }
    FUZZ_REQUIRE(isPlainWholeNumber(text), "value %a gave \"%s\"", value, printable(text));
    const double back = ReadNumber(text);
    FUZZ_REQUIRE(std::abs(back - value) <= 0.5, "value %a gave \"%s\", read back as %a", value, printable(text), back);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Every bit pattern of a double, the infinities and NaNs included.
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkWhole(value);
    }
    // The text both as single bytes and as UTF-16 code units, so that the
    // reading meets characters beyond Latin-1 and lone surrogates too.
    const QString latin1 = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString utf16(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    for (const QString &text : {latin1, utf16}) {
        const double value = ReadNumber(text);
        checkWhole(value);
    }
    return 0;
}
