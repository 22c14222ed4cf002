// A radius box holding a long paste: how long the paste, a keystroke at its
// end, a repaint and a calculation take, and what the paste costs in memory.
// In process on the offscreen platform; each figure is one run, as a user
// would meet it.
#include "bench_rows.h"
#include "main_window/Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPixmap>
#include <QTest>
#include <cstring>

namespace {

// Resident memory in KiB, from the kernel's account of this process.
long residentKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    return 0;
}

template <typename Action>
double milliseconds(Action action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    QApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    int count = 0;
    std::vector<char *> arguments = offscreenArguments(argc, argv, count);
    QApplication application(count, arguments.data());
    constexpr qsizetype characters = 10'000'000;

    Form1 form;
    form.show();
    QApplication::processEvents();
    QWidget *single = form.findChild<QWidget *>(QStringLiteral("Text1(4)"));
    QWidget *result = form.findChild<QWidget *>(QStringLiteral("Text1(3)"));
    single->setFocus();
    const QString radius = QString(characters - 4, u'0') + QStringLiteral("1000");
    QGuiApplication::clipboard()->setText(radius);
    QApplication::processEvents();

    const long before = residentKiB("VmRSS:");
    const double paste = milliseconds([&] { QTest::keySequence(single, QKeySequence::Paste); });
    const long afterPaste = residentKiB("VmRSS:");
    if (single->property("text").toString().size() != radius.size())
        qFatal("the paste was cut");
    const double keystroke = milliseconds([&] { QTest::keyClick(single, Qt::Key_0); });
    const double backspace = milliseconds([&] { QTest::keyClick(single, Qt::Key_Backspace); });
    const double home = milliseconds([&] { QTest::keyClick(single, Qt::Key_Home); });
    // The whole paste is one word: a screen reader asking for the word at the
    // cursor gets all of it.
    int wordStart = 0, wordEnd = 0;
    const double word = milliseconds([&] {
        QAccessible::queryAccessibleInterface(single)->textInterface()->textAtOffset(
            0, QAccessible::WordBoundary, &wordStart, &wordEnd);
    });
    if (wordEnd - wordStart != radius.size())
        qFatal("the word read was %d characters long", wordEnd - wordStart);
    const double repaint = milliseconds([&] { (void)form.grab(); });
    const double enter = milliseconds([&] { QTest::keyClick(single, Qt::Key_Return); });
    if (result->property("text").toString() != u"80")
        qFatal("the calculation gave \"%s\"", qPrintable(result->property("text").toString()));

    printRow("10 M characters pasted: paste to shown", paste, "ms", "");
    printRow("10 M characters pasted: memory the paste kept", double(afterPaste - before) / 1024.0, "MiB", "");
    printRow("10 M characters pasted: keystroke at the end", keystroke, "ms", "< 50");
    printRow("10 M characters pasted: Backspace at the end", backspace, "ms", "< 50");
    printRow("10 M characters pasted: Home", home, "ms", "< 50");
    printRow("10 M characters pasted: repaint of the window", repaint, "ms", "< 50");
    printRow("10 M characters pasted: a screen reader reads its one word", word, "ms", "");
    printRow("10 M characters pasted: Enter to result", enter, "ms", "");
    return 0;
}
