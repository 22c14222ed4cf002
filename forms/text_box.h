#pragma once

#include "core/line_text.h"

#include <QBasicTimer>
#include <QInputMethodEvent>
#include <QPointer>
#include <QTextLayout>
#include <QWidget>

class QMenu;
class QStyleOptionFrame;

// A one-line text box that stays quick whatever it holds. It edits like a
// line edit (keys, mouse, clipboard, dropped text, context menu, input
// methods, screen readers), but lays out only the stretch of text around the cursor, a few
// thousand characters; a line edit lays out and shapes its whole text on
// every change and repaint, which takes seconds for a paste of megabytes.
class TextBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
    Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(int cursorPosition READ cursorPosition WRITE setCursorPosition)

public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const { return text_.text(); }
    // The program's text: the cursor goes to its end and the undo history
    // starts afresh, as in a line edit, also when the text stays the same
    // (then without textChanged).
    void setText(const QString &text);

    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);

    int cursorPosition() const { return int(text_.cursor()); }
    void setCursorPosition(int position);
    // `length` code units from `start`; the cursor ends at the far end.
    void setSelection(int start, int length);
    bool hasSelectedText() const { return text_.hasSelection(); }
    QString selectedText() const { return text_.selectedText(); }
    // Where the selection starts and ends; -1 when nothing is selected.
    int selectionStart() const { return hasSelectedText() ? int(text_.selectionStart()) : -1; }
    int selectionEnd() const { return hasSelectedText() ? int(text_.selectionEnd()) : -1; }
    void selectAll();
    void deselect();
    // Replaces the text from `start` to `end` as an edit that can be undone,
    // for assistive technology; nothing in a read-only box.
    void replaceText(int start, int end, const QString &text);

    // The box of the character at `position`, in the box's coordinates;
    // empty where that character is not laid out (far outside the view).
    QRect characterRect(int position);
    // Where the cursor is drawn, with some room around it.
    QRect cursorRect();
    // The cursor position nearest to `point`, in the box's coordinates.
    int positionAt(QPoint point);

    QMenu *createStandardContextMenu();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

public slots:
    void undo();
    void redo();
    void cut();
    void copy() const;
    void paste();

signals:
    void textChanged(const QString &text);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void changeEvent(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // Where the laid-out stretch sits in the box: the line's rectangle and
    // the point the layout is drawn from.
    struct Placement
    {
        QRect contents;
        QRect line;
        QPoint origin;
    };

    // State changes, each followed by what the box shows and tells.
    void edited(const std::vector<LineText::Change> &changes);
    void cursorMoved();
    void tellCaret(bool moved);
    void moveCursor(qsizetype position, bool select);
    void copySelectionForMiddleClick() const;
    void pasteSelection();
    void commitPreedit();
    qsizetype commitAt(QPoint point);
    void requestSoftwareInputPanel(Qt::MouseButton button, bool clickCausedFocus);

    // Keys: the standard editing keys first, then typed text.
    bool handleStandardKey(QKeyEvent *event);
    static bool isTypedText(const QKeyEvent *event);
    bool isEditingShortcut(QKeyEvent *event) const;

    // The laid-out stretch and where it is shown.
    void initStyleOption(QStyleOptionFrame *option) const;
    void invalidateLayout() { layoutValid_ = false; }
    void ensureLayout();
    Placement place();
    qsizetype shownCursor() const;
    qsizetype shownIndex(qsizetype position) const;
    int preeditPositionAt(QPoint point);
    QRect positionRect(qsizetype position);
    Qt::LayoutDirection textDirection() const;
    void restartBlinking();

    LineText text_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool readOnly_ = false;

    // The stretch [shownStart_, shownEnd_) of the text, laid out.
    QTextLayout layout_;
    qsizetype shownStart_ = 0;
    qsizetype shownEnd_ = 0;
    bool layoutValid_ = false;
    int shownHeight_ = 0; // of the line, in pixels
    int scroll_ = 0; // pixels of the stretch hidden to the left
    qsizetype placedCursor_ = 0; // where the cursor was when last placed

    // An input method's text being composed, shown at the cursor.
    QString preedit_;
    int preeditCursor_ = 0;
    QList<QInputMethodEvent::Attribute> preeditFormats_;

    // What screen readers were last told: the caret, and the selection
    // (-1, -1 for none).
    int toldCursor_ = 0;
    int toldSelectionStart_ = -1;
    int toldSelectionEnd_ = -1;

    QBasicTimer blink_;
    bool cursorOn_ = false;
    QBasicTimer tripleClick_;
    QPoint doubleClickPoint_;
    QPoint pressPoint_;
    bool clickCausedFocus_ = false;
};
