#include "about/html_title.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>
#include <optional>

namespace {

// Qt's HTML reader, minus its habit of reading the local files that a style
// sheet link or import names: a page from the network must not make the
// program open, say, a device file of its choosing.
class DocumentWithoutResources : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl &) override { return {}; }
};

QStringDecoder decoderFor(const QByteArray &body, const QByteArray &contentType)
{
    static const QRegularExpression charset(QStringLiteral(R"(;\s*charset\s*=\s*"?([^";\s]+))"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = charset.match(QString::fromLatin1(contentType));
    if (match.hasMatch()) {
        QStringDecoder named(match.captured(1).toLatin1().constData());
        if (named.isValid())
            return named;
    }
    QStringDecoder sniffed = QStringDecoder::decoderForHtml(body);
    return sniffed.isValid() ? std::move(sniffed) : QStringDecoder(QStringDecoder::Utf8);
}

// HTML's white space is the ASCII kind only: a no-break space stays, also at
// either end (QString::trimmed would take it away). A plain loop, since a
// regular expression matches nothing in a title with a lone surrogate.
QString collapseHtmlWhiteSpace(const QString &text)
{
    const auto isWhiteSpace = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
    };
    QString collapsed;
    collapsed.reserve(text.size());
    bool pendingBlank = false;
    for (const QChar c : text) {
        if (isWhiteSpace(c)) {
            pendingBlank = !collapsed.isEmpty();
            continue;
        }
        if (pendingBlank)
            collapsed += u' ';
        pendingBlank = false;
        collapsed += c;
    }
    return collapsed;
}

// Where the start tag `<name ...>` that begins at `from` ends, or -1 when
// what begins there is not that tag.
qsizetype endOfStartTag(const QString &html, qsizetype from, QLatin1StringView name)
{
    const qsizetype after = from + 1 + name.size();
    if (QStringView(html).mid(from + 1, name.size()).compare(name, Qt::CaseInsensitive) != 0 || after >= html.size())
        return -1;
    const QChar next = html.at(after);
    if (next != u'>' && next != u'/' && !QStringLiteral(" \t\n\f\r").contains(next))
        return -1;
    QChar quote;
    for (qsizetype at = after; at < html.size(); ++at) {
        const QChar c = html.at(at);
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (c == u'"' || c == u'\'')
            quote = c;
        else if (c == u'>')
            return at + 1;
    }
    return html.size();
}

// The text of the first title element, as written (entities not decoded),
// or nothing. Comments and the raw text of scripts and style sheets hide
// what looks like a title inside them.
std::optional<QString> rawTitleText(const QString &html)
{
    static const QLatin1StringView rawTextElements[] = {QLatin1StringView("script"), QLatin1StringView("style")};
    qsizetype at = 0;
    while ((at = html.indexOf(u'<', at)) >= 0) {
        if (QStringView(html).mid(at, 4) == u"<!--") {
            const qsizetype end = html.indexOf(QLatin1StringView("-->"), at + 4);
            at = end < 0 ? html.size() : end + 3;
            continue;
        }
        if (const qsizetype content = endOfStartTag(html, at, QLatin1StringView("title")); content >= 0) {
            // Text, not markup, up to the first end tag; to the end without one.
            const qsizetype end = html.indexOf(QLatin1StringView("</title"), content, Qt::CaseInsensitive);
            return html.mid(content, end < 0 ? -1 : end - content);
        }
        bool skipped = false;
        for (QLatin1StringView element : rawTextElements) {
            if (const qsizetype content = endOfStartTag(html, at, element); content >= 0) {
                const qsizetype end = html.indexOf(QLatin1StringView("</") + element, content, Qt::CaseInsensitive);
                at = end < 0 ? html.size() : end + 2;
                skipped = true;
                break;
            }
        }
        if (!skipped)
            ++at;
    }
    return std::nullopt;
}

// Entities decoded by Qt's HTML reader, with every '<' escaped first so
// that nothing in the text is read as markup.
QString decodeEntities(const QString &text)
{
    DocumentWithoutResources document;
    document.setHtml(QStringLiteral("<html><head><title>") + QString(text).replace(u'<', QStringLiteral("&lt;"))
                     + QStringLiteral("</title></head></html>"));
    return document.metaInformation(QTextDocument::DocumentTitle);
}

} // namespace

QString htmlDocumentTitle(const QByteArray &body, const QByteArray &contentType)
{
    QStringDecoder decoder = decoderFor(body, contentType);
    const std::optional<QString> title = rawTitleText(decoder.decode(body));
    return title ? collapseHtmlWhiteSpace(decodeEntities(*title)) : QString();
}
