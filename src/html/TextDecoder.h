#pragma once

#include <QByteArray>
#include <QString>

// The text of a fetched page. Bytes that do not decode become U+FFFD, as a
// browser shows them; nothing is lost silently and nothing fails.
namespace TextDecoder {

QString fromUtf8(const QByteArray &body);
// The Chinese code page of the sites: GBK, read as its superset GB18030.
QString fromGb18030(const QByteArray &body);

} // namespace TextDecoder
