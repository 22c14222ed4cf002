// The radius boxes under real key events and clicks.
#include "main_window/Form1.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScopeGuard>
#include <QSemaphore>
#include <QStyleHints>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <QWindow>

using namespace form1;

namespace {

// What a screen reader is told of the caret and the selection, in order.
QStringList told;
QObject *listenedTo = nullptr;

void listen(QAccessibleEvent *event)
{
    if (event->object() != listenedTo)
        return;
    if (event->type() == QAccessible::TextCaretMoved) {
        told << QStringLiteral("caret %1").arg(static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition());
    } else if (event->type() == QAccessible::TextSelectionChanged) {
        const auto *selection = static_cast<QAccessibleTextSelectionEvent *>(event);
        told << (selection->selectionStart() < 0
                     ? QStringLiteral("no selection")
                     : QStringLiteral("selection %1-%2").arg(selection->selectionStart()).arg(selection->selectionEnd()));
    }
}

class Listener
{
public:
    explicit Listener(QObject *box)
        : previous_(QAccessible::installUpdateHandler(listen))
    {
        listenedTo = box;
        told.clear();
        // The bridge to a screen reader's bus comes up soon after the start.
        if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
            (void)QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000); // "told:" skips without it
    }
    ~Listener()
    {
        QAccessible::installUpdateHandler(previous_);
        listenedTo = nullptr;
    }
    Listener(const Listener &) = delete;
    Listener &operator=(const Listener &) = delete;

private:
    QAccessible::UpdateHandler previous_;
};

// Whether the caret is drawn: a line of the text's colour, the line's height
// tall, where the cursor is (on a white background: Qt draws the caret by
// inverting what is there).
bool caretShown(TextBox *box)
{
    const QImage picture = box->grab().toImage();
    const QRect around = box->cursorRect().intersected(box->rect());
    const QColor ink = box->palette().color(QPalette::Text);
    for (int x = around.left(); x <= around.right(); ++x) {
        int inked = 0;
        for (int y = around.top(); y <= around.bottom(); ++y)
            inked += picture.pixelColor(x, y) == ink;
        if (inked >= around.height() - 2)
            return true;
    }
    return false;
}

// Runs a screen reader's query, ending the test with a clear message when it
// never returns: a query that loops for ever would otherwise hang the suite.
template <typename Query>
void answersInTime(const QString &query, Query ask)
{
    QSemaphore answered;
    const std::unique_ptr<QThread> watchdog(QThread::create([&] {
        if (!answered.tryAcquire(1, 30'000))
            qFatal("no answer in 30 s to %s", qPrintable(query));
    }));
    watchdog->start();
    ask();
    answered.release();
    watchdog->wait();
}

} // namespace

class RadiusEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingEmptiesTheOtherGroup();
    void resultChangesEmptyNothing();
    void anyCharacterCanBeTyped_data();
    void anyCharacterCanBeTyped();
    void editingKeys_data();
    void editingKeys();
    void screenReaderReadsTheText_data();
    void screenReaderReadsTheText();
    void focusSelectsTheWholeText_data();
    void focusSelectsTheWholeText();
    void enterWalksThreeRadiiAndCalculates();
    void enterInSingleRadiusCalculatesAndEmptiesIt();
    void keypadEnterActsLikeReturn();
    void enterInInnerRadiusWithoutLeftOuter();
    void enterInResultBoxDoesNothing();
    void emptyingAnEmptyBoxRunsNothing();

private:
    QWidget *focused() const { return QApplication::focusWidget(); }
    void type(const QString &text) { QTest::keyClicks(focused(), text); }
    void press(Qt::Key key) { QTest::keyClick(focused(), key); }

    std::unique_ptr<ScratchDirectory> directory_;
    std::unique_ptr<Form1> form_;
};

void RadiusEntryTest::init()
{
    directory_ = std::make_unique<ScratchDirectory>();
    QVERIFY(directory_->isValid());
    form_ = std::make_unique<Form1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void RadiusEntryTest::cleanup()
{
    form_.reset();
    directory_.reset();
}

void RadiusEntryTest::typingEmptiesTheOtherGroup()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("300");
    text1(form, 1)->setFocus();
    type("5");
    QCOMPARE(text1(form, 4)->text(), QString());
    QCOMPARE(text1(form, 1)->text(), QStringLiteral("5"));

    text1(form, 0)->setFocus();
    type("630");
    text1(form, 2)->setFocus();
    type("1300");
    text1(form, 4)->setFocus();
    type("7");
    for (int index : {0, 1, 2})
        QCOMPARE(text1(form, index)->text(), QString());
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("7"));
}

void RadiusEntryTest::resultChangesEmptyNothing()
{
    Form1 &form = *form_;
    text1(form, 0)->setFocus();
    type("630");
    text1(form, 3)->setText("80");
    QTest::mouseClick(option(form, 1, 1), Qt::LeftButton); // converts the result
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("50"));
    QCOMPARE(text1(form, 0)->text(), QStringLiteral("630"));
}

// No box has a length limit: a paste stays whole, however long.
void RadiusEntryTest::anyCharacterCanBeTyped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("result"); // metres, km/h

    QTest::newRow("typed") << "1,5 m/s" << false << "3"; // 1 m
    QTest::newRow("40,000 characters pasted") << QString(39'996, u'0') + "1000" << true << "80";
    QTest::newRow("10 MB pasted") << QString(10'000'000 - 4, u'0') + "1000" << true << "80";
}

void RadiusEntryTest::anyCharacterCanBeTyped()
{
    QFETCH(QString, text);
    QFETCH(bool, pasted);
    QFETCH(QString, result);
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    if (pasted) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(focused(), QKeySequence::Paste);
    } else {
        type(text);
    }
    QCOMPARE(text1(form, 4)->text().size(), text.size());
    QVERIFY(text1(form, 4)->text() == text);
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), result);
}

// The editing keys, the clipboard and input methods in a box, also one that
// holds ten million characters.
void RadiusEntryTest::editingKeys_data()
{
    QTest::addColumn<QString>("pasted");
    // Key sequences; "commit:" and "preedit:" come from an input method,
    // "clipboard:" puts a text on the clipboard, "drop:" drops one at the
    // box's right end ("drop file:" a file), "click:N", "middle:N" and
    // "drag down:N" press a button on character N (and drag straight down
    // out of the box), "click shown:N" clicks the Nth character shown, an
    // input method's text included, "told:" lists what a screen reader was
    // told since the last "told:"; "flash:N" sets the desktop's blink time,
    // "caret:on" and "caret:off" say whether the caret is drawn now, and
    // "blink:off" waits until it blinks off.
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");

    QTest::newRow("Ctrl+Z takes back the typing") << "" << QStringList{"1", "2", "Ctrl+Z"} << "" << "";
    QTest::newRow("Ctrl+Shift+Z brings it back") << "" << QStringList{"1", "2", "Ctrl+Z", "Ctrl+Shift+Z"} << "12" << "";
    QTest::newRow("Ctrl+Z takes back the paste") << "630" << QStringList{"Ctrl+Z"} << "" << "";
    // Enter empties the emptied box again, which ends what can be undone.
    QTest::newRow("nothing to undo after the program's text")
        << "12" << QStringList{"Ctrl+A", "Backspace", "Return", "Ctrl+Z"} << "" << "";
    QTest::newRow("Shift+Home selects to the start") << "123" << QStringList{"Left", "Shift+Home"} << "123" << "12";
    QTest::newRow("Ctrl+Backspace takes the word") << "12 345" << QStringList{"Ctrl+Backspace"} << "12 " << "";
    QTest::newRow("Ctrl+Left, then Delete") << "12 345" << QStringList{"Ctrl+Left", "Delete"} << "12 45" << "";
    QTest::newRow("Ctrl+A, then typing") << "123" << QStringList{"Ctrl+A", "7"} << "7" << "";
    // Left ends a selection at its start, except under the Windows key
    // scheme (Alt+Backspace is Undo there only), where it moves on from the
    // cursor.
    const bool windowsKeys
        = QKeySequence::keyBindings(QKeySequence::Undo).contains(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    QTest::newRow("Left with a selection") << "123" << QStringList{"Ctrl+A", "Left", "9"}
                                           << (windowsKeys ? "1293" : "9123") << "";
    QTest::newRow("Ctrl+Home moves nothing") << "12 345" << QStringList{"Left", "Ctrl+Home", "9"} << "12 3495" << "";
    QTest::newRow("Ctrl+Shift+End selects nothing") << "12 345" << QStringList{"Home", "Ctrl+Shift+End"} << "12 345"
                                                    << "";
    QTest::newRow("Ctrl+Backspace takes the selection and a word more")
        << "12 345" << QStringList{"Shift+Left", "Shift+Left", "Ctrl+Backspace"} << "12 " << "";
    QTest::newRow("Ctrl+Delete takes the selection and a word more")
        << "12 345" << QStringList{"Home", "Shift+Right", "Ctrl+Delete"} << "345" << "";
    QTest::newRow("Ctrl+Z takes back a cut and the typing after it")
        << "12345" << QStringList{"Shift+Left", "Ctrl+X", "9", "Ctrl+Z"} << "12345" << "5";
    QTest::newRow("cut, then paste elsewhere")
        << "12345" << QStringList{"Shift+Left", "Shift+Left", "Ctrl+X", "Home", "Ctrl+V"} << "45123" << "";
    QTest::newRow("copy, then paste") << "12" << QStringList{"Ctrl+A", "Ctrl+C", "End", "Ctrl+V"} << "1212" << "";
    QTest::newRow("an empty clipboard pasted over a selection")
        << "12345" << QStringList{"Home", "Shift+Right", "Shift+Right", "clipboard:", "Ctrl+V"} << "345" << "";
    QTest::newRow("text dropped at the end") << "12" << QStringList{"Home", "drop:5"} << "125" << "";
    // A paste or a drop takes the text before the first line break.
    const std::pair<const char *, QString> lineBreaks[]
        = {{"LF", "\n"}, {"CR LF", "\r\n"}, {"CR", "\r"}, {"U+2028", "\u2028"}, {"U+2029", "\u2029"}};
    for (const auto &[name, lineBreak] : lineBreaks)
        QTest::addRow("two lines pasted, %s", name) << "1000" + lineBreak + "2000" + lineBreak << QStringList{} << "1000" << "";
    QTest::newRow("a paste that starts with a line break") << "\n1000" << QStringList{} << "" << "";
    QTest::newRow("two lines dropped") << "12" << QStringList{"Home", "drop:5\r\n6"} << "125" << "";
    QTest::newRow("a file dropped is refused") << "12" << QStringList{"Home", "drop file:/tmp/a b.txt"} << "12" << "";
    QTest::newRow("Alt+Backspace undoes where it is Undo") << "12" << QStringList{"3", "Alt+Backspace"} << "12" << "";
    QTest::newRow("Ctrl+Shift+Backspace takes the word") << "12 345" << QStringList{"Ctrl+Shift+Backspace"} << "12 " << "";
    QTest::newRow("a middle click pastes where pressed")
        << "12345" << QStringList{"selection:9", "middle:1"} << "192345" << "";
    QTest::newRow("a drag straight down selects to the end") << "12345" << QStringList{"drag down:1"} << "12345" << "2345";
    QTest::newRow("a screen reader follows the caret")
        << "12.5"
        << QStringList{"told:", "Left", "told:caret 3", "Home", "told:caret 0", "Ctrl+Right", "told:caret 2", "End",
                       "told:caret 4", "Shift+Left", "told:caret 3, selection 3-4", "Shift+Left",
                       "told:caret 2, selection 2-4", "Right", "told:caret 4, no selection", "Ctrl+A",
                       "told:selection 0-4", "click:1", "told:caret 1, no selection"}
        << "12.5" << "";
    QTest::newRow("right-to-left text: Left moves on")
        << QStringLiteral("\u0645\u0631 12") << QStringList{"Home", "Shift+Left"} << QStringLiteral("\u0645\u0631 12")
        << QStringLiteral("\u0645");
    // The caret between spaces, where it crosses no glyph.
    QTest::newRow("a new blink time applies at once")
        << "12  " << QStringList{"blink:off", "flash:0", "caret:on"} << "12  " << "";
    QTest::newRow("a click keeps the caret's blink")
        << "12  " << QStringList{"blink:off", "click:3", "caret:off"} << "12  " << "";
    QTest::newRow("an input method's text") << "12" << QStringList{"preedit:3", "commit:3"} << "123" << "";
    QTest::newRow("an input method replaces the selection") << "12" << QStringList{"Ctrl+A", "commit:5"} << "5" << "";
    QTest::newRow("a click while an input method composes") // on the 4, where the click goes once it is dropped
        << "123456" << QStringList{"Home", "Right", "Right", "preedit:nihao", "click shown:8", "7"} << "1237456" << "";

    const QString long10MB = QString(10'000'000 - 4, u'0') + "1000";
    QTest::newRow("10 MB: End, Backspace") << long10MB << QStringList{"End", "Backspace"} << long10MB.chopped(1) << "";
    QTest::newRow("10 MB: Home, Delete, Ctrl+Z")
        << long10MB << QStringList{"Home", "Delete", "Ctrl+Z"} << long10MB << "";
    QTest::newRow("10 MB: Ctrl+Z takes back the paste") << long10MB << QStringList{"Ctrl+Z"} << "" << "";
    QTest::newRow("10 MB: Shift+Home selects it all") << long10MB << QStringList{"Shift+Home"} << long10MB << long10MB;
}

void RadiusEntryTest::editingKeys()
{
    QFETCH(QString, pasted);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    QFETCH(QString, selected);
    Form1 &form = *form_;
    TextBox *box = text1(form, 4);
    box->setFocus();
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keySequence(box, QKeySequence::Paste);
    Listener listener(box);
    QStyleHints *hints = QGuiApplication::styleHints();
    const auto restoreFlashTime = qScopeGuard([hints, flashTime = hints->cursorFlashTime()] {
        hints->setCursorFlashTime(flashTime);
    });
    QString composing; // by an input method
    const auto mouse = [box](QEvent::Type type, Qt::MouseButton button, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, box->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    };
    for (const QString &key : keys) {
        const QString argument = key.section(u':', 1);
        // Just inside the character's left edge.
        const QRect character = box->characterRect(argument.toInt());
        const QPoint onCharacter(character.left() + 1, character.center().y());
        if (key.startsWith(u"told:")) {
            // Qt tells screen readers only where one can listen.
            if (!QAccessible::isActive())
                QSKIP("no accessibility bus: run by test_radius_entry_x11");
            QCOMPARE(told.join(u", "), argument);
            told.clear();
        } else if (key.startsWith(u"flash:")) {
            hints->setCursorFlashTime(argument.toInt());
        } else if (key.startsWith(u"caret:")) {
            QCOMPARE(caretShown(box), argument == u"on");
        } else if (key == u"blink:off") {
            QTRY_VERIFY(!caretShown(box));
        } else if (key.startsWith(u"click shown:")) {
            // Measured on the text as shown, what the box shows left-aligned
            // from where its first character is.
            QString shown = box->text();
            shown.insert(box->cursorPosition(), composing);
            QTextLayout layout(shown, box->font());
            layout.beginLayout();
            const QTextLine line = layout.createLine();
            layout.endLayout();
            const QPoint at(box->characterRect(0).left() + int(line.cursorToX(argument.toInt())) + 1,
                            box->height() / 2);
            mouse(QEvent::MouseButtonPress, Qt::LeftButton, at);
            mouse(QEvent::MouseButtonRelease, Qt::LeftButton, at);
        } else if (key.startsWith(u"click:")) {
            mouse(QEvent::MouseButtonPress, Qt::LeftButton, onCharacter);
            mouse(QEvent::MouseButtonRelease, Qt::LeftButton, onCharacter);
        } else if (key.startsWith(u"middle:")) {
            if (!QGuiApplication::clipboard()->supportsSelection())
                QSKIP("no selection to paste on this platform: run by test_radius_entry_x11");
            mouse(QEvent::MouseButtonPress, Qt::MiddleButton, onCharacter);
            mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, onCharacter + QPoint(0, 3 * box->height()));
        } else if (key.startsWith(u"drag down:")) {
            const QPoint below = onCharacter + QPoint(0, 3 * box->height());
            mouse(QEvent::MouseButtonPress, Qt::LeftButton, onCharacter);
            mouse(QEvent::MouseMove, Qt::LeftButton, below);
            mouse(QEvent::MouseButtonRelease, Qt::LeftButton, below);
        } else if (key.startsWith(u"selection:")) {
            QGuiApplication::clipboard()->setText(argument, QClipboard::Selection);
        } else if (key.startsWith(u"clipboard:")) {
            QGuiApplication::clipboard()->setText(argument);
        } else if (key.startsWith(u"drop")) {
            QMimeData dragged;
            if (key.startsWith(u"drop file:"))
                dragged.setUrls({QUrl::fromLocalFile(argument)});
            else
                dragged.setText(argument);
            const QPoint rightEnd(box->width() - 3, box->height() / 2);
            QDragEnterEvent enter(rightEnd, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            if (enter.isAccepted()) { // what the window system asks before a drop
                QDropEvent drop(rightEnd, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(box, &drop);
            }
        } else if (key.startsWith(u"commit:") || key.startsWith(u"preedit:")) {
            const QString composed = key.section(u':', 1);
            composing = key.startsWith(u"preedit:") ? composed : QString();
            QInputMethodEvent input(key.startsWith(u"preedit:") ? composed : QString(), {});
            if (key.startsWith(u"commit:"))
                input.setCommitString(composed);
            QApplication::sendEvent(box, &input);
        } else {
            QTest::keySequence(box, QKeySequence::fromString(key));
        }
    }
    QVERIFY(box->text() == text); // QCOMPARE would print megabytes
    QVERIFY(box->selectedText() == selected);
}

// What a screen reader reads from a box at an offset: the character, word or
// sentence there, quickly in a text of any length. In a short text every
// query answers at every offset, the ends included, with a piece of the text
// on the right side of the offset.
void RadiusEntryTest::screenReaderReadsTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("start"); // -1: nothing there

    QTest::newRow("the word at an offset") << "12 345" << 4 << int(QAccessible::WordBoundary) << "345" << 3;
    QTest::newRow("no word after the last") << "12 345" << 6 << int(QAccessible::WordBoundary) << "" << -1;
    QTest::newRow("no sentence after the last") << "1. 2." << 5 << int(QAccessible::SentenceBoundary) << "" << -1;
    // What Orca asks after Ctrl+Left to the start of the text.
    QTest::newRow("the word at the start of \"-300\"") << "-300" << 0 << int(QAccessible::WordBoundary) << "-" << 0;
    QTest::newRow("the word at the start of \" 12\"") << " 12" << 0 << int(QAccessible::WordBoundary) << " " << 0;
    QTest::newRow("the word at the start of \"(5)\"") << "(5)" << 0 << int(QAccessible::WordBoundary) << "(" << 0;
    QTest::newRow("the word at the start of \"...\"") << "..." << 0 << int(QAccessible::WordBoundary) << "..." << 0;
    const QString long10MB = QString(5'000'000, u'0') + "12 34" + QString(5'000'000, u'0');
    QTest::newRow("a word of 10,000 characters") << QString(10'000, u'7') + " 12" << 5'000
                                                 << int(QAccessible::WordBoundary) << QString(10'000, u'7') << 0;
    QTest::newRow("10 MB: a character") << long10MB << 5'000'001 << int(QAccessible::CharBoundary) << "2" << 5'000'001;
    QTest::newRow("10 MB: a word") << long10MB << 5'000'002 << int(QAccessible::WordBoundary)
                                   << QStringLiteral(" ") << 5'000'002;
}

void RadiusEntryTest::screenReaderReadsTheText()
{
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, boundary);
    QFETCH(QString, read);
    QFETCH(int, start);
    TextBox *box = text1(*form_, 4);
    box->setText(text);
    QAccessibleTextInterface *reader = QAccessible::queryAccessibleInterface(box)->textInterface();
    QVERIFY(reader);
    QCOMPARE(reader->characterCount(), text.size());
    int from = 0, to = 0;
    QString found;
    answersInTime(QStringLiteral("the row's look-up at %1").arg(offset), [&] {
        found = reader->textAtOffset(offset, QAccessible::TextBoundaryType(boundary), &from, &to);
    });
    QCOMPARE(found, read);
    QCOMPARE(from, start);

    if (text.size() > 100)
        return;
    using Query = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int *, int *) const;
    const Query queries[] = {&QAccessibleTextInterface::textBeforeOffset, &QAccessibleTextInterface::textAtOffset,
                             &QAccessibleTextInterface::textAfterOffset};
    const int length = int(text.size());
    for (int at = -2; at <= length; ++at) { // -1 stands for the end, -2 for the caret, which is at the end
        const int place = at < 0 ? length : at;
        for (int type = QAccessible::CharBoundary; type <= QAccessible::NoBoundary; ++type) {
            for (int which : {0, 1, 2}) {
                const QString asked = QStringLiteral("%1 %2 by boundary %3 in \"%4\"")
                                          .arg(QStringList{"before", "at", "after"}[which])
                                          .arg(at)
                                          .arg(type)
                                          .arg(text);
                answersInTime(asked, [&] {
                    found = (reader->*queries[which])(at, QAccessible::TextBoundaryType(type), &from, &to);
                });
                const bool placed = which == 0 ? to <= place
                    : which == 1               ? from <= place && (place < to || to == length)
                                               : place < from;
                QVERIFY2((from == -1 && to == -1 && found.isEmpty())
                             || (0 <= from && from < to && to <= length && found == text.mid(from, to - from) && placed),
                         qPrintable(asked + QStringLiteral(": \"%1\" from %2 to %3").arg(found).arg(from).arg(to)));
            }
        }
    }
}

// The whole text is selected when the box receives the focus from the Tab key
// (either way), the mouse or the program; not when the focus only comes back
// to it from the window, a closed menu or the menu bar.
void RadiusEntryTest::focusSelectsTheWholeText_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("selects");
    QTest::newRow("Tab") << "tab" << true;
    QTest::newRow("Backtab") << "backtab" << true;
    QTest::newRow("program") << "program" << true;
    QTest::newRow("mouse click") << "mouse" << true;
    QTest::newRow("window active again") << "window" << false;
    QTest::newRow("context menu closed") << "context menu" << false;
    QTest::newRow("Alt, then Esc") << "menu bar" << false;
}

void RadiusEntryTest::focusSelectsTheWholeText()
{
    QFETCH(QString, how);
    QFETCH(bool, selects);
    Form1 &form = *form_;
    QWindow *window = form.windowHandle();
    text1(form, 1)->setFocus();
    type("12");
    if (how == "tab") {
        text1(form, 0)->setFocus();
        press(Qt::Key_Tab);
    } else if (how == "backtab") {
        text1(form, 2)->setFocus();
        press(Qt::Key_Backtab);
    } else if (how == "program") {
        text1(form, 0)->setFocus();
        press(Qt::Key_Return); // Enter in Left Outer Radius moves the focus on
    } else if (how == "mouse") {
        text1(form, 0)->setFocus();
        QTest::mouseClick(text1(form, 1), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::qWait(1); // the selection is made again once the click is done
    } else if (how == "window") {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    } else if (how == "context menu") {
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape); });
        const QPoint inBox = text1(form, 1)->mapTo(&form, QPoint(5, 5));
        QTest::mouseClick(window, Qt::RightButton, {}, inBox); // the menu runs until Esc
        // Offscreen, unlike a window manager, activates the menu itself.
        form.activateWindow();
    } else {
        QTest::keyClick(window, Qt::Key_Alt);
        QTest::keyClick(window, Qt::Key_Escape);
    }
    QTRY_COMPARE(focused(), text1(form, 1)); // back once the window is active again
    QCOMPARE(text1(form, 1)->hasSelectedText(), selects);
    type("3");
    QCOMPARE(text1(form, 1)->text(), selects ? QStringLiteral("3") : QStringLiteral("123"));
}

void RadiusEntryTest::enterWalksThreeRadiiAndCalculates()
{
    Form1 &form = *form_;
    QCOMPARE(focused(), text1(form, 0));
    type("630");
    press(Qt::Key_Return);
    QCOMPARE(focused(), text1(form, 1));
    type("630");
    press(Qt::Key_Return);
    QCOMPARE(focused(), text1(form, 2));
    type("1300");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    for (int index : {0, 1, 2, 4})
        QCOMPARE(text1(form, index)->text(), QString());
    QCOMPARE(focused(), text1(form, 0));
}

void RadiusEntryTest::enterInSingleRadiusCalculatesAndEmptiesIt()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1000");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 4)->text(), QString());
    QCOMPARE(focused(), text1(form, 4));
    type("2000");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("114"));
}

void RadiusEntryTest::keypadEnterActsLikeReturn()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1000");
    QTest::keyClick(focused(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
}

void RadiusEntryTest::enterInInnerRadiusWithoutLeftOuter()
{
    Form1 &form = *form_;
    text1(form, 1)->setFocus();
    type("600");
    text1(form, 2)->setFocus();
    type("1200");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("0"));
    QCOMPARE(text1(form, 1)->text(), QString());
    QCOMPARE(text1(form, 2)->text(), QString());
    QCOMPARE(focused(), text1(form, 2));
}

void RadiusEntryTest::enterInResultBoxDoesNothing()
{
    Form1 &form = *form_;
    text1(form, 3)->setText("80");
    text1(form, 4)->setText("1000");
    QTest::mouseClick(text1(form, 3), Qt::LeftButton);
    QCOMPARE(focused(), text1(form, 3));
    type("12");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("1000"));
    QCOMPARE(focused(), text1(form, 3));
}

// Setting an empty box to empty is no change: a click on CALCULATE in
// single-radius mode leaves "Single Radius" as it is.
void RadiusEntryTest::emptyingAnEmptyBoxRunsNothing()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1000");
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("1000"));
}

QTEST_MAIN(RadiusEntryTest)
#include "test_radius_entry.moc"
