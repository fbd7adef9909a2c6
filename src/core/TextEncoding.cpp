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
