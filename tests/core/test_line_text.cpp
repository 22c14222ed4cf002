// Editing a one-line text: what each step leaves, and where the cursor and
// the selection end, also in texts of millions of characters.
#include "core/line_text.h"

#include <QTest>

class LineTextTest : public QObject
{
    Q_OBJECT

private slots:
    void editing_data();
    void editing();
    void moves_data();
    void moves();
};

namespace {

const QString pileOfPoo = QString::fromUtf8("\xF0\x9F\x92\xA9"); // one character, two code units
const QString eAcute = QStringLiteral("e\u0301"); // a letter and its combining accent

// Runs the steps of a row, each "name" or "name:argument": type, insert,
// select (start,length), move (position), backspace, delete, deleteWordBack,
// deleteWordForward, undo, redo, setText.
void run(LineText &line, const QStringList &steps)
{
    for (const QString &step : steps) {
        const QString name = step.section(u':', 0, 0), argument = step.section(u':', 1);
        if (name == u"type")
            line.type(argument);
        else if (name == u"insert")
            line.insert(argument);
        else if (name == u"select")
            line.setSelection(argument.section(u',', 0, 0).toLongLong(), argument.section(u',', 1).toLongLong());
        else if (name == u"move")
            line.moveCursor(argument.toLongLong(), false);
        else if (name == u"backspace")
            line.backspace();
        else if (name == u"delete")
            line.deleteForward();
        else if (name == u"deleteWordBack")
            line.deleteWordBackward();
        else if (name == u"deleteWordForward")
            line.deleteWordForward();
        else if (name == u"undo")
            line.undo();
        else if (name == u"redo")
            line.redo();
        else if (name == u"setText")
            line.setText(argument);
        else
            qFatal("no step %s", qPrintable(step));
    }
}

} // namespace

void LineTextTest::editing_data()
{
    QTest::addColumn<QString>("start"); // set as the program's text: cursor at its end
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("anchor");

    QTest::newRow("typing at the cursor") << "15" << QStringList{"move:1", "type:0"} << "105" << 2 << 2;
    QTest::newRow("typing replaces the selection") << "1000" << QStringList{"select:0,4", "type:7"} << "7" << 1 << 1;
    QTest::newRow("Backspace takes a whole surrogate pair")
        << "1" + pileOfPoo << QStringList{"backspace"} << "1" << 1 << 1;
    QTest::newRow("Backspace takes a whole surrogate pair at the start")
        << pileOfPoo + "1" << QStringList{"move:2", "backspace"} << "1" << 0 << 0;
    QTest::newRow("Backspace takes an accent alone") << eAcute << QStringList{"backspace"} << "e" << 1 << 1;
    QTest::newRow("Delete takes a letter with its accent")
        << eAcute + "x" << QStringList{"move:0", "delete"} << "x" << 0 << 0;
    QTest::newRow("Delete takes a whole surrogate pair")
        << pileOfPoo + "1" << QStringList{"move:0", "delete"} << "1" << 0 << 0;
    QTest::newRow("Backspace at the start changes nothing")
        << "12" << QStringList{"move:0", "backspace", "undo"} << "12" << 0 << 0;
    QTest::newRow("Backspace takes the selection")
        << "12345" << QStringList{"select:1,3", "backspace"} << "15" << 1 << 1;
    QTest::newRow("word back: the word before the cursor")
        << "12 345" << QStringList{"deleteWordBack"} << "12 " << 3 << 3;
    QTest::newRow("word forward: up to the punctuation")
        << "12, 34" << QStringList{"move:0", "deleteWordForward"} << ", 34" << 0 << 0;

    // Undo: a run of typing is one step; a move, a paste or a deletion
    // starts another.
    QTest::newRow("undo takes back a whole run of typing")
        << "" << QStringList{"type:1", "type:2", "type:3", "undo"} << "" << 0 << 0;
    QTest::newRow("a move ends the run")
        << "" << QStringList{"type:1", "type:2", "move:1", "type:3", "undo"} << "12" << 1 << 1;
    QTest::newRow("Delete after Backspace is a step of its own")
        << "abcd" << QStringList{"move:2", "backspace", "delete", "undo"} << "acd" << 1 << 1;
    QTest::newRow("a run of Backspace is one step")
        << "1234" << QStringList{"backspace", "backspace", "undo"} << "1234" << 4 << 4;
    QTest::newRow("undo brings the selection back")
        << "1000" << QStringList{"select:4,-3", "type:5", "type:5", "undo"} << "1000" << 1 << 4;
    QTest::newRow("undo of a paste") << "12" << QStringList{"insert:345", "undo"} << "12" << 2 << 2;
    QTest::newRow("redo after undo") << "12" << QStringList{"insert:345", "undo", "redo"} << "12345" << 5 << 5;
    QTest::newRow("an edit after undo drops the redo")
        << "12" << QStringList{"insert:3", "undo", "type:9", "redo"} << "129" << 3 << 3;
    // As a line edit's: what is typed after a selection goes, or a word is
    // deleted, is taken back with it; redo ends where the next step began.
    QTest::newRow("typing after deleting a selection, undone")
        << "12 345" << QStringList{"select:3,3", "delete", "type:9", "undo"} << "12 345" << 6 << 3;
    QTest::newRow("typing after deleting a word, undone")
        << "12 345" << QStringList{"deleteWordBack", "type:6", "undo"} << "12 345" << 3 << 6;
    QTest::newRow("redo ends after the first character of the next typing")
        << "" << QStringList{"type:1", "type:2", "move:0", "type:3", "undo", "undo", "redo"} << "12" << 1 << 1;
    QTest::newRow("redo ends on the selection the next step deletes")
        << "12 345" << QStringList{"type:6", "select:0,2", "delete", "undo", "undo", "redo"} << "12 3456" << 2 << 0;
    QTest::newRow("nothing before the program's text")
        << "1" << QStringList{"type:2", "setText:5", "undo"} << "5" << 1 << 1;
    QTest::newRow("undo and redo with nothing to do") << "1" << QStringList{"undo", "redo"} << "1" << 1 << 1;

    const QString long10MB = QString(10'000'000 - 4, u'0') + "1000";
    QTest::newRow("10 MB: Backspace at the end")
        << long10MB << QStringList{"backspace"} << long10MB.chopped(1) << 9'999'999 << 9'999'999;
    QTest::newRow("10 MB: Delete at the start")
        << long10MB << QStringList{"move:0", "delete"} << long10MB.mid(1) << 0 << 0;
    QTest::newRow("10 MB: typing in the middle, undone")
        << long10MB << QStringList{"move:5000000", "type:7", "undo"} << long10MB << 5'000'000 << 5'000'000;
}

void LineTextTest::editing()
{
    QFETCH(QString, start);
    QFETCH(QStringList, steps);
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(int, anchor);
    LineText line;
    line.setText(start);
    run(line, steps);
    QVERIFY(line.text() == text); // QCOMPARE would print megabytes
    QCOMPARE(line.cursor(), cursor);
    QCOMPARE(line.anchor(), anchor);
}

// Moves by character keep clusters whole; moves by word skip a word, or a run
// of punctuation, and the spaces after it.
void LineTextTest::moves_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("to");

    QTest::newRow("next character over an accent") << eAcute + "x" << 0 << "nextCharacter" << 2;
    QTest::newRow("previous character over an accent") << "x" + eAcute << 3 << "previousCharacter" << 1;
    QTest::newRow("previous character over a pair") << "1" + pileOfPoo << 3 << "previousCharacter" << 1;
    QTest::newRow("next character at the end") << "12" << 2 << "nextCharacter" << 2;
    QTest::newRow("next word and its spaces") << "12  345" << 0 << "nextWord" << 4;
    QTest::newRow("next word: a run of punctuation") << "1,,5" << 1 << "nextWord" << 3;
    QTest::newRow("previous word over spaces") << "12  345" << 4 << "previousWord" << 0;
    QTest::newRow("previous word: into the word") << "12 345" << 5 << "previousWord" << 3;
    QTest::newRow("word at a double-click") << "12 345 6" << 4 << "wordAt" << 3;
    QTest::newRow("word at a double-click: its end") << "12 345 6" << 4 << "wordAtEnd" << 6;

    // A word of ten million digits, and a cluster of a thousand accents.
    const QString digits(10'000'000, u'5');
    QTest::newRow("10 MB: next word") << digits << 0 << "nextWord" << 10'000'000;
    QTest::newRow("10 MB: previous character") << digits << 5'000'000 << "previousCharacter" << 4'999'999;
    const QString accents = "a" + QString(1000, QChar(0x301)) + "b";
    QTest::newRow("a cluster longer than a first look") << accents << 0 << "nextCharacter" << 1001;
    QTest::newRow("back over a long cluster") << accents << 1001 << "previousCharacter" << 0;
}

void LineTextTest::moves()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(QString, move);
    QFETCH(int, to);
    LineText line;
    line.setText(text);
    const qsizetype reached = move == u"nextCharacter" ? line.nextCharacter(from)
        : move == u"previousCharacter"                 ? line.previousCharacter(from)
        : move == u"nextWord"                          ? line.nextWord(from)
        : move == u"previousWord"                      ? line.previousWord(from)
        : move == u"wordAt"                            ? line.wordAt(from).first
                                                       : line.wordAt(from).second;
    QCOMPARE(reached, to);
}

QTEST_GUILESS_MAIN(LineTextTest)
#include "test_line_text.moc"
