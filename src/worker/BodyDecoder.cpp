#include "worker/BodyDecoder.h"

#include "html/TextDecoder.h"

#include <QRegularExpression>

namespace BodyDecoder {

namespace {

struct Bom
{
    QByteArray bytes;
    QByteArray name;
};

// UTF-32 before UTF-16: FF FE 00 00 starts both.
const Bom boms[] = {
    {QByteArray("\xEF\xBB\xBF", 3), "UTF-8"},
    {QByteArray("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
    {QByteArray("\x00\x00\xFE\xFF", 4), "UTF-32BE"},
    {QByteArray("\xFF\xFE", 2), "UTF-16LE"},
    {QByteArray("\xFE\xFF", 2), "UTF-16BE"},
};

QByteArray declared(const QByteArray &head, Markup markup)
{
    if (markup == Markup::Xml) {
        static const QRegularExpression declaration(
            QStringLiteral("^\\s*<\\?xml[^>]*?encoding\\s*=\\s*[\"']?([^\"'\\s?>]+)"),
            QRegularExpression::CaseInsensitiveOption);
        return declaration.match(QString::fromLatin1(head)).captured(1).toLatin1();
    }
    static const QRegularExpression meta(QStringLiteral("<meta[^>]+charset\\s*=\\s*[\"']?([^\"'\\s;/>]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return meta.match(QString::fromLatin1(head)).captured(1).toLatin1();
}

// The charset parameter of a Content-Type value; empty without one.
QByteArray charsetOf(const QString &contentType)
{
    static const QRegularExpression charset(QStringLiteral(";\\s*charset\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^;\\s]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return charset.match(contentType).captured(1).toLatin1();
}

} // namespace

QString decode(const QByteArray &body, const QString &contentType, Markup markup)
{
    for (const Bom &bom : boms) {
        if (body.startsWith(bom.bytes))
            return TextDecoder::decode(body.mid(bom.bytes.size()), bom.name);
    }
    // UTF-16 without a mark still starts with "<" as two bytes.
    if (body.startsWith(QByteArray("<\0?\0", 4)) || body.startsWith(QByteArray("<\0!\0", 4)))
        return TextDecoder::decode(body, "UTF-16LE");
    if (body.startsWith(QByteArray("\0<\0?", 4)) || body.startsWith(QByteArray("\0<\0!", 4)))
        return TextDecoder::decode(body, "UTF-16BE");

    for (const QByteArray &label : {charsetOf(contentType), declared(body.left(4096), markup)}) {
        const QByteArray name = TextDecoder::canonicalName(label);
        // A document read as bytes cannot be in an encoding of wide units
        // that has no mark and does not start as one.
        if (!name.isEmpty() && !name.startsWith("UTF-16") && !name.startsWith("UTF-32") && name != "UCS-2")
            return TextDecoder::decode(body, name);
    }
    return TextDecoder::fromUtf8(body);
}

} // namespace BodyDecoder
