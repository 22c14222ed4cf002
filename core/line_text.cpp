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
    separate_ = false;
}

void LineText::moveCursor(qsizetype position, bool select)
{
    position = std::clamp(position, qsizetype(0), text_.size());
    separate_ = separate_ || position != cursor_;
    cursor_ = position;
    if (!select)
        anchor_ = cursor_;
}

// As a line edit's, a selection made this way is no move: what is typed
// after it may join the typing before.
void LineText::setSelection(qsizetype start, qsizetype length)
{
    anchor_ = std::clamp(start, qsizetype(0), text_.size());
    cursor_ = std::clamp(start + length, qsizetype(0), text_.size());
}

void LineText::selectAll()
{
    cursor_ = anchor_ = 0;
    moveCursor(text_.size(), true);
}

std::vector<LineText::Change> LineText::type(const QString &typed)
{
    std::vector<Change> changes = removeSelection();
    if (!typed.isEmpty())
        changes.push_back(record(Kind::Typing, {cursor_, QString(), typed}));
    return changes;
}

std::vector<LineText::Change> LineText::insert(const QString &inserted)
{
    if (inserted.isEmpty() && !hasSelection())
        return {};
    separate_ = true;
    std::vector<Change> changes = type(inserted);
    separate_ = true;
    return changes;
}

std::vector<LineText::Change> LineText::removeSelection()
{
    if (!hasSelection())
        return {};
    separate_ = true;
    return {record(Kind::RemovingSelection, {selectionStart(), selectedText(), QString()})};
}

// Backspace takes one code point, so that an accent typed after its letter
// can be taken back alone; Delete takes the whole character ahead.
std::vector<LineText::Change> LineText::backspace()
{
    if (hasSelection())
        return removeSelection();
    if (cursor_ == 0)
        return {};
    qsizetype start = cursor_ - 1;
    if (start > 0 && text_.at(start).isLowSurrogate() && text_.at(start - 1).isHighSurrogate())
        --start;
    return {record(Kind::Backspacing, {start, text_.mid(start, cursor_ - start), QString()})};
}

std::vector<LineText::Change> LineText::deleteForward()
{
    if (hasSelection())
        return removeSelection();
    const qsizetype end = nextCharacter(cursor_);
    if (end == cursor_)
        return {};
    return {record(Kind::DeletingForward, {cursor_, text_.mid(cursor_, end - cursor_), QString()})};
}

std::vector<LineText::Change> LineText::deleteWordBackward()
{
    moveCursor(previousWord(cursor_), true);
    return removeSelection();
}

std::vector<LineText::Change> LineText::deleteWordForward()
{
    moveCursor(nextWord(cursor_), true);
    return deleteForward();
}

// Makes a change and records it, where a run of typing, or of deleting one
// way, grows one step.
LineText::Change LineText::record(Kind kind, const Change &change)
{
    history_.resize(done_);
    if (separate_ && !history_.empty() && history_.back().kind != Kind::Separator) {
        // Where a line edit's cursor is as it begins the next step: after the
        // first character typed, where the deleting is, or as it was before
        // a selection goes. Typing at the end puts it there, not past the
        // end of the text as a line edit's redo does.
        qsizetype at = change.position;
        const QString &typed = change.inserted;
        if (kind == Kind::Typing)
            at += typed.size() > 1 && typed.at(0).isHighSurrogate() && typed.at(1).isLowSurrogate() ? 2 : 1;
        at = std::min(at, text_.size());
        const bool selected = kind == Kind::RemovingSelection;
        history_.push_back({Kind::Separator, Change(), selected ? cursor_ : at, selected ? anchor_ : at});
    }
    separate_ = false;
    Step *last = history_.empty() ? nullptr : &history_.back();
    if (last && last->kind == kind && kind == Kind::Typing
        && last->change.position + last->change.inserted.size() == change.position) {
        last->change.inserted += change.inserted;
    } else if (last && last->kind == kind && kind == Kind::Backspacing
               && change.position + change.removed.size() == last->change.position) {
        last->change.removed.prepend(change.removed);
        last->change.position = change.position;
    } else if (last && last->kind == kind && kind == Kind::DeletingForward
               && change.position == last->change.position) {
        last->change.removed.append(change.removed);
    } else {
        history_.push_back({kind, change, cursor_, anchor_});
    }
    done_ = history_.size();
    apply(change);
    cursor_ = anchor_ = change.position + change.inserted.size();
    return change;
}

// Whether one undo or redo stops between two neighbouring steps, as a line
// edit's does: between kinds that differ, but never just before a separator
// (redo ends on it), and a removed selection goes with the steps after it
// unless a separator stands between.
bool LineText::apart(Kind earlier, Kind later)
{
    return earlier != later && earlier != Kind::RemovingSelection && later != Kind::Separator
        && (later != Kind::RemovingSelection || earlier == Kind::Separator);
}

void LineText::apply(const Change &change)
{
    text_.replace(change.position, change.removed.size(), change.inserted);
}

// A separator on top is passed over. The cursor ends before what was typed,
// after what comes back from Backspace, before what comes back from Delete,
// and on a selection that comes back, selecting it again.
std::vector<LineText::Change> LineText::undo()
{
    std::vector<Change> changes;
    while (done_ > 0) {
        const Step &step = history_[--done_];
        if (step.kind == Kind::Separator)
            continue;
        const Change reverse{step.change.position, step.change.inserted, step.change.removed};
        apply(reverse);
        changes.push_back(reverse);
        cursor_ = anchor_ = step.change.position + (step.kind == Kind::Backspacing ? step.change.removed.size() : 0);
        if (step.kind == Kind::RemovingSelection) {
            cursor_ = step.cursor;
            anchor_ = step.anchor;
        }
        if (done_ > 0 && apart(history_[done_ - 1].kind, step.kind))
            break;
    }
    return changes;
}

// The cursor ends after what comes back, or where a separator that ends the
// steps brought back says.
std::vector<LineText::Change> LineText::redo()
{
    std::vector<Change> changes;
    while (done_ < history_.size()) {
        const Step &step = history_[done_++];
        if (step.kind == Kind::Separator) {
            cursor_ = step.cursor;
            anchor_ = step.anchor;
        } else {
            apply(step.change);
            changes.push_back(step.change);
            cursor_ = anchor_ = step.change.position + step.change.inserted.size();
        }
        if (done_ < history_.size() && apart(step.kind, history_[done_].kind))
            break;
    }
    return changes;
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
