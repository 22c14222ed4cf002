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
    // A move ends the step of undo being made.
    void moveCursor(qsizetype position, bool select);
    // Selects `length` code units from `start` (backwards when negative);
    // the cursor ends at the far end.
    void setSelection(qsizetype start, qsizetype length);
    void selectAll();

    // Edits, as a line edit makes them. Each replaces the selection, or works
    // at the cursor, and gives the changes it made in order; an edit that
    // changes nothing gives none.
    std::vector<Change> type(const QString &typed);
    // A paste: a step of undo of its own.
    std::vector<Change> insert(const QString &inserted);
    std::vector<Change> removeSelection();
    std::vector<Change> backspace();
    std::vector<Change> deleteForward();
    // The cursor moves a word, selecting, and what is then selected goes;
    // forward, the next character goes when nothing is.
    std::vector<Change> deleteWordBackward();
    std::vector<Change> deleteWordForward();
    // Undo and redo take back or bring back the steps a line edit would, and
    // leave the cursor and the selection where it would.
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
    // The kinds of step a line edit records, in its order, which with their
    // neighbours decide how far one undo or redo goes: a run of one kind
    // goes together, and what follows a removed selection goes with it. A
    // separator stands where the cursor moved, or a paste began or ended.
    enum class Kind { Separator, Typing, Backspacing, DeletingForward, RemovingSelection };
    struct Step
    {
        Kind kind;
        Change change;
        // A separator's: the cursor and anchor that redo leaves, those when
        // the next step began; a removed selection's: those before it.
        qsizetype cursor = 0;
        qsizetype anchor = 0;
    };

    Change record(Kind kind, const Change &change);
    static bool apart(Kind earlier, Kind later);
    void apply(const Change &change);
    bool isSpace(qsizetype position) const;
    bool isSeparator(qsizetype position) const;

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    std::vector<Step> history_;
    std::size_t done_ = 0; // the steps of history_ now applied
    bool separate_ = false; // a separator goes before the next step
};
