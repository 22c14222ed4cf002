#pragma once

#include <QDialog>
#include <array>
#include <memory>

class Announcer;
class LinkLabel;
class QLabel;
class QTimer;
class StillButton;
class VersionCheck;
class WebBrowser;

// The About window: what the utility is and which version runs, its warnings
// and credits, a link to the maker's home page, and the online version check,
// which starts by itself whenever the window is created and ends with it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    // Closing (CLOSE, Enter, Esc or the close box) also ends the version
    // check wherever it stands.
    void done(int result) override;

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void Form_MouseMove();
    void Label1_MouseMove();
    void Label1_Click();
    // After each step of the version check: the status line's text may
    // have changed.
    void statusChanged();
    void announceOutcome();

    QTimer *Timer1 = nullptr;
    StillButton *cmdOK = nullptr;
    WebBrowser *WebBrowser1 = nullptr;
    QLabel *TimerCounter = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *CheckVersion = nullptr;
    std::array<QLabel *, 2> Label2{};
    LinkLabel *Label1 = nullptr;
    QLabel *Image1 = nullptr;
    std::array<QWidget *, 2> Line1{};
    QLabel *lblDescription = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDisclaimer = nullptr;

    std::unique_ptr<VersionCheck> versionCheck_;
    // Speaks the version check's outcome, which arrives while the focus
    // rests on CLOSE.
    Announcer *outcomeAnnouncer_ = nullptr;
    QString announcedOutcome_;
};
