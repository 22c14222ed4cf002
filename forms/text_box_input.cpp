// What the user does to the text box: the keys, the mouse, dropped text, the
// context menu and input methods, each as a line edit answers it.
#include "forms/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QIcon>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QStyleHints>

#include <optional>

namespace {

// The keys a box takes before the window's shortcuts see them, as the
// platform binds them: those that move or copy, and those that change the
// text, which a read-only box leaves to the window.
constexpr QKeySequence::StandardKey MovingKeys[] = {
    QKeySequence::Copy, QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord,
    QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine, QKeySequence::MoveToStartOfDocument,
    QKeySequence::MoveToEndOfDocument, QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord,
    QKeySequence::SelectStartOfLine, QKeySequence::SelectEndOfLine, QKeySequence::SelectStartOfBlock,
    QKeySequence::SelectEndOfBlock, QKeySequence::SelectStartOfDocument, QKeySequence::SelectAll,
    QKeySequence::SelectEndOfDocument,
};
constexpr QKeySequence::StandardKey EditingKeys[] = {
    QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Redo, QKeySequence::Undo,
    QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord, QKeySequence::DeleteEndOfLine,
    QKeySequence::DeleteCompleteLine,
};

// Under the Windows key scheme, and only there, Alt+Backspace is Undo. A line
// edit asks the platform's theme for the scheme, which Qt does not publish.
bool windowsKeyScheme()
{
    return QKeySequence::keyBindings(QKeySequence::Undo).contains(QKeySequence(Qt::ALT | Qt::Key_Backspace));
}

// Text dragged in is taken when it comes as plain text: a file dragged from
// a file manager offers only its address, which Qt also reports as text.
bool offersPlainText(const QMimeData *data)
{
    return data->hasFormat(QStringLiteral("text/plain"));
}

// What a paste or a drop puts in: the text before its first line break, as
// the platform's own one-line edit control takes it. Two cells copied from a
// spreadsheet would otherwise run together into one number.
QString firstLine(const QString &text)
{
    const auto lineBreak = std::find_if(text.begin(), text.end(), [](QChar character) {
        return character == u'\n' || character == u'\r' || character == QChar::LineSeparator
            || character == QChar::ParagraphSeparator;
    });
    return text.left(lineBreak - text.begin());
}

// How far around the cursor an input method is told the text.
constexpr qsizetype SurroundingReach = 1024;

// Where the text an input method is told starts; the positions it gives and
// is given count from there.
qsizetype surroundingStart(qsizetype cursor)
{
    return std::max(cursor - SurroundingReach, qsizetype(0));
}

} // namespace

bool TextBox::isEditingShortcut(QKeyEvent *event) const
{
    for (QKeySequence::StandardKey key : MovingKeys) {
        if (event->matches(key))
            return true;
    }
    for (QKeySequence::StandardKey key : EditingKeys) {
        if (event->matches(key))
            return !readOnly_;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier || modifiers == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            return !readOnly_;
        default:
            return event->key() < Qt::Key_Escape && !readOnly_;
        }
    }
    return false;
}

bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && isEditingShortcut(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

// A click (or a key) in an editable box brings up the on-screen keyboard
// where the platform has one, as in a line edit: on a click that gave the
// box the focus only when the style asks for it.
void TextBox::requestSoftwareInputPanel(Qt::MouseButton button, bool clickCausedFocus)
{
    if (readOnly_ || button != Qt::LeftButton || !qApp->autoSipEnabled())
        return;
    const auto behaviour = QStyle::RequestSoftwareInputPanel(style()->styleHint(QStyle::SH_RequestSoftwareInputPanel));
    if (!clickCausedFocus || behaviour == QStyle::RSIP_OnMouseClick)
        QGuiApplication::inputMethod()->show();
}

// Text a key types: printable characters, not those of Ctrl combinations,
// which are commands (Ctrl+Alt stays text: it is AltGr on some keyboards).
bool TextBox::isTypedText(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse
        || (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

bool TextBox::handleStandardKey(QKeyEvent *event)
{
    const bool editable = !readOnly_;
    const bool leftToRight = textDirection() == Qt::LeftToRight;
    const qsizetype cursor = text_.cursor();
    const auto forward = [&](bool select) {
        moveCursor(leftToRight ? text_.nextCharacter(cursor) : text_.previousCharacter(cursor), select);
    };
    const auto backward = [&](bool select) {
        moveCursor(leftToRight ? text_.previousCharacter(cursor) : text_.nextCharacter(cursor), select);
    };
    const auto wordForward = [&](bool select) {
        moveCursor(leftToRight ? text_.nextWord(cursor) : text_.previousWord(cursor), select);
    };
    const auto wordBackward = [&](bool select) {
        moveCursor(leftToRight ? text_.previousWord(cursor) : text_.nextWord(cursor), select);
    };
    // Cuts from the cursor, or the whole line, to the clipboard.
    const auto cutFrom = [&](qsizetype start) {
        if (!editable)
            return;
        setSelection(int(start), int(text_.size() - start));
        cut();
    };

    if (event == QKeySequence::Undo) {
        undo();
    } else if (event == QKeySequence::Redo) {
        redo();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::Cut) {
        cut();
    } else if (event == QKeySequence::Paste) {
        // Ctrl+Shift+Insert, where the platform binds it, pastes what is
        // selected elsewhere.
        if (event->key() == Qt::Key_Insert && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
            pasteSelection();
        else
            paste();
    } else if (event == QKeySequence::MoveToNextChar) {
        // A selection ends at its end, or under the Windows key scheme the
        // cursor moves on from where it is.
        if (text_.hasSelection() && !windowsKeyScheme())
            moveCursor(text_.selectionEnd(), false);
        else
            forward(false);
    } else if (event == QKeySequence::MoveToPreviousChar) {
        if (text_.hasSelection() && !windowsKeyScheme())
            moveCursor(text_.selectionStart(), false);
        else
            backward(false);
    } else if (event == QKeySequence::SelectNextChar) {
        forward(true);
    } else if (event == QKeySequence::SelectPreviousChar) {
        backward(true);
    } else if (event == QKeySequence::MoveToNextWord) {
        wordForward(false);
    } else if (event == QKeySequence::MoveToPreviousWord) {
        wordBackward(false);
    } else if (event == QKeySequence::SelectNextWord) {
        wordForward(true);
    } else if (event == QKeySequence::SelectPreviousWord) {
        wordBackward(true);
    } else if (event == QKeySequence::MoveToStartOfLine || event == QKeySequence::MoveToStartOfBlock) {
        moveCursor(0, false);
    } else if (event == QKeySequence::MoveToEndOfLine || event == QKeySequence::MoveToEndOfBlock) {
        moveCursor(text_.size(), false);
    } else if (event == QKeySequence::SelectStartOfLine || event == QKeySequence::SelectStartOfBlock) {
        moveCursor(0, true);
    } else if (event == QKeySequence::SelectEndOfLine || event == QKeySequence::SelectEndOfBlock) {
        moveCursor(text_.size(), true);
    } else if (event == QKeySequence::Delete) {
        if (editable)
            edited(text_.deleteForward());
    } else if (event == QKeySequence::DeleteStartOfWord) {
        if (editable)
            edited(text_.deleteWordBackward());
    } else if (event == QKeySequence::DeleteEndOfWord) {
        if (editable)
            edited(text_.deleteWordForward());
    } else if (event == QKeySequence::DeleteEndOfLine) {
        cutFrom(cursor);
    } else if (event == QKeySequence::DeleteCompleteLine) {
        cutFrom(0);
    } else if (event->key() == Qt::Key_Backspace) {
        // Backspace with modifiers the platform binds to nothing else: with
        // Ctrl it takes the word as Ctrl+Backspace does (where no word is
        // selected then, a line edit would delete forward), otherwise a
        // character.
        if (editable)
            edited(event->modifiers() & Qt::ControlModifier ? text_.deleteWordBackward() : text_.backspace());
    } else {
        return false;
    }
    return true;
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (handleStandardKey(event)) {
        if (text_.hasSelection())
            copySelectionForMiddleClick();
        event->accept();
        restartBlinking();
    } else if (!readOnly_ && isTypedText(event)) {
        edited(text_.type(event->text()));
        event->accept();
        restartBlinking();
    } else {
        // Return, Escape and the rest go on to the window, as do Ctrl+Home
        // and Ctrl+End, which move nothing in a line edit.
        event->ignore();
    }
}

// Typing asks for the on-screen keyboard too, as in a line edit.
void TextBox::keyReleaseEvent(QKeyEvent *event)
{
    requestSoftwareInputPanel(Qt::LeftButton, false);
    restartBlinking();
    QWidget::keyReleaseEvent(event);
}

// An empty clipboard pasted over a selection removes it, as in a line edit.
void TextBox::paste()
{
    if (readOnly_)
        return;
    const QString pasted = firstLine(QGuiApplication::clipboard()->text());
    if (!pasted.isEmpty() || text_.hasSelection())
        edited(text_.insert(pasted));
}

// What is selected elsewhere, as the middle button pastes it.
void TextBox::pasteSelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString selection = firstLine(clipboard->text(QClipboard::Selection));
    if (!readOnly_ && clipboard->supportsSelection() && !selection.isEmpty())
        edited(text_.insert(selection));
}

// Any button but the right one places the cursor, as in a line edit: the
// middle one where its paste will go. A press on what an input method is
// composing is the input method's.
void TextBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    pressPoint_ = point;
    if (preeditPositionAt(point) >= 0)
        return;
    if (event->button() == Qt::RightButton) {
        event->ignore();
        return;
    }
    if (tripleClick_.isActive()
        && (point - doubleClickPoint_).manhattanLength() < QGuiApplication::styleHints()->startDragDistance()) {
        selectAll();
        return;
    }
    moveCursor(commitAt(point), event->modifiers() & Qt::ShiftModifier);
}

// Dragging selects; dragging well above or below the line selects to its
// start or end at once, as in a line edit.
void TextBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    const int threshold = QGuiApplication::styleHints()->mouseQuickSelectionThreshold();
    const bool below = threshold > 0 && point.y() > pressPoint_.y() + threshold;
    const bool above = threshold > 0 && point.y() + threshold < pressPoint_.y();
    if (below || above) {
        moveCursor(below == (layoutDirection() == Qt::LeftToRight) ? text_.size() : 0, true);
        return;
    }
    const qsizetype position = commitAt(point);
    if (position >= 0)
        moveCursor(position, true);
}

// The middle button pastes where it was pressed, wherever it is released.
void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (const int inPreedit = preeditPositionAt(point); inPreedit >= 0) {
        QGuiApplication::inputMethod()->invokeAction(QInputMethod::Click, inPreedit);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        copySelectionForMiddleClick();
    } else if (event->button() == Qt::MiddleButton && !readOnly_ && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteSelection();
    }
    if (rect().contains(point))
        requestSoftwareInputPanel(event->button(), clickCausedFocus_);
    clickCausedFocus_ = false;
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype position = commitAt(event->position().toPoint());
    if (position < 0)
        return;
    const auto [start, end] = text_.wordAt(position);
    moveCursor(start, false);
    moveCursor(end, true);
    copySelectionForMiddleClick();
    doubleClickPoint_ = event->position().toPoint();
    tripleClick_.start(QGuiApplication::styleHints()->mouseDoubleClickInterval(), this);
}

QMenu *TextBox::createStandardContextMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("qt_edit_menu"));
    // Each entry has the icon the desktop's theme gives its name, as in a
    // line edit.
    const auto add = [&](const QString &caption, const char *name, const char *icon,
                         std::optional<QKeySequence::StandardKey> key, bool enabled, auto slot) {
        QString shown = caption;
        if (key && !QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus))
            shown += u'\t' + QKeySequence(*key).toString(QKeySequence::NativeText);
        QAction *action = menu->addAction(shown, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setIcon(QIcon::fromTheme(QLatin1String(icon)));
        action->setEnabled(enabled);
    };
    const bool selected = text_.hasSelection();
    if (!readOnly_) {
        add(tr("&Undo"), "edit-undo", "edit-undo", QKeySequence::Undo, text_.canUndo(), &TextBox::undo);
        add(tr("&Redo"), "edit-redo", "edit-redo", QKeySequence::Redo, text_.canRedo(), &TextBox::redo);
        menu->addSeparator();
        add(tr("Cu&t"), "edit-cut", "edit-cut", QKeySequence::Cut, selected, &TextBox::cut);
    }
    add(tr("&Copy"), "edit-copy", "edit-copy", QKeySequence::Copy, selected, &TextBox::copy);
    if (!readOnly_) {
        add(tr("&Paste"), "edit-paste", "edit-paste", QKeySequence::Paste,
            !QGuiApplication::clipboard()->text().isEmpty(), &TextBox::paste);
        // Deleting from the menu is a step of undo of its own, as a paste of
        // nothing is.
        add(tr("Delete"), "edit-delete", "edit-delete", std::nullopt, selected,
            [this] { edited(text_.insert(QString())); });
    }
    menu->addSeparator();
    add(tr("Select All"), "select-all", "edit-select-all", QKeySequence::SelectAll,
        text_.selectionStart() > 0 || text_.selectionEnd() < text_.size(), &TextBox::selectAll);
    return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// Text dragged from elsewhere goes in where it is dropped; the cursor
// follows the pointer to show where that is.
void TextBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (!readOnly_ && offersPlainText(event->mimeData()))
        event->acceptProposedAction();
}

void TextBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (readOnly_ || !offersPlainText(event->mimeData())) {
        event->ignore();
        return;
    }
    moveCursor(positionAt(event->position().toPoint()), false);
    cursorOn_ = true;
    update();
    event->acceptProposedAction();
}

void TextBox::dragLeaveEvent(QDragLeaveEvent *)
{
    restartBlinking();
    update();
}

void TextBox::dropEvent(QDropEvent *event)
{
    const QString dropped = offersPlainText(event->mimeData()) ? firstLine(event->mimeData()->text()) : QString();
    if (readOnly_ || dropped.isEmpty()) {
        event->ignore();
        return;
    }
    moveCursor(positionAt(event->position().toPoint()), false);
    event->acceptProposedAction();
    edited(text_.type(dropped)); // what is typed next joins it in one step of undo, as in a line edit
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (readOnly_) {
        event->ignore();
        return;
    }
    const qsizetype cursor = text_.cursor();
    // Positions an input method gives count from the start of the text it
    // was told about.
    const qsizetype near = surroundingStart(cursor);
    const QString &commit = event->commitString();
    const bool gettingInput = !commit.isEmpty() || event->preeditString() != preedit_ || event->replacementLength() > 0;
    // The cursor goes to the start of what is replaced, where undo puts it
    // back, as in a line edit.
    if (event->replacementStart() != 0 || event->replacementLength() > 0) {
        const qsizetype from = std::clamp(cursor + event->replacementStart(), qsizetype(0), text_.size());
        const qsizetype to = std::min(from + event->replacementLength(), text_.size());
        text_.setSelection(to, from - to);
    }
    // What is composed or committed takes the selection's place.
    const std::vector<LineText::Change> changes = gettingInput ? text_.type(commit) : std::vector<LineText::Change>{};
    for (const QInputMethodEvent::Attribute &attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Selection)
            text_.setSelection(near + attribute.start, attribute.length);
    }
    preedit_ = event->preeditString();
    preeditFormats_ = event->attributes();
    preeditCursor_ = int(preedit_.size());
    for (const QInputMethodEvent::Attribute &attribute : preeditFormats_) {
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCursor_ = attribute.start;
    }
    invalidateLayout();
    update();
    edited(changes);
    cursorMoved();
    event->accept();
}

// Input methods learn the text near the cursor, never the whole of a long
// text; positions count from the start of what they are told.
QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QString &text = text_.text();
    const qsizetype near = surroundingStart(text_.cursor());
    const auto fromNear = [&](qsizetype position) {
        return int(std::clamp(position - near, qsizetype(0), SurroundingReach * 2));
    };
    auto *self = const_cast<TextBox *>(this);
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled() && !readOnly_;
    case Qt::ImReadOnly:
        return readOnly_;
    case Qt::ImCursorRectangle:
        return self->cursorRect();
    case Qt::ImAnchorRectangle:
        return self->positionRect(text_.anchor());
    case Qt::ImFont:
        return font();
    case Qt::ImSurroundingText:
        return text.mid(near, SurroundingReach * 2);
    case Qt::ImCursorPosition:
        return fromNear(text_.cursor());
    case Qt::ImAbsolutePosition: // in the whole text
        return int(text_.cursor());
    case Qt::ImAnchorPosition:
        return fromNear(text_.anchor());
    case Qt::ImCurrentSelection:
        return text_.selectedText();
    case Qt::ImTextBeforeCursor:
        return text.mid(near, text_.cursor() - near);
    case Qt::ImTextAfterCursor:
        return text.mid(text_.cursor(), SurroundingReach);
    case Qt::ImMaximumTextLength:
        return QVariant(); // no limit
    case Qt::ImHints:
        return int(inputMethodHints());
    default:
        return QWidget::inputMethodQuery(query);
    }
}
