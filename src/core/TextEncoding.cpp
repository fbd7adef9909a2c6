#include "core/TextEncoding.h"

#include <QRegularExpression>

#include <cerrno>
#include <iconv.h>

namespace TextEncoding {

std::optional<QByteArray> convert(const QByteArray &data, const QByteArray &from, const QByteArray &to)
{
    const iconv_t cd = iconv_open(to.constData(), from.constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out(data.size() * 4 + 16, Qt::Uninitialized);
    char *in = const_cast<char *>(data.constData());
    size_t inLeft = static_cast<size_t>(data.size());
    char *target = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &target, &outLeft) != static_cast<size_t>(-1))
            continue;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        const qsizetype used = target - out.data();
        out.resize(out.size() * 2);
        target = out.data() + used;
        outLeft = static_cast<size_t>(out.size() - used);
    }
    // The end of the input: a stateful encoding returns to its initial shift state.
    if (ok && iconv(cd, nullptr, nullptr, &target, &outLeft) == static_cast<size_t>(-1))
        ok = false;
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.resize(target - out.data());
    return out;
}

std::optional<QByteArray> convertWithReferences(const QByteArray &utf8, const QByteArray &to)
{
    const iconv_t cd = iconv_open(to.constData(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out;
    out.reserve(utf8.size() + 16);
    char buffer[4096];
    char *in = const_cast<char *>(utf8.constData());
    size_t inLeft = static_cast<size_t>(utf8.size());
    bool ok = true;
    while (ok && inLeft > 0) {
        char *target = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &target, &outLeft);
        out.append(buffer, target - buffer);
        if (done != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        // A character the target lacks: its code point as a reference.
        const auto lead = static_cast<unsigned char>(*in);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (errno != EILSEQ || length == 0 || length > inLeft) {
            ok = false;
            break;
        }
        const QString character = QString::fromUtf8(in, static_cast<qsizetype>(length));
        const QList<uint> codes = character.toUcs4();
        if (codes.size() != 1 || codes.front() == 0xFFFD) {
            ok = false;
            break;
        }
        out += "&#" + QByteArray::number(codes.front()) + ';';
        in += length;
        inLeft -= length;
    }
    char *target = buffer;
    size_t outLeft = sizeof buffer;
    if (ok && iconv(cd, nullptr, nullptr, &target, &outLeft) != static_cast<size_t>(-1))
        out.append(buffer, target - buffer);
    else
        ok = false;
    iconv_close(cd);
    return ok ? std::optional<QByteArray>(out) : std::nullopt;
}

QByteArray superset(const QByteArray &label)
{
    const QByteArray name = label.toUpper();
    static const char *const chinese[] = {"GB2312", "GBK", "X-GBK", "CP936", "MS936", "WINDOWS-936", "EUC-CN",
                                          "CSGB2312", "GB_2312-80", "CHINESE", "ISO-IR-58"};
    for (const char *alias : chinese) {
        if (name == alias)
            return QByteArrayLiteral("GB18030");
    }
    return label;
}

QByteArray xmlDeclaredEncoding(const QByteArray &data)
{
    static const QRegularExpression declaration(
        QStringLiteral("^\\s*<\\?xml\\s[^?>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._:-]+)[\"']"));
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(data.left(256)));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

bool isUnicode(const QByteArray &encoding)
{
    const QByteArray name = encoding.toUpper().replace('-', "").replace('_', "");
    return name.isEmpty() || name == "UTF8" || name.startsWith("UTF16") || name.startsWith("UTF32") || name == "UCS2"
        || name == "UCS4";
}

} // namespace TextEncoding
