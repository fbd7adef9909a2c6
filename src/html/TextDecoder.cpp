#include "html/TextDecoder.h"

#include <cerrno>
#include <iconv.h>

namespace TextDecoder {

QString fromUtf8(const QByteArray &body)
{
    return QString::fromUtf8(body);
}

QString fromGb18030(const QByteArray &body)
{
    iconv_t converter = iconv_open("UTF-16LE", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(body);

    QString out(body.size(), Qt::Uninitialized);
    char *in = const_cast<char *>(body.constData());
    size_t inLeft = static_cast<size_t>(body.size());
    auto *target = reinterpret_cast<char *>(out.data());
    size_t outLeft = static_cast<size_t>(out.size()) * 2;
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &target, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: every byte yields at most one UTF-16 unit
        // An invalid or cut-off sequence: one replacement character, then on
        // with the next byte, as the WHATWG decoder does.
        *reinterpret_cast<char16_t *>(target) = u'\uFFFD';
        target += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    iconv_close(converter);
    out.truncate((reinterpret_cast<QChar *>(target) - out.constData()));
    return out;
}

} // namespace TextDecoder
