#pragma once

#include <QByteArray>
#include <QString>

// The title of an HTML document as a browser gives it: the text of its first
// title element (markup in it is text), entities decoded, runs of white
// space collapsed to one blank and trimmed; empty when the document has none. `contentType` is the Content-Type header, whose charset, when Qt
// knows it, decides how the bytes are read; otherwise a byte order mark or
// the document's own meta charset does, and UTF-8 when there is neither.
// Nothing the document refers to (style sheets, pictures) is ever loaded.
QString htmlDocumentTitle(const QByteArray &body, const QByteArray &contentType);
