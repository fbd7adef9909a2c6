#pragma once

#include <QByteArray>
#include <QString>

// Turns a fetched body into text by the rule of its source: UTF-8 for FXark
// and DailyFX, the Chinese code page for the others, whatever the server
// declares (see TextDecoder).
namespace PageDecoder {

QString decode(qint32 sourceId, const QByteArray &body);

} // namespace PageDecoder
