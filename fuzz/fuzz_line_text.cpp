// Any sequence of edits and moves on a one-line text: never a crash; the
// cursor and anchor stay within the text; each change given back turns the
// text before it into the text after it (screen readers are told the
// changes); and undoing every step gives back the first text exactly, as
// redoing them all gives back the newest.
#include "fuzz_support.h"
#include "core/line_text.h"

#include <cstdint>

namespace {

void checkChanges(const QString &before, const std::vector<LineText::Change> &changes, const QString &after)
{
    QString replayed = before;
    for (const LineText::Change &change : changes) {
        FUZZ_REQUIRE(replayed.mid(change.position, change.removed.size()) == change.removed,
                     "change at %lld does not remove what was there", (long long)change.position);
        replayed.replace(change.position, change.removed.size(), change.inserted);
    }
    FUZZ_REQUIRE(replayed == after, "the changes give \"%s\", the text is \"%s\"", printable(replayed),
                 printable(after));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Two bytes a step: what to do, and a position or a character (as a
    // UTF-16 code unit, so that pairs, lone surrogates and marks turn up).
    LineText line;
    const QString first = QStringLiteral("12 3,5") + QChar(0xD83D) + QChar(0xDCA9) + QStringLiteral("e\u0301");
    line.setText(first);
    for (std::size_t at = 0; at + 1 < size; at += 2) {
        const std::uint8_t step = data[at] % 14, value = data[at + 1];
        const qsizetype position = qsizetype(value) % (line.size() + 1);
        const QString before = line.text();
        std::vector<LineText::Change> changes;
        switch (step) {
        case 0: changes = line.type(QString(QChar(char16_t(0xD800 + value * 8)))); break; // surrogates
        case 1: changes = line.type(QString(QChar(char16_t(value)))); break;
        case 2: changes = line.insert(QString(value % 5, QChar(char16_t(0x300 + value)))); break;
        case 3: changes = line.backspace(); break;
        case 4: changes = line.deleteForward(); break;
        case 5: changes = line.deleteWordBackward(); break;
        case 6: changes = line.deleteWordForward(); break;
        case 7: changes = line.removeSelection(); break;
        case 8: changes = line.undo(); break;
        case 9: changes = line.redo(); break;
        case 10: line.moveCursor(position, value & 1); break;
        case 11: line.setSelection(position, qsizetype(value % 7) - 3); break;
        case 12:
            line.moveCursor(value & 1 ? line.nextCharacter(line.cursor()) : line.previousCharacter(line.cursor()),
                            value & 2);
            break;
        default:
            line.moveCursor(value & 1 ? line.nextWord(line.cursor()) : line.previousWord(line.cursor()), value & 2);
            break;
        }
        FUZZ_REQUIRE(line.cursor() >= 0 && line.cursor() <= line.size() && line.anchor() >= 0
                         && line.anchor() <= line.size(),
                     "cursor %lld, anchor %lld in %lld", (long long)line.cursor(), (long long)line.anchor(),
                     (long long)line.size());
        checkChanges(before, changes, line.text());
        const auto [start, end] = line.wordAt(position);
        FUZZ_REQUIRE(0 <= start && start <= end && end <= line.size(), "word %lld to %lld", (long long)start,
                     (long long)end);
    }

    while (line.canRedo())
        line.redo();
    const QString last = line.text();
    while (line.canUndo())
        line.undo();
    FUZZ_REQUIRE(line.text() == first, "undoing everything gave \"%s\"", printable(line.text()));
    while (line.canRedo())
        line.redo();
    FUZZ_REQUIRE(line.text() == last, "redoing everything gave \"%s\", not \"%s\"", printable(line.text()),
                 printable(last));
    return 0;
}
