// Files and folders that deny reading or writing. Permission bits do not stop
// root, so these run as an unprivileged user (see as_unprivileged_user.sh).
#include "main_window/Form1.h"
#include "core/settings_file.h"
#include "support/files.h"
#include "support/scratch_directory.h"

#include <QFile>
#include <QTest>
#include <unistd.h>

namespace {

constexpr QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions readWrite = readOnly | QFile::WriteOwner;
constexpr QFile::Permissions openFolder = readWrite | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
constexpr QFile::Permissions closedFolder = readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

[[nodiscard]] bool writeFile(const QByteArray &content, QFile::Permissions permissions)
{
    return files::write(content) && QFile::setPermissions("KDM.cfg", permissions);
}

const QByteArray oldFile = "[GENERAL SETTINGS]\r\nUnits=I\r\nLeftPosition=1500\r\nTopPosition=900\r\n";

} // namespace

class SettingsPermissionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init()
    {
        directory_ = std::make_unique<ScratchDirectory>();
        QVERIFY(directory_->isValid());
    }
    void cleanup();

    void readOnlyFileInWritableFolder();
    void writableFileInReadOnlyFolder_data();
    void writableFileInReadOnlyFolder();
    void nothingWritable();
    void noNewFileInReadOnlyFolder();
    void unreadableFileAppliesNothing();

private:
    std::unique_ptr<ScratchDirectory> directory_;
};

void SettingsPermissionsTest::initTestCase()
{
    if (geteuid() == 0)
        QSKIP("permission bits do not stop root");
}

void SettingsPermissionsTest::cleanup()
{
    QFile::setPermissions(directory_->path(), openFolder);
    QFile::setPermissions(directory_->filePath("KDM.cfg"), readWrite);
    directory_.reset();
}

void SettingsPermissionsTest::readOnlyFileInWritableFolder()
{
    QVERIFY(writeFile(oldFile, readOnly));
    {
        Form1 form;
        QCOMPARE(form.unitCode(), QStringLiteral("I"));
        form.show();
        QVERIFY(form.close());
    }
    QCOMPARE(files::read(), oldFile);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{"KDM.cfg"});
}

// No temporary file can be made beside it, so the file is rewritten in place;
// a rewrite that cannot write every byte leaves the old file as it was.
void SettingsPermissionsTest::writableFileInReadOnlyFolder_data()
{
    QTest::addColumn<int>("sizeLimit"); // 0: none
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("rewritten")
        << 0 << oldFile << QByteArray("[GENERAL SETTINGS]\r\nUnits=M\r\nLeftPosition=1500\r\nTopPosition=900\r\n");
    // The old file's first 16 bytes differ from the new ones, so that the
    // bytes written up to the limit show unless the old ones go back.
    const QByteArray blankFirstLine = "\r\n" + oldFile;
    QTest::newRow("file-size limit: old file kept") << 16 << blankFirstLine << blankFirstLine;
}

void SettingsPermissionsTest::writableFileInReadOnlyFolder()
{
    QFETCH(int, sizeLimit);
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, content);
    QVERIFY(writeFile(old, readWrite));
    QVERIFY(QFile::setPermissions(directory_->path(), closedFolder));
    {
        Form1 form;
        form.show();
        QTest::mouseClick(form.findChild<QWidget *>("Option1(2)"), Qt::LeftButton);
        if (sizeLimit)
            files::withFileSizeLimit(sizeLimit, [&form] { return form.close(); });
        else
            QVERIFY(form.close());
    }
    QCOMPARE(files::read(), content);
}

void SettingsPermissionsTest::nothingWritable()
{
    QVERIFY(writeFile(oldFile, readOnly));
    QVERIFY(QFile::setPermissions(directory_->path(), closedFolder));
    QVERIFY(!writeSettingsFile(settingsFilePath(), "new"));
    QCOMPARE(files::read(), oldFile);
}

void SettingsPermissionsTest::noNewFileInReadOnlyFolder()
{
    QVERIFY(QFile::setPermissions(directory_->path(), closedFolder));
    {
        Form1 form;
        form.show();
        QVERIFY(form.close()); // goes on silently
    }
    QVERIFY(!QFile::exists("KDM.cfg"));
}

void SettingsPermissionsTest::unreadableFileAppliesNothing()
{
    QVERIFY(writeFile(oldFile, QFile::WriteOwner));
    Form1 form;
    QCOMPARE(form.unitCode(), QStringLiteral("M"));
    QVERIFY(form.Left() != 1500.f);
}

QTEST_MAIN(SettingsPermissionsTest)
#include "test_settings_permissions.moc"
