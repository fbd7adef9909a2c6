#pragma once

#include <QByteArray>
#include <QString>

// Turns a fetched body into text by the rule of its kind of page: UTF-8 for
// FXark and DailyFX, the Chinese code page for the others, whatever the server
// declares (see TextDecoder).
namespace PageDecoder {

QString decode(const QString &kind, const QByteArray &body);

} // namespace PageDecoder
