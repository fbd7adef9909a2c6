#pragma once

#include <QByteArray>

#include <optional>

// Text in the encodings of the outside world, through the C library's iconv.
namespace TextEncoding {

// `data` from one encoding into another; nothing when the encoding is unknown
// or some byte or character does not convert (never a partial result).
std::optional<QByteArray> convert(const QByteArray &data, const QByteArray &from, const QByteArray &to);

// The same, but a character `to` cannot hold is written as an XML character
// reference ("&#128200;"); nothing when an encoding is unknown or `data` is
// not UTF-8. For encodings that hold ASCII as ASCII, from UTF-8.
std::optional<QByteArray> convertWithReferences(const QByteArray &utf8, const QByteArray &to);

// What a file labelled `label` really holds: GB2312 and GBK (and their
// aliases) are read and written as their superset GB18030; other labels stand.
QByteArray superset(const QByteArray &label);

// The encoding an XML declaration at the start of `data` names; empty without one.
QByteArray xmlDeclaredEncoding(const QByteArray &data);

// UTF-8 and the UTF-16/32 forms, which the XML parser reads by itself.
bool isUnicode(const QByteArray &encoding);

} // namespace TextEncoding
