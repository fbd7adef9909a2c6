#pragma once

#include <QByteArray>
#include <QString>

// The text of a fetched page. Bytes that do not decode become U+FFFD, as a
// browser shows them; nothing is lost silently and nothing fails.
namespace TextDecoder {

QString fromUtf8(const QByteArray &body);
// The Chinese code page of the sites: GBK, read as its superset GB18030.
QString fromGb18030(const QByteArray &body);

// The iconv name for an encoding label as pages and feeds write it (quoted,
// in any case, with the aliases browsers know: GB2312 and GBK are read as
// GB18030, Big5 as Big5-HKSCS, Latin-1 as Windows-1252); empty when iconv
// does not know it.
QByteArray canonicalName(const QByteArray &label);
// `body` in the encoding `name` (a canonicalName()).
QString decode(const QByteArray &body, const QByteArray &name);

} // namespace TextDecoder
