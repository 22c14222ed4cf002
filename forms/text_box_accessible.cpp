// The text box as screen readers know it: an editable text named by its
// label, whose text, cursor and selection they can read and change.
#include "forms/text_box.h"

#include <QAccessibleWidget>
#include <QTextBoundaryFinder>

namespace {

// Boundaries are looked for this far around an offset first, and some times
// as far again while none is found there, so that a screen reader reading a
// long text word by word walks about as far as the word is long, not the
// whole text. Larger steps waste less on retries: a word of ten million
// characters takes about twice the time of one look at it by twos, one and a
// tenth by sixteens.
constexpr qsizetype BoundaryReach = 4096;
constexpr qsizetype BoundaryGrowth = 16;
// Qt's rules look at the characters on either side of a boundary: one found
// this near the cut end of a stretch may be the cut's doing, and is looked
// for again in a longer stretch.
constexpr qsizetype BoundaryContext = 64;

// The places a screen reader reads between: where a character, word or
// sentence starts or ends, as Qt's own text interface counts them (so the
// spaces between two words are an item too). Qt's own look-up of the item
// at an offset never returns at the start of a text that begins with a
// space or punctuation, nor at the end of one that ends a word; this one
// answers everywhere.
class Items
{
public:
    Items(const QString &text, QTextBoundaryFinder::BoundaryType type)
        : text_(text)
        , type_(type)
    {
    }

    // The nearest item boundary at or before `position`; 0 when there is none.
    qsizetype atOrBefore(qsizetype position) const
    {
        for (qsizetype reach = BoundaryReach;; reach *= BoundaryGrowth) {
            const qsizetype first = std::max(position - reach, qsizetype(0));
            const qsizetype last = std::min(position + BoundaryReach, text_.size());
            QTextBoundaryFinder finder(type_, QStringView(text_).mid(first, last - first));
            qsizetype found = position - first;
            finder.setPosition(found);
            while (found > 0 && !isItemBoundary(finder))
                found = finder.toPreviousBoundary();
            if (first == 0 || found >= BoundaryContext)
                return first + found;
        }
    }

    // The nearest item boundary after `position`; the text's length when there
    // is none.
    qsizetype after(qsizetype position) const
    {
        for (qsizetype reach = BoundaryReach;; reach *= BoundaryGrowth) {
            const qsizetype first = std::max(position - BoundaryReach, qsizetype(0));
            const qsizetype last = std::min(position + reach, text_.size());
            QTextBoundaryFinder finder(type_, QStringView(text_).mid(first, last - first));
            qsizetype found = position - first;
            finder.setPosition(found);
            while (found < last - first) {
                found = finder.toNextBoundary();
                if (isItemBoundary(finder))
                    break;
            }
            if (last == text_.size() || found <= last - first - BoundaryContext)
                return first + found;
        }
    }

private:
    static bool isItemBoundary(const QTextBoundaryFinder &finder)
    {
        return finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem);
    }

    const QString &text_;
    QTextBoundaryFinder::BoundaryType type_;
};

class AccessibleTextBox : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface
{
public:
    explicit AccessibleTextBox(TextBox *box)
        : QAccessibleWidget(box, QAccessible::EditableText)
    {
    }

    TextBox *box() const { return static_cast<TextBox *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString &text) override
    {
        if (kind == QAccessible::Value && !box()->isReadOnly())
            box()->setText(text);
        else if (kind != QAccessible::Value)
            QAccessibleWidget::setText(kind, text);
    }

    // A read-only box is still an editable text, one whose text can be
    // read and reviewed but not changed, as a read-only line edit reports.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = box()->isReadOnly();
        state.editable = true;
        state.selectableText = true;
        return state;
    }

    // The text
    QString text(int start, int end) const override { return box()->text().mid(start, end - start); }
    int characterCount() const override { return int(box()->text().size()); }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset; // one font and colour throughout
        return {};
    }

    // Cursor and selection
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *start = box()->selectionStart();
            *end = box()->selectionEnd();
        }
    }
    void addSelection(int start, int end) override { box()->setSelection(start, end - start); }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            box()->setSelection(start, end - start);
    }
    void removeSelection(int index) override
    {
        if (index == 0)
            box()->deselect();
    }

    // Where characters are
    QRect characterRect(int offset) const override
    {
        const QRect rect = box()->characterRect(offset);
        return rect.isValid() ? QRect(box()->mapToGlobal(rect.topLeft()), rect.size()) : QRect();
    }
    int offsetAtPoint(const QPoint &point) const override { return box()->positionAt(box()->mapFromGlobal(point)); }
    void scrollToSubstring(int start, int end) override
    {
        box()->setCursorPosition(end);
        box()->setCursorPosition(start);
    }

    // The character, word, sentence or line before, at or after an offset,
    // as the text interface of a line edit answers; the line is the whole
    // text. -1 stands for the end of the text, -2 for the caret.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return textNear(Before, offset, type, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return textNear(At, offset, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return textNear(After, offset, type, start, end);
    }

    // Editing
    void deleteText(int start, int end) override { box()->replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { box()->replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override { box()->replaceText(start, end, text); }

private:
    enum Where { Before, At, After };

    QString textNear(Where where, int offset, QAccessible::TextBoundaryType type, int *start, int *end) const
    {
        *start = *end = -1;
        const QString text = box()->text();
        const qsizetype length = text.size();
        if (offset == -2)
            offset = box()->cursorPosition();
        else if (offset == -1)
            offset = int(length);
        if (text.isEmpty() || offset < 0 || offset > length)
            return {};
        qsizetype from = -1, to = -1;
        if (type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary
            || type == QAccessible::NoBoundary) {
            if (where == At) {
                from = 0;
                to = length;
            }
        } else {
            const Items items(text, type == QAccessible::CharBoundary ? QTextBoundaryFinder::Grapheme
                                      : type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                          : QTextBoundaryFinder::Sentence);
            if (where == Before) {
                to = items.atOrBefore(offset);
                from = to > 0 ? items.atOrBefore(to - 1) : -1;
            } else {
                // The item at the offset starts at or before it; the one
                // after it starts after it. Nothing starts at the very end.
                from = where == At ? items.atOrBefore(offset) : offset < length ? items.after(offset) : length;
                to = from < length ? items.after(from) : -1;
            }
        }
        if (from < 0 || to <= from)
            return {};
        *start = int(from);
        *end = int(to);
        return text.mid(from, to - from);
    }
};

QAccessibleInterface *accessibleTextBox(const QString &className, QObject *object)
{
    if (className == QLatin1String("TextBox") && object && object->isWidgetType())
        return new AccessibleTextBox(static_cast<TextBox *>(object));
    return nullptr;
}

} // namespace

// Screen readers find every text box through this factory, installed once.
void installTextBoxAccessibility()
{
    static const bool installed = (QAccessible::installFactory(accessibleTextBox), true);
    (void)installed;
}
