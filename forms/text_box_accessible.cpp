// The text box as screen readers know it: an editable text named by its
// label, whose text, cursor and selection they can read and change.
#include "forms/text_box.h"

#include <QAccessibleWidget>
#include <QTextBoundaryFinder>

namespace {

// Words and sentences are looked for this far around an offset first, and
// some times as far again on a side where what was found reaches the end of
// the stretch looked at, so that a screen reader reading a long text word by
// word walks about as far as the word is long, not the whole text. Larger
// steps waste less on retries: a word of ten million characters takes about
// twice the time of one look at it by twos, one and a tenth by sixteens.
constexpr qsizetype BoundaryReach = 4096;
constexpr qsizetype BoundaryGrowth = 16;

// A stretch of text, for Qt's own word and sentence boundaries.
class Stretch : public QAccessibleTextInterface
{
public:
    explicit Stretch(QString text)
        : text_(std::move(text))
    {
    }

    QString text(int start, int end) const override { return text_.mid(start, end - start); }
    int characterCount() const override { return int(text_.size()); }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    QString text_;
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

    // Characters, words and sentences from a stretch around the offset; the
    // line is the whole text.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return inStretch(offset, type, start, end, &QAccessibleTextInterface::textBeforeOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return inStretch(offset, type, start, end, &QAccessibleTextInterface::textAfterOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        // At the very end of a text that ends a word or a sentence, Qt's own
        // search for the word or sentence there never returns; there is
        // none, as there is no character.
        const QString text = box()->text();
        if ((offset == text.size() || offset == -1)
            && (type == QAccessible::WordBoundary || type == QAccessible::SentenceBoundary)) {
            QTextBoundaryFinder finder(type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                         : QTextBoundaryFinder::Sentence,
                                       text.right(BoundaryReach));
            finder.toEnd();
            if (finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem)) {
                *start = *end = -1;
                return {};
            }
        }
        return inStretch(offset, type, start, end, &QAccessibleTextInterface::textAtOffset);
    }

    // Editing
    void deleteText(int start, int end) override { box()->replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { box()->replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override { box()->replaceText(start, end, text); }

private:
    using Boundary = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int *, int *) const;

    QString inStretch(int offset, QAccessible::TextBoundaryType type, int *start, int *end, Boundary boundary) const
    {
        const QString text = box()->text();
        const qsizetype length = text.size();
        if (offset == -1) // the end of the text, by convention
            offset = int(length);
        if (type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary
            || type == QAccessible::NoBoundary)
            return (Stretch(text).*boundary)(offset, type, start, end);
        if (offset < 0 || offset > length) {
            *start = *end = -1;
            return {};
        }
        qsizetype before = BoundaryReach, after = BoundaryReach;
        for (;;) {
            const qsizetype first = std::clamp(offset - before, qsizetype(0), length);
            const qsizetype last = std::clamp(offset + after, first, length);
            const QString found
                = (Stretch(text.mid(first, last - first)).*boundary)(int(offset - first), type, start, end);
            // Nothing found, or a find that ends at the stretch's end, may
            // go on beyond it.
            const bool growBefore = first > 0 && *start == 0;
            const bool growAfter = last < length && (*start < 0 || *end == last - first);
            if (!growBefore && !growAfter) {
                if (*start >= 0) {
                    *start += int(first);
                    *end += int(first);
                }
                return found;
            }
            if (growBefore)
                before *= BoundaryGrowth;
            if (growAfter)
                after *= BoundaryGrowth;
        }
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
