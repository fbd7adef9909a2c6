#pragma once

#include <QByteArray>
#include <QString>

// The text of a fetched feed or page, in the encoding it says it has: the
// byte-order mark first, then the charset of the HTTP Content-Type, then the
// document's own declaration (the XML declaration, or an HTML meta charset),
// then UTF-8. A label nobody knows is passed over for the next one.
namespace BodyDecoder {

enum class Markup { Xml, Html };

QString decode(const QByteArray &body, const QString &contentType, Markup markup);

} // namespace BodyDecoder
