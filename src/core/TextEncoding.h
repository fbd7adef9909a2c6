#pragma once

#include <QByteArray>

#include <optional>

// Text in the encodings of the outside world, through the C library's iconv.
namespace TextEncoding {

// `data` from one encoding into another; nothing when the encoding is unknown
// or some byte or character does not convert (never a partial result).
std::optional<QByteArray> convert(const QByteArray &data, const QByteArray &from, const QByteArray &to);

// The encoding an XML declaration at the start of `data` names; empty without one.
QByteArray xmlDeclaredEncoding(const QByteArray &data);

// UTF-8 and the UTF-16/32 forms, which the XML parser reads by itself.
bool isUnicode(const QByteArray &encoding);

} // namespace TextEncoding
