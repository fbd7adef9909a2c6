#pragma once

#include <QByteArray>
#include <QString>

// Turns a fetched body into text by the rule of its source: UTF-8 for FXark
// and DailyFX, the Chinese code page (GBK, read as its superset GB18030) for
// the others, whatever the server declares. Bytes that do not decode become
// U+FFFD.
namespace PageDecoder {

QString decode(qint32 sourceId, const QByteArray &body);
QString fromUtf8(const QByteArray &body);
QString fromGb18030(const QByteArray &body);

} // namespace PageDecoder
