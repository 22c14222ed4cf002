// The settings file's format, lookup and replacement, without any window.
#include "core/settings_file.h"
#include "support/files.h"
#include "support/german_locale.h"
#include "support/scratch_directory.h"

#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#ifdef Q_OS_UNIX
#include <cstring>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void generalSettings_data();
    void generalSettings();
    void formatPosition_data();
    void formatPosition();
    void formatPositionIgnoresTheLocale();
    void positionFromText_data();
    void positionFromText();
    void fileExists();
    void contentIsFourLines();
    void writeReplacesTheWholeFile();
    void writeLeavesNoTemporaryFiles();
#ifdef Q_OS_UNIX
    // FIFOs, sockets, tmpfs, file-size limits and /proc are Linux's own.
    void writeLeavesWhatIsNotAFile_data();
    void writeLeavesWhatIsNotAFile();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void writeWhereNothingCanBeCreated();
#endif
    void writeLeavesFileWithoutWritePermission();
    void readingIsBounded();
    void lineCutByTheReadCap_data();
    void lineCutByTheReadCap();
    void readingDirectoryGivesNothing();
    void pathFollowsTheWorkingDirectory();
};

void SettingsFileTest::generalSettings_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("entries"); // "key|value"

    QTest::newRow("written file") << QByteArray("[GENERAL SETTINGS]\r\nUnits=IM\r\nLeftPosition=1500\r\nTopPosition=900\r\n")
                                  << QStringList{"Units|IM", "LeftPosition|1500", "TopPosition|900"};
    QTest::newRow("bare CR ends lines") << QByteArray("[GENERAL SETTINGS]\rUnits=I\rTopPosition=9") << QStringList{"Units|I", "TopPosition|9"};
    QTest::newRow("last line without end") << QByteArray("[GENERAL SETTINGS]\r\nUnits=MI") << QStringList{"Units|MI"};
    QTest::newRow("LF only: one line") << QByteArray("[GENERAL SETTINGS]\nUnits=IM\nLeftPosition=1500\n") << QStringList{};
    QTest::newRow("LF inside a line stays in it") << QByteArray("[GENERAL SETTINGS]\r\nLeftPosition=15\n00\r\n")
                                                  << QStringList{"LeftPosition|15\n00"};
    QTest::newRow("CR CR is an empty line") << QByteArray("[GENERAL SETTINGS]\r\rUnits=I\r") << QStringList{"Units|I"};
    QTest::newRow("lines before the header") << QByteArray("Units=I\r\n[GENERAL SETTINGS]\r\nUnits=M\r\n") << QStringList{"Units|M"};
    QTest::newRow("header in another case") << QByteArray("[General Settings]\r\nUnits=I\r\n") << QStringList{};
    QTest::newRow("header with blanks") << QByteArray(" [GENERAL SETTINGS]\r\nUnits=I\r\n") << QStringList{};
    QTest::newRow("section never reset") << QByteArray("[GENERAL SETTINGS]\r\n[OTHER]\r\nUnits=I\r\n")
                                         << QStringList{"Units|I"};
    QTest::newRow("no trimming") << QByteArray("[GENERAL SETTINGS]\r\nUnits = IM \r\n") << QStringList{"Units | IM "};
    QTest::newRow("first = splits") << QByteArray("[GENERAL SETTINGS]\r\nUnits=M=1\r\n") << QStringList{"Units|M=1"};
    QTest::newRow("line without =") << QByteArray("[GENERAL SETTINGS]\r\n\r\nUnits\r\nUnits=I\r\n") << QStringList{"Units|I"};
    QTest::newRow("empty key and value") << QByteArray("[GENERAL SETTINGS]\r\n=\r\n") << QStringList{"|"};
    QTest::newRow("NUL bytes kept") << QByteArray("[GENERAL SETTINGS]\r\nUnits=I\0M\r\n", 29) << QStringList{QString("Units|I") + QChar(0) + "M"};
    QTest::newRow("bytes above 127") << QByteArray("[GENERAL SETTINGS]\r\nUnits=\xff\xfe\r\n") << QStringList{"Units|\u00ff\u00fe"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void SettingsFileTest::generalSettings()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, entries);
    QStringList actual;
    for (const SettingsEntry &entry : ::generalSettings(content))
        actual << entry.key + '|' + entry.value;
    QCOMPARE(actual, entries);
}

void SettingsFileTest::formatPosition_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole") << 1500.f << "1500";
    QTest::newRow("negative") << -120.f << "-120";
    QTest::newRow("half") << 7147.5f << "7147.5";
    QTest::newRow("zero") << 0.f << "0";
    QTest::newRow("negative zero") << -0.f << "0";
    QTest::newRow("seven digits") << 1234567.f << "1234567";
    QTest::newRow("eight digits") << 12345678.f << "1.234568E+07";
    QTest::newRow("fraction of seven digits") << 123456.7f << "123456.7";
    QTest::newRow("single precision shown short") << 0.1f << "0.1";
    QTest::newRow("small") << 0.00001f << "1E-05";
    QTest::newRow("largest float") << 3.4028235e38f << "3.402823E+38";
}

void SettingsFileTest::formatPosition()
{
    QFETCH(float, twips);
    QFETCH(QString, text);
    QCOMPARE(::formatPosition(twips), text);
}

void SettingsFileTest::formatPositionIgnoresTheLocale()
{
    const GermanLocale german;
    QVERIFY2(german.isSet(), "the locale de_DE.UTF-8 is missing");
    QCOMPARE(::formatPosition(7147.5f), QStringLiteral("7147.5"));
    QCOMPARE(settingsFileContent("MI", -7.5f, 12345678.f),
             QByteArray("[GENERAL SETTINGS]\r\nUnits=MI\r\nLeftPosition=-7.5\r\nTopPosition=1.234568E+07\r\n"));
}

void SettingsFileTest::positionFromText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<float>("twips");

    QTest::newRow("whole") << "1500" << true << 1500.f;
    QTest::newRow("leading blank") << " 1500" << true << 1500.f;
    QTest::newRow("unit after") << "1500px" << true << 1500.f;
    QTest::newRow("letters") << "abc" << true << 0.f;
    QTest::newRow("empty") << "" << true << 0.f;
    QTest::newRow("fraction") << "7147.5" << true << 7147.5f;
    QTest::newRow("negative, off screen") << "-120" << true << -120.f;
    QTest::newRow("single precision") << "0.1" << true << 0.1f;
    QTest::newRow("farthest placeable") << "491505" << true << 491505.f;
    QTest::newRow("farthest placeable, negative") << "-491505" << true << -491505.f;
    QTest::newRow("beyond the window system") << "491506" << false << 0.f;
    QTest::newRow("beyond the window system, negative") << "-1E30" << false << 0.f;
    QTest::newRow("beyond single precision") << "1E300" << false << 0.f;
    QTest::newRow("infinite") << "1E999" << false << 0.f;
    QTest::newRow("infinite, negative") << "-1E999" << false << 0.f;
}

void SettingsFileTest::positionFromText()
{
    QFETCH(QString, value);
    QFETCH(bool, applied);
    QFETCH(float, twips);
    const std::optional<float> position = ::positionFromText(value);
    QCOMPARE(position.has_value(), applied);
    if (applied)
        QCOMPARE(*position, twips);
}

void SettingsFileTest::fileExists()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QVERIFY(files::write("x"));
    QVERIFY(files::write("x", ".hidden"));
#ifdef Q_OS_WIN
    // Hidden by its attribute on Windows, by its name elsewhere.
    QVERIFY(SetFileAttributesW(L".hidden", FILE_ATTRIBUTE_HIDDEN));
#endif
    QVERIFY(QDir().mkdir("folder"));

    QVERIFY(FileExists(directory.filePath("KDM.cfg"), 0));
    QVERIFY(!FileExists(directory.filePath("missing"), 0));
    QVERIFY(!FileExists(directory.filePath("folder"), 0));
    QVERIFY(FileExists(directory.filePath("folder"), DirectoryAttribute));
    QVERIFY(!FileExists(directory.filePath(".hidden"), 0));
    QVERIFY(FileExists(directory.filePath(".hidden"), HiddenAttribute));
#ifdef Q_OS_UNIX
    // Symbolic links and FIFOs as Linux has them.
    QVERIFY(QFile::link("KDM.cfg", "link-to-file"));
    QVERIFY(QFile::link("missing", "dangling-link"));
    QCOMPARE(mkfifo("pipe", 0600), 0);
    QVERIFY(FileExists(directory.filePath("link-to-file"), 0));
    QVERIFY(!FileExists(directory.filePath("dangling-link"), 0));
    QVERIFY(!FileExists(directory.filePath("pipe"), 0));
    QVERIFY(!FileExists("/dev/null", 0));
#endif
}

void SettingsFileTest::contentIsFourLines()
{
    QCOMPARE(settingsFileContent("IM", 1500.f, 900.f),
             QByteArray("[GENERAL SETTINGS]\r\nUnits=IM\r\nLeftPosition=1500\r\nTopPosition=900\r\n"));
}

void SettingsFileTest::writeReplacesTheWholeFile()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QVERIFY(files::write(QByteArray(5000, 'x')));
    QVERIFY(writeSettingsFile(settingsFilePath(), "[GENERAL SETTINGS]\r\nUnits=M\r\n"));
    QCOMPARE(files::read(), QByteArray("[GENERAL SETTINGS]\r\nUnits=M\r\n"));
}

void SettingsFileTest::writeLeavesNoTemporaryFiles()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QVERIFY(writeSettingsFile(settingsFilePath(), "a"));
    QVERIFY(writeSettingsFile(settingsFilePath(), "b"));
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"KDM.cfg"});
}

#ifdef Q_OS_UNIX
// Only an ordinary file is read at start-up, so nothing else of that name is
// replaced at close.
void SettingsFileTest::writeLeavesWhatIsNotAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("directory") << "directory";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("socket") << "socket";
    QTest::newRow("link to a FIFO") << "link";
}

void SettingsFileTest::writeLeavesWhatIsNotAFile()
{
    QFETCH(QString, kind);
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    if (kind == "directory") {
        QVERIFY(QDir().mkdir("KDM.cfg"));
        QVERIFY(files::write("kept", "KDM.cfg/inside"));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo("KDM.cfg", 0600), 0);
    } else if (kind == "socket") {
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, "KDM.cfg");
        QCOMPARE(bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(socket);
    } else {
        QCOMPARE(mkfifo("pipe", 0600), 0);
        QVERIFY(QFile::link("pipe", "KDM.cfg"));
    }
    struct stat before {}, after {};
    QCOMPARE(lstat("KDM.cfg", &before), 0);

    QVERIFY(!writeSettingsFile(settingsFilePath(), "new"));
    QCOMPARE(lstat("KDM.cfg", &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_ino, before.st_ino);
    if (kind == "directory")
        QCOMPARE(files::read("KDM.cfg/inside"), QByteArray("kept"));
}

// A save that cannot write every byte leaves the old file as it was, byte for
// byte, and says so: over a temporary file, and rewriting the file in place
// where no temporary file can be made.
void SettingsFileTest::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("mountOptions"); // empty: no file system of its own
    QTest::addColumn<int>("sizeLimit"); // 0: none

    QTest::newRow("file-size limit") << "" << 16;
    QTest::newRow("full file system") << "size=4k" << 0;
    QTest::newRow("full file system, no room for a temporary file: in place") << "size=4k,nr_inodes=3" << 0;
}

void SettingsFileTest::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, mountOptions);
    QFETCH(int, sizeLimit);
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    const QByteArray oldFile = "[GENERAL SETTINGS]\r\nUnits=IM\r\nLeftPosition=1500\r\nTopPosition=900\r\n";
    // Longer than the old file's one page, so that in place it needs room too.
    const QByteArray newFile = QByteArray(5000, 'n');

    auto unmount = qScopeGuard([&] {
        if (!mountOptions.isEmpty())
            umount2(qPrintable(directory.path()), MNT_DETACH);
    });
    if (!mountOptions.isEmpty()) {
        if (geteuid() != 0)
            QSKIP("mounting a file system needs root");
        if (mount("tmpfs", qPrintable(directory.path()), "tmpfs", 0, qPrintable(mountOptions)) != 0)
            QSKIP("a file system cannot be mounted here");
        QVERIFY(QDir::setCurrent(directory.path())); // into the new file system
    }
    QVERIFY(files::write(oldFile));
    if (!mountOptions.isEmpty()) {
        QFile filler("filler");
        if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            while (filler.write(QByteArray(512, 'f')) == 512) {
            }
        }
    }
    const QStringList entries = QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const bool written = sizeLimit ? files::withFileSizeLimit(sizeLimit, [&] { return writeSettingsFile(settingsFilePath(), newFile); })
                                   : writeSettingsFile(settingsFilePath(), newFile);
    QVERIFY(!written);
    QCOMPARE(files::read(), oldFile);
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
}

// A directory under /proc takes no new file, not even from root.
void SettingsFileTest::writeWhereNothingCanBeCreated()
{
    QVERIFY(!writeSettingsFile("/proc/self/KDM.cfg", "new"));
    QVERIFY(!QFileInfo::exists("/proc/self/KDM.cfg"));
}
#endif

// Held even for root, whom permission bits do not stop.
void SettingsFileTest::writeLeavesFileWithoutWritePermission()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QVERIFY(files::write("old"));
    QVERIFY(QFile::setPermissions("KDM.cfg", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(!writeSettingsFile(settingsFilePath(), "new"));
    QCOMPARE(files::read(), QByteArray("old"));
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{"KDM.cfg"});
}

void SettingsFileTest::readingIsBounded()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QByteArray noise(10 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(1234);
    generator.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QVERIFY(files::write(noise));
    const QByteArray read = readSettingsFile(settingsFilePath());
    QVERIFY(read.size() <= SettingsReadLimit);
    QVERIFY(read.endsWith('\r'));
    QVERIFY(noise.startsWith(read));
    ::generalSettings(read); // any bytes at all can be read
}

// A line that runs on beyond the read cap is cut: it counts only when it ends
// within the cap or is the file's true last line.
void SettingsFileTest::lineCutByTheReadCap_data()
{
    QTest::addColumn<QByteArray>("line"); // placed to end at the cap
    QTest::addColumn<QByteArray>("after"); // what follows beyond the cap
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("Units=IM cut after I") << QByteArray("Units=I") << QByteArray("M\r\n") << QStringList{};
    QTest::newRow("LeftPosition=15000 cut after 15") << QByteArray("LeftPosition=15") << QByteArray("000\r\n") << QStringList{};
    QTest::newRow("line ends at the cap, LF beyond") << QByteArray("Units=IM\r") << QByteArray("\nUnits=M\r\n")
                                                      << QStringList{"Units|IM"};
    QTest::newRow("true last line at the cap") << QByteArray("Units=IM") << QByteArray() << QStringList{"Units|IM"};
}

void SettingsFileTest::lineCutByTheReadCap()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, entries);
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QByteArray content = "[GENERAL SETTINGS]\r\nUnits=MI\r\n";
    content += QByteArray(SettingsReadLimit - content.size() - line.size() - 2, '-') + "\r\n" + line;
    QCOMPARE(content.size(), SettingsReadLimit);
    QVERIFY(files::write(content + after));

    QStringList actual;
    for (const SettingsEntry &entry : ::generalSettings(readSettingsFile(settingsFilePath())))
        actual << entry.key + '|' + entry.value;
    QCOMPARE(actual, QStringList{"Units|MI"} + entries);
}

void SettingsFileTest::readingDirectoryGivesNothing()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    QVERIFY(QDir().mkdir("KDM.cfg"));
    QCOMPARE(readSettingsFile(settingsFilePath()), QByteArray());
}

void SettingsFileTest::pathFollowsTheWorkingDirectory()
{
    ScratchDirectory first;
    QVERIFY(first.isValid());
    QCOMPARE(settingsFilePath(), first.path() + "/KDM.cfg");
    ScratchDirectory second;
    QVERIFY(second.isValid());
    QCOMPARE(settingsFilePath(), second.path() + "/KDM.cfg");

#ifdef Q_OS_UNIX // Windows removes no working directory
    // A removed working directory leaves no settings file, not one in "/".
    QVERIFY(QDir().mkdir("gone"));
    QVERIFY(QDir::setCurrent("gone"));
    QVERIFY(QDir(second.path()).rmdir("gone"));
    QCOMPARE(settingsFilePath(), QString());
    QVERIFY(!writeSettingsFile(settingsFilePath(), "new"));
    QCOMPARE(readSettingsFile(settingsFilePath()), QByteArray());
#endif
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
