#include "core/line_text.h"

#include <QTextBoundaryFinder>

#include <array>
#include <string_view>

namespace {

// Grapheme boundaries are looked for in a stretch this long around the
// position first, and in ever longer ones while none is found.
constexpr qsizetype FirstStretch = 16;

} // namespace

QString LineText::selectedText() const
{
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void LineText::setText(const QString &text)
{
    text_ = text;
    cursor_ = anchor_ = text_.size();
    history_.clear();
    done_ = 0;
    joinsTyping_ = false;
}

void LineText::moveCursor(qsizetype position, bool select)
{
    cursor_ = std::clamp(position, qsizetype(0), text_.size());
    if (!select)
        anchor_ = cursor_;
    joinsTyping_ = false;
}

void LineText::setSelection(qsizetype start, qsizetype length)
{
    moveCursor(start, false);
    moveCursor(start + length, true);
}

void LineText::selectAll()
{
    setSelection(0, text_.size());
}

std::vector<LineText::Change> LineText::type(const QString &typed)
{
    return replace(selectionStart(), selectionEnd(), typed, Kind::Typing);
}

std::vector<LineText::Change> LineText::insert(const QString &inserted)
{
    return replace(selectionStart(), selectionEnd(), inserted, Kind::Other);
}

std::vector<LineText::Change> LineText::removeSelection()
{
    return replace(selectionStart(), selectionEnd(), QString(), Kind::Other);
}

// Backspace takes one code point, so that an accent typed after its letter
// can be taken back alone; Delete takes the whole character ahead.
std::vector<LineText::Change> LineText::backspace()
{
    if (hasSelection())
        return replace(selectionStart(), selectionEnd(), QString(), Kind::Backspacing);
    qsizetype start = cursor_ - 1;
    if (start > 0 && text_.at(start).isLowSurrogate() && text_.at(start - 1).isHighSurrogate())
        --start;
    return replace(std::max(start, qsizetype(0)), cursor_, QString(), Kind::Backspacing);
}

std::vector<LineText::Change> LineText::deleteForward()
{
    if (hasSelection())
        return replace(selectionStart(), selectionEnd(), QString(), Kind::DeletingForward);
    return replace(cursor_, nextCharacter(cursor_), QString(), Kind::DeletingForward);
}

std::vector<LineText::Change> LineText::deleteWordBackward()
{
    if (!hasSelection())
        moveCursor(previousWord(cursor_), true);
    return removeSelection();
}

std::vector<LineText::Change> LineText::deleteWordForward()
{
    if (!hasSelection())
        moveCursor(nextWord(cursor_), true);
    return removeSelection();
}

std::vector<LineText::Change> LineText::replace(qsizetype start, qsizetype end, const QString &inserted, Kind kind)
{
    if (start == end && inserted.isEmpty())
        return {};
    Change change{start, text_.mid(start, end - start), inserted};
    const qsizetype cursorAfter = start + inserted.size();
    Step *last = joinsTyping_ && done_ == history_.size() && done_ > 0 ? &history_.back() : nullptr;
    if (last && last->kind == kind && kind == Kind::Typing && change.removed.isEmpty()
        && last->change.position + last->change.inserted.size() == start) {
        last->change.inserted += inserted;
        last->cursorAfter = cursorAfter;
    } else if (last && last->kind == kind && (kind == Kind::Backspacing || kind == Kind::DeletingForward)
               && last->change.inserted.isEmpty()
               && (end == last->change.position || start == last->change.position)) {
        if (end == last->change.position) {
            last->change.removed.prepend(change.removed);
            last->change.position = start;
        } else {
            last->change.removed.append(change.removed);
        }
        last->cursorAfter = cursorAfter;
    } else {
        history_.resize(done_);
        history_.push_back({change, cursor_, anchor_, cursorAfter, kind});
        ++done_;
    }
    apply(change);
    cursor_ = anchor_ = cursorAfter;
    joinsTyping_ = kind != Kind::Other;
    return {change};
}

void LineText::apply(const Change &change)
{
    text_.replace(change.position, change.removed.size(), change.inserted);
}

std::vector<LineText::Change> LineText::undo()
{
    if (!canUndo())
        return {};
    const Step &step = history_[--done_];
    const Change reverse{step.change.position, step.change.inserted, step.change.removed};
    apply(reverse);
    cursor_ = step.cursorBefore;
    anchor_ = step.anchorBefore;
    joinsTyping_ = false;
    return {reverse};
}

std::vector<LineText::Change> LineText::redo()
{
    if (!canRedo())
        return {};
    const Step &step = history_[done_++];
    apply(step.change);
    cursor_ = anchor_ = step.cursorAfter;
    joinsTyping_ = false;
    return {step.change};
}

qsizetype LineText::nextCharacter(qsizetype position) const
{
    if (position >= text_.size())
        return text_.size();
    for (qsizetype length = FirstStretch;; length *= 4) {
        const QStringView stretch = QStringView(text_).mid(position, length);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, stretch);
        const qsizetype boundary = finder.toNextBoundary();
        if (boundary < stretch.size() || position + stretch.size() == text_.size())
            return position + boundary;
    }
}

qsizetype LineText::previousCharacter(qsizetype position) const
{
    if (position <= 0)
        return 0;
    position = std::min(position, text_.size());
    for (qsizetype length = FirstStretch;; length *= 4) {
        const qsizetype start = std::max(position - length, qsizetype(0));
        const QStringView stretch = QStringView(text_).mid(start, position - start);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, stretch);
        finder.toEnd();
        const qsizetype boundary = finder.toPreviousBoundary();
        if (boundary > 0 || start == 0)
            return start + std::max(boundary, qsizetype(0));
    }
}

bool LineText::isSpace(qsizetype position) const
{
    return text_.at(position).isSpace();
}

// Punctuation that ends a word and makes a word of its own. Looked up in a
// table, as word moves test every character of words that may be megabytes
// long.
bool LineText::isSeparator(qsizetype position) const
{
    static constexpr auto separators = [] {
        std::array<bool, 128> table{};
        for (const char separator : std::string_view(".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\"))
            table[std::size_t(separator)] = true;
        return table;
    }();
    const char16_t code = text_.at(position).unicode();
    return code < separators.size() && separators[code];
}

// A word move skips one word, or one run of punctuation, and the spaces
// after it.
qsizetype LineText::nextWord(qsizetype position) const
{
    const qsizetype end = text_.size();
    if (position >= end)
        return end;
    if (isSeparator(position)) {
        while (position < end && isSeparator(position))
            ++position;
    } else {
        while (position < end && !isSpace(position) && !isSeparator(position))
            ++position;
    }
    while (position < end && isSpace(position))
        ++position;
    return position;
}

qsizetype LineText::previousWord(qsizetype position) const
{
    position = std::clamp(position, qsizetype(0), text_.size());
    while (position > 0 && isSpace(position - 1))
        --position;
    if (position > 0 && isSeparator(position - 1)) {
        while (position > 0 && isSeparator(position - 1))
            --position;
    } else {
        while (position > 0 && !isSpace(position - 1) && !isSeparator(position - 1))
            --position;
    }
    return position;
}

std::pair<qsizetype, qsizetype> LineText::wordAt(qsizetype position) const
{
    const qsizetype start = previousWord(std::min(position + 1, text_.size()));
    qsizetype end = nextWord(start);
    while (end > position && end > start && isSpace(end - 1))
        --end;
    return {start, end};
}
