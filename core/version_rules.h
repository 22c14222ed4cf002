#pragma once

#include <QString>
#include <QStringView>

// The texts and decisions of the online version check, free of any window.
// The status line's text is the check's state, so these texts are compared
// exactly, no-break spaces included.
namespace version_check {

// Titles the browser view gives its own failure pages.
inline constexpr QStringView CannotDisplayTitle = u"Internet Explorer cannot display the webpage";
inline constexpr QStringView NavigationCanceledTitle = u"Navigation Canceled";
inline constexpr QStringView NotFoundTitle = u"HTTP 404 Not Found";

// "http://www." + host + "/KDM/KDM.ver": the published version file.
QString versionFileAddress();
// "http://" + host + "/KDM/index.html": the maker's home page.
QString homePageAddress();

// Progress texts.
QString connectingText();
QString checkingText();
QString spinnerFrameText(int frame); // frames 1 to 4: | / - backslash

// Outcome texts. A published title shows in them as shownTitle gives it.
QString currentText();
QString newerAvailableText(const QString &availableVersion);
QString olderOnlineText(const QString &availableVersion);
QString notPublishedText();
QString unreachableText();

// A document's title as it shows inside the check's own sentence: control
// characters dropped, cut to ShownTitleLength with an ellipsis when longer
// (a title of megabytes would make every repaint slow) and, unless only
// printable ASCII is left, the title isolated from the words around it
// (U+2068 ... U+2069) so that no direction mark in it can reorder them.
inline constexpr qsizetype ShownTitleLength = 128;
QString shownTitle(const QString &title);

// The longest start of `text` of at most `length` UTF-16 code units that
// ends between two user-perceived characters (never inside a surrogate pair
// or between a letter and its accents); the whole text when it fits.
QString shortenedText(const QString &text, qsizetype length);

// The status after one spinner step: the checking text and each frame move to
// the next frame (frame 4 back to frame 1); any other text stays as it is.
QString advancedSpinnerText(const QString &status);

// Connecting, checking or one of the four spinner frames.
bool isProgressText(const QString &status);
// Checking or one of the four spinner frames.
bool isCheckingPhaseText(const QString &status);

// What a loaded document's title says, checked in this order.
enum class PageKind {
    Failure, // the view could not reach the address
    NotPublished, // the server has no version file
    Current, // equal to the local version text
    Newer, // sorts after it
    Older, // sorts before it
};
PageKind classifyTitle(QStringView title);

// Ordinal comparison of UTF-16 code units, case-sensitive; a prefix sorts
// first. Negative, zero or positive like strcmp.
int compareVersionTexts(QStringView published, QStringView local);

} // namespace version_check
