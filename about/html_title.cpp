#include "about/html_title.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

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
// either end (QString::trimmed would take it away).
QString collapseHtmlWhiteSpace(QString text)
{
    static const QRegularExpression run(QStringLiteral("[ \\t\\n\\f\\r]+"));
    text.replace(run, QStringLiteral(" "));
    if (text.startsWith(u' '))
        text.remove(0, 1);
    if (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

QString htmlDocumentTitle(const QByteArray &body, const QByteArray &contentType)
{
    QStringDecoder decoder = decoderFor(body, contentType);
    DocumentWithoutResources document;
    document.setHtml(decoder.decode(body));
    return collapseHtmlWhiteSpace(document.metaInformation(QTextDocument::DocumentTitle));
}
