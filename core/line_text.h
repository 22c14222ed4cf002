#pragma once

#include <QString>
#include <vector>

// The text of a one-line box and what editing does to it: the cursor and the
// selection, typing, deleting, moving by character and by word, undo and
// redo. Each step costs time in proportion to what it changes or walks over,
// never to the length of the whole text, so a box holding megabytes stays
// as quick as an empty one. Positions count UTF-16 code units.
class LineText
{
public:
    // One change of the text: at `position`, `removed` gave way to
    // `inserted`.
    struct Change
    {
        qsizetype position = 0;
        QString removed;
        QString inserted;
    };

    const QString &text() const { return text_; }
    qsizetype size() const { return text_.size(); }
    qsizetype cursor() const { return cursor_; }
    qsizetype anchor() const { return anchor_; }
    bool hasSelection() const { return cursor_ != anchor_; }
    qsizetype selectionStart() const { return std::min(cursor_, anchor_); }
    qsizetype selectionEnd() const { return std::max(cursor_, anchor_); }
    QString selectedText() const;

    // The program's own text: the cursor goes to its end, and nothing before
    // it can be undone.
    void setText(const QString &text);

    // The cursor to `position`, dragging the selection along or dropping it.
    void moveCursor(qsizetype position, bool select);
    // Selects `length` code units from `start` (backwards when negative);
    // the cursor ends at the far end.
    void setSelection(qsizetype start, qsizetype length);
    void selectAll();

    // Edits. Each replaces the selection, or works at the cursor, and gives
    // the change it made; an edit that changes nothing gives none.
    // Typed text joins the typing before it into one step of undo.
    std::vector<Change> type(const QString &typed);
    std::vector<Change> insert(const QString &inserted);
    std::vector<Change> removeSelection();
    std::vector<Change> backspace();
    std::vector<Change> deleteForward();
    std::vector<Change> deleteWordBackward();
    std::vector<Change> deleteWordForward();
    std::vector<Change> undo();
    std::vector<Change> redo();
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < history_.size(); }

    // Where the cursor goes from `position` by one character (a whole
    // grapheme cluster, so an accent stays on its letter) or by one word.
    qsizetype nextCharacter(qsizetype position) const;
    qsizetype previousCharacter(qsizetype position) const;
    qsizetype nextWord(qsizetype position) const;
    qsizetype previousWord(qsizetype position) const;
    // The word around `position`, for a double-click: its start and end.
    std::pair<qsizetype, qsizetype> wordAt(qsizetype position) const;

private:
    // Backspacing and deleting forward are apart, as in a line edit: a
    // Delete after Backspaces is its own step of undo.
    enum class Kind { Typing, Backspacing, DeletingForward, Other };
    struct Step
    {
        Change change;
        qsizetype cursorBefore, anchorBefore, cursorAfter;
        Kind kind;
    };

    std::vector<Change> replace(qsizetype start, qsizetype end, const QString &inserted, Kind kind);
    void apply(const Change &change);
    bool isSpace(qsizetype position) const;
    bool isSeparator(qsizetype position) const;

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    std::vector<Step> history_;
    std::size_t done_ = 0; // the steps of history_ now applied
    bool joinsTyping_ = false; // the last step may take in what is typed or deleted next
};
