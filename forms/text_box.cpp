// The text box's state and what it shows: the stretch of text laid out
// around the cursor, its scrolling, the cursor's blinking, and the
// notifications to input methods and screen readers.
#include "forms/text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethod>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextLine>

namespace {

// The stretch laid out around the cursor, and how near its ends the cursor
// may come before the stretch moves. The view shows a few dozen characters.
constexpr qsizetype ShownLength = 2048;
constexpr qsizetype ShownMargin = 256;
// Farther than any box is wide.
constexpr int OffScreen = 1 << 24;
// How far into the text its direction is looked for.
constexpr qsizetype DirectionReach = 4096;

// The room a line edit keeps between its frame and its text.
constexpr int HorizontalMargin = 2;
constexpr int VerticalMargin = 1;

// The stretch may not begin or end inside a character: not between the
// halves of a surrogate pair, nor before a combining mark.
bool insideCharacter(const QString &text, qsizetype position)
{
    return position > 0 && position < text.size() && (text.at(position).isLowSurrogate() || text.at(position).isMark());
}

} // namespace

void installTextBoxAccessibility(); // text_box_accessible.cpp

TextBox::TextBox(QWidget *parent)
    : QWidget(parent)
{
    installTextBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    setAcceptDrops(true);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    layout_.setCacheEnabled(true);
    // A new blink rate of the desktop's applies at once.
    connect(QGuiApplication::styleHints(), &QStyleHints::cursorFlashTimeChanged, this, &TextBox::restartBlinking);
}

void TextBox::setText(const QString &text)
{
    const QString before = text_.text();
    const bool changed = text != before;
    text_.setText(text);
    if (!preedit_.isEmpty()) {
        if (hasFocus())
            QGuiApplication::inputMethod()->reset(); // what it was composing belonged to the old text
        preedit_.clear();
    }
    invalidateLayout();
    update();
    updateMicroFocus();
    if (changed && QAccessible::isActive()) {
        QAccessibleTextUpdateEvent replaced(this, 0, before, text_.text());
        QAccessible::updateAccessibility(&replaced);
    }
    tellCaret(false);
    if (changed)
        emit textChanged(text_.text());
}

void TextBox::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void TextBox::setReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    setCursor(readOnly ? Qt::ArrowCursor : Qt::IBeamCursor);
    restartBlinking();
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void TextBox::setCursorPosition(int position)
{
    moveCursor(position, false);
}

void TextBox::setSelection(int start, int length)
{
    commitPreedit();
    text_.setSelection(std::clamp(qsizetype(start), qsizetype(0), text_.size()), length);
    cursorMoved();
}

void TextBox::selectAll()
{
    commitPreedit();
    text_.selectAll();
    cursorMoved();
}

void TextBox::deselect()
{
    moveCursor(text_.cursor(), false);
}

void TextBox::moveCursor(qsizetype position, bool select)
{
    commitPreedit();
    text_.moveCursor(position, select);
    cursorMoved();
}

// Moving the cursor ends what an input method is composing, as in a line
// edit: the input method commits it where it is, and what it leaves
// uncommitted is dropped rather than carried along to the new place.
void TextBox::commitPreedit()
{
    if (preedit_.isEmpty())
        return;
    QGuiApplication::inputMethod()->commit();
    if (preedit_.isEmpty())
        return;
    preedit_.clear();
    preeditFormats_.clear();
    invalidateLayout();
    update();
}

// Commits what an input method is composing before the cursor goes where
// `point` is, and gives that place in the text as it is after the commit:
// the committed text moves what follows it. A point on the composed text
// gives its place in what was committed; -1 when nothing was.
qsizetype TextBox::commitAt(QPoint point)
{
    const int inPreedit = preeditPositionAt(point);
    const qsizetype position = positionAt(point);
    if (preedit_.isEmpty())
        return position;
    const qsizetype composedAt = text_.cursor(), lengthBefore = text_.size();
    commitPreedit();
    const qsizetype committed = text_.size() - lengthBefore;
    if (inPreedit >= 0)
        return committed > 0 ? composedAt + std::min(qsizetype(inPreedit), committed) : -1;
    return position > composedAt ? position + committed : position;
}

void TextBox::cursorMoved()
{
    if (cursorPosition() == toldCursor_ && selectionStart() == toldSelectionStart_
        && selectionEnd() == toldSelectionEnd_)
        return;
    update();
    updateMicroFocus();
    tellCaret(false);
}

// Screen readers follow the caret by its own event, sent whenever it moves
// (or, with `moved`, after every edit), and hear of the selection only when
// one appears, changes or goes: a reader told of a selection at every move
// reads the selection and never the character reached.
void TextBox::tellCaret(bool moved)
{
    const int cursor = cursorPosition(), start = selectionStart(), end = selectionEnd();
    moved = moved || cursor != toldCursor_;
    const bool selectionChanged = start != toldSelectionStart_ || end != toldSelectionEnd_;
    toldCursor_ = cursor;
    toldSelectionStart_ = start;
    toldSelectionEnd_ = end;
    if (!QAccessible::isActive())
        return;
    if (moved) {
        QAccessibleTextCursorEvent caret(this, cursor);
        QAccessible::updateAccessibility(&caret);
    }
    if (selectionChanged) {
        QAccessibleTextSelectionEvent selection(this, start, end);
        selection.setCursorPosition(cursor);
        QAccessible::updateAccessibility(&selection);
    }
}

void TextBox::edited(const std::vector<LineText::Change> &changes)
{
    if (changes.empty())
        return;
    invalidateLayout();
    update();
    updateMicroFocus();
    if (QAccessible::isActive()) {
        for (const LineText::Change &change : changes) {
            const int position = int(change.position);
            if (change.removed.isEmpty()) {
                QAccessibleTextInsertEvent inserted(this, position, change.inserted);
                QAccessible::updateAccessibility(&inserted);
            } else if (change.inserted.isEmpty()) {
                QAccessibleTextRemoveEvent removed(this, position, change.removed);
                QAccessible::updateAccessibility(&removed);
            } else {
                QAccessibleTextUpdateEvent replaced(this, position, change.removed, change.inserted);
                QAccessible::updateAccessibility(&replaced);
            }
        }
    }
    tellCaret(true);
    emit textChanged(text_.text());
}

void TextBox::replaceText(int start, int end, const QString &text)
{
    if (readOnly_ || start < 0 || start > end || end > text_.size())
        return;
    text_.setSelection(start, end - start);
    edited(text_.insert(text));
}

void TextBox::undo()
{
    if (!readOnly_)
        edited(text_.undo());
}

void TextBox::redo()
{
    if (!readOnly_)
        edited(text_.redo());
}

void TextBox::copy() const
{
    if (text_.hasSelection())
        QGuiApplication::clipboard()->setText(text_.selectedText());
}

void TextBox::cut()
{
    if (readOnly_ || !text_.hasSelection())
        return;
    copy();
    edited(text_.removeSelection());
}

// On desktops with a selection clipboard, what is selected can be pasted
// elsewhere with the middle button.
void TextBox::copySelectionForMiddleClick() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (text_.hasSelection() && clipboard->supportsSelection())
        clipboard->setText(text_.selectedText(), QClipboard::Selection);
}

void TextBox::initStyleOption(QStyleOptionFrame *option) const
{
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    if (readOnly_)
        option->state |= QStyle::State_ReadOnly;
    option->features = QStyleOptionFrame::None;
}

QSize TextBox::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(font());
    const int height = std::max(metrics.height(), 14) + 2 * VerticalMargin;
    const int width = metrics.horizontalAdvance(u'x') * 17 + 2 * HorizontalMargin;
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize TextBox::minimumSizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(font());
    const int height = metrics.height() + 2 * VerticalMargin;
    const int width = metrics.maxWidth() + 2 * HorizontalMargin;
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

// The cursor's place in the laid-out stretch, inside what an input method
// is composing when it shows a cursor of its own there.
qsizetype TextBox::shownCursor() const
{
    return text_.cursor() - shownStart_ + (preedit_.isEmpty() ? 0 : preeditCursor_);
}

// The text reads from the right when its first letter does, whatever the
// window's direction, as in a line edit; an empty text goes the box's way.
// The input method's direction is not asked: some platforms' input methods
// crash when asked without a keyboard. Only the start of a long text is
// looked at, so that this costs the same at any length.
Qt::LayoutDirection TextBox::textDirection() const
{
    const QString &text = text_.text();
    if (text.isEmpty())
        return layoutDirection();
    return QStringView(text).left(DirectionReach).isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

// Lays out the stretch around the cursor. The stretch stays where it is
// while the cursor keeps away from its ends, so that moving and typing
// re-lay only that stretch.
void TextBox::ensureLayout()
{
    const QString &text = text_.text();
    const qsizetype cursor = text_.cursor();
    qsizetype start = std::min(shownStart_, std::max(text.size() - ShownLength, qsizetype(0)));
    const bool nearStart = cursor < start + ShownMargin && start > 0;
    const bool nearEnd = cursor > start + ShownLength - ShownMargin && start + ShownLength < text.size();
    if (nearStart || nearEnd) {
        start = std::clamp(cursor - ShownLength / 2, qsizetype(0), std::max(text.size() - ShownLength, qsizetype(0)));
        while (insideCharacter(text, start))
            --start;
    }
    qsizetype end = std::min(start + ShownLength, text.size());
    while (insideCharacter(text, end))
        ++end;
    if (layoutValid_ && start == shownStart_ && end == shownEnd_)
        return;
    // When the stretch moves, the cursor keeps the place on screen it has
    // with the old scrolling, as in a line edit: measured in the old stretch
    // while that still holds the text, and otherwise beyond the edge it
    // moved towards, so that it ends at that edge.
    const bool moved = start != shownStart_;
    int cursorOnScreen = 0;
    if (moved && layoutValid_ && cursor >= shownStart_ && cursor <= shownEnd_)
        cursorOnScreen = int(std::lround(layout_.lineAt(0).cursorToX(int(cursor - shownStart_)))) - scroll_;
    else if (moved)
        cursorOnScreen = cursor >= placedCursor_ ? OffScreen : -OffScreen;
    shownStart_ = start;
    shownEnd_ = end;

    // Control characters and line breaks show as spaces, not as boxes.
    QString shown = text.mid(start, end - start);
    for (QChar &character : shown) {
        const char16_t code = character.unicode();
        if ((code < 0x20 && code != u'\t') || code == QChar::LineSeparator || code == QChar::ParagraphSeparator
            || code == QChar::ObjectReplacementCharacter)
            character = u' ';
    }
    layout_.setText(shown);
    layout_.setFont(font());
    QTextOption option = layout_.textOption();
    option.setTextDirection(textDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout_.setTextOption(option);
    QList<QTextLayout::FormatRange> formats;
    if (!preedit_.isEmpty()) {
        layout_.setPreeditArea(int(cursor - start), preedit_);
        for (const QInputMethodEvent::Attribute &attribute : preeditFormats_) {
            if (attribute.type != QInputMethodEvent::TextFormat)
                continue;
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.isValid())
                formats.append({int(cursor - start) + attribute.start, attribute.length, format});
        }
    } else {
        layout_.setPreeditArea(-1, QString());
    }
    layout_.setFormats(formats);
    layout_.beginLayout();
    layout_.createLine();
    layout_.endLayout();
    // Tall glyphs make the line taller, as in a line edit.
    const QFontMetrics metrics(font());
    shownHeight_ = std::max(metrics.height(), metrics.boundingRect(shown + preedit_).height());
    layoutValid_ = true;
    if (moved)
        scroll_ = int(std::lround(layout_.lineAt(0).cursorToX(int(shownCursor())))) - cursorOnScreen;
}

// Scrolls as a line edit does: short text sits as aligned; long text keeps
// the cursor in view and fills the line to its end.
TextBox::Placement TextBox::place()
{
    ensureLayout();
    QStyleOptionFrame option;
    initStyleOption(&option);
    Placement placement;
    placement.contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QFontMetrics metrics(font());
    const QTextLine line = layout_.lineAt(0);
    const int height = shownHeight_;
    const QRect &contents = placement.contents;
    const Qt::Alignment alignment = QStyle::visualAlignment(textDirection(), alignment_);
    int top = contents.y() + (contents.height() - height + 1) / 2;
    if (alignment & Qt::AlignTop)
        top = contents.y() + VerticalMargin;
    else if (alignment & Qt::AlignBottom)
        top = contents.y() + contents.height() - height - VerticalMargin;
    placement.line = QRect(contents.x() + HorizontalMargin, top, contents.width() - 2 * HorizontalMargin, height);

    const int width = placement.line.width();
    const int cursorX = int(std::lround(line.cursorToX(int(shownCursor()))));
    // No room is kept for the bearings of the font's most overhanging glyph,
    // as a line edit keeps none: with some fonts that would indent the text
    // by a dozen pixels.
    const int used = int(std::lround(line.naturalTextWidth())) + 1;
    const bool whole = shownStart_ == 0 && shownEnd_ == text_.size();
    if (whole && used <= width) {
        if (alignment & Qt::AlignRight)
            scroll_ = used - width + 1;
        else if (alignment & Qt::AlignHCenter)
            scroll_ = (used - width) / 2;
        else
            scroll_ = 0;
    } else if (cursorX - scroll_ >= width) {
        scroll_ = cursorX - width + 1;
    } else if (cursorX - scroll_ < 0) {
        scroll_ = cursorX;
    } else if (used - scroll_ < width && shownEnd_ == text_.size()) {
        scroll_ = used - width + 1;
    }
    if (!(whole && used <= width))
        scroll_ = std::max(scroll_, 0); // long text never shows room before its start
    placedCursor_ = text_.cursor();
    placement.origin = placement.line.topLeft() - QPoint(scroll_, int(std::lround(line.ascent())) - metrics.ascent());
    return placement;
}

void TextBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    const Placement placement = place();
    painter.setClipRect(placement.contents);
    const QPalette &colours = palette();
    painter.setPen(colours.text().color());
    QList<QTextLayout::FormatRange> selections;
    const qsizetype selectedFrom = std::max(text_.selectionStart(), shownStart_);
    const qsizetype selectedTo = std::min(text_.selectionEnd(), shownEnd_);
    if (selectedFrom < selectedTo) {
        QTextLayout::FormatRange selected;
        selected.start = int(selectedFrom - shownStart_);
        selected.length = int(selectedTo - selectedFrom);
        selected.format.setBackground(colours.brush(QPalette::Highlight));
        selected.format.setForeground(colours.brush(QPalette::HighlightedText));
        selections.append(selected);
    }
    layout_.draw(&painter, placement.origin, selections, placement.contents);
    // The caret blinks on under a selection too, shown where the style
    // shows it there.
    const bool caretShown = cursorOn_ && !readOnly_ && hasFocus()
        && (!text_.hasSelection() || style()->styleHint(QStyle::SH_BlinkCursorWhenTextSelected, nullptr, this));
    if (caretShown)
        layout_.drawCursor(&painter, placement.origin, int(shownCursor()),
                           style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

// Where a place in the text is in the laid-out stretch, which holds what an
// input method is composing at the cursor.
qsizetype TextBox::shownIndex(qsizetype position) const
{
    return position - shownStart_ + (position >= text_.cursor() ? preedit_.size() : 0);
}

QRect TextBox::characterRect(int position)
{
    const Placement placement = place();
    if (position < shownStart_ || position >= shownEnd_)
        return {};
    const QTextLine line = layout_.lineAt(0);
    const int at = int(shownIndex(position));
    const qreal left = line.cursorToX(at), right = line.cursorToX(at + 1);
    return QRectF(std::min(left, right), 0, std::abs(right - left), line.height())
        .translated(placement.origin)
        .toAlignedRect();
}

// The cursor's rectangle at a position, with room around it as a line edit
// gives; empty where the position is not laid out.
QRect TextBox::positionRect(qsizetype position)
{
    const Placement placement = place();
    if (position < shownStart_ || position > shownEnd_)
        return {};
    const QTextLine line = layout_.lineAt(0);
    const qsizetype shown = position == text_.cursor() ? shownCursor() : shownIndex(position);
    const int x = int(std::lround(line.cursorToX(int(shown))));
    const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    return QRect(x - 5, 0, width + 9, int(line.height()) + 1).translated(placement.origin);
}

QRect TextBox::cursorRect()
{
    return positionRect(text_.cursor());
}

// A point on what an input method is composing stands for the cursor's
// place, where that text goes in.
int TextBox::positionAt(QPoint point)
{
    const Placement placement = place();
    qsizetype at = layout_.lineAt(0).xToCursor(point.x() - placement.origin.x());
    const qsizetype composedAt = text_.cursor() - shownStart_;
    if (at > composedAt)
        at = std::max(at - preedit_.size(), composedAt);
    return int(shownStart_ + std::min(at, shownEnd_ - shownStart_));
}

// Where `point` is in what an input method is composing, from 0 before its
// first character to its length after the last; -1 when it is elsewhere.
int TextBox::preeditPositionAt(QPoint point)
{
    if (preedit_.isEmpty())
        return -1;
    const Placement placement = place();
    const qsizetype at = layout_.lineAt(0).xToCursor(point.x() - placement.origin.x())
        - (text_.cursor() - shownStart_);
    return at >= 0 && at <= preedit_.size() ? int(at) : -1;
}

// The caret's blink starts afresh, shown, as in a line edit: when the box
// gets the focus, on every key (not on a click or a move by the program),
// and when the blink rate changes.
void TextBox::restartBlinking()
{
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    cursorOn_ = true;
    if (hasFocus() && !readOnly_ && flashTime >= 2)
        blink_.start(flashTime / 2, this);
    else
        blink_.stop();
    update();
}

void TextBox::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == blink_.timerId()) {
        cursorOn_ = !cursorOn_;
        update();
    } else if (event->timerId() == tripleClick_.timerId()) {
        tripleClick_.stop();
    }
    QWidget::timerEvent(event);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    // The Tab key and a shortcut select the whole text, as in a line edit.
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        && !text_.hasSelection())
        selectAll();
    clickCausedFocus_ = reason == Qt::MouseFocusReason;
    restartBlinking();
    updateMicroFocus();
    update();
    QWidget::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    // A menu or another window taking the focus for a while keeps the
    // selection; anything else drops it.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        deselect();
    blink_.stop();
    cursorOn_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void TextBox::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::StyleChange:
        invalidateLayout();
        updateGeometry();
        update();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}
