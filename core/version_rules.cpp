#include "core/version_rules.h"

#include "core/identity.h"

#include <QTextBoundaryFinder>
#include <array>

namespace version_check {

namespace {

QString host()
{
    return QString::fromLatin1(identity::webHost);
}

QString twoNoBreakSpaces()
{
    return QString(2, QChar(0x00A0));
}

constexpr std::array<char16_t, 4> spinner{u'|', u'/', u'-', u'\\'};

// The frame number (1 to 4) a status shows, or 0 for any other text.
int spinnerFrameOf(const QString &status)
{
    for (int frame = 1; frame <= int(spinner.size()); ++frame) {
        if (status == spinnerFrameText(frame))
            return frame;
    }
    return 0;
}

} // namespace

QString versionFileAddress()
{
    return QStringLiteral("http://www.") + host() + QStringLiteral("/KDM/KDM.ver");
}

QString homePageAddress()
{
    return QStringLiteral("http://") + host() + QStringLiteral("/KDM/index.html");
}

QString connectingText()
{
    return twoNoBreakSpaces() + QStringLiteral("Connecting to ") + host() + twoNoBreakSpaces();
}

QString checkingText()
{
    return twoNoBreakSpaces() + QStringLiteral("Checking for updates on ") + host() + twoNoBreakSpaces();
}

QString spinnerFrameText(int frame)
{
    return QStringLiteral("Checking for updates on ") + host() + u' ' + QChar(spinner.at(std::size_t(frame - 1)));
}

QString currentText()
{
    return QStringLiteral("This version is current!");
}

QString newerAvailableText(const QString &availableVersion)
{
    return QStringLiteral("Version ") + shownTitle(availableVersion) + QStringLiteral(" is available");
}

QString olderOnlineText(const QString &availableVersion)
{
    return QStringLiteral("This is a beta version.  Version online is ") + shownTitle(availableVersion);
}

QString notPublishedText()
{
    return QStringLiteral("No version information available, try again later");
}

QString unreachableText()
{
    return QStringLiteral("Unable to connect to ") + host();
}

QString shownTitle(const QString &title)
{
    constexpr char16_t firstIsolate = 0x2066, firstStrongIsolate = 0x2068, popIsolate = 0x2069;
    QString kept;
    int openIsolates = 0;
    for (const QChar c : title) {
        if (c.category() == QChar::Other_Control)
            continue;
        // An isolate the title opens is closed before ours ends, and one it
        // did not open cannot close ours.
        if (c.unicode() == popIsolate && openIsolates == 0)
            continue;
        if (c.unicode() >= firstIsolate && c.unicode() <= firstStrongIsolate)
            ++openIsolates;
        else if (c.unicode() == popIsolate)
            --openIsolates;
        kept += c;
    }
    const QString shown = shortenedText(kept, ShownTitleLength);
    const bool shortened = shown.size() < kept.size();
    // Isolates opened in the part that is cut off are not closed.
    openIsolates = 0;
    bool plainAscii = true;
    for (const QChar c : shown) {
        if (c.unicode() >= firstIsolate && c.unicode() <= firstStrongIsolate)
            ++openIsolates;
        else if (c.unicode() == popIsolate)
            --openIsolates;
        plainAscii = plainAscii && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    }
    const QString ellipsis = shortened ? QString(QChar(0x2026)) : QString();
    if (plainAscii)
        return shown + ellipsis;
    return QChar(firstStrongIsolate) + shown + QString(openIsolates, QChar(popIsolate)) + ellipsis + QChar(popIsolate);
}

QString shortenedText(const QString &text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype next = graphemes.toNextBoundary(); next != -1 && next <= length; next = graphemes.toNextBoundary())
        end = next;
    return text.first(end);
}

QString advancedSpinnerText(const QString &status)
{
    if (status == checkingText())
        return spinnerFrameText(1);
    if (const int frame = spinnerFrameOf(status))
        return spinnerFrameText(frame % int(spinner.size()) + 1);
    return status;
}

bool isProgressText(const QString &status)
{
    return status == connectingText() || isCheckingPhaseText(status);
}

bool isCheckingPhaseText(const QString &status)
{
    return status == checkingText() || spinnerFrameOf(status) != 0;
}

PageKind classifyTitle(QStringView title)
{
    if (title == CannotDisplayTitle || title == NavigationCanceledTitle)
        return PageKind::Failure;
    if (title == NotFoundTitle)
        return PageKind::NotPublished;
    const int order = compareVersionTexts(title, identity::localVersionText());
    return order == 0 ? PageKind::Current : order > 0 ? PageKind::Newer : PageKind::Older;
}

int compareVersionTexts(QStringView published, QStringView local)
{
    return published.compare(local, Qt::CaseSensitive);
}

} // namespace version_check
