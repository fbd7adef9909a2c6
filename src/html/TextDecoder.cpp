#include "html/TextDecoder.h"

#include <cerrno>
#include <iconv.h>

namespace TextDecoder {

namespace {

const auto invalid = reinterpret_cast<iconv_t>(-1);

bool iconvKnows(const QByteArray &name)
{
    iconv_t converter = iconv_open("UTF-16LE", name.constData());
    if (converter == invalid)
        return false;
    iconv_close(converter);
    return true;
}

} // namespace

QString fromUtf8(const QByteArray &body)
{
    return QString::fromUtf8(body);
}

QString fromGb18030(const QByteArray &body)
{
    return decode(body, QByteArrayLiteral("GB18030"));
}

QByteArray canonicalName(const QByteArray &label)
{
    QByteArray name = label.trimmed();
    while (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front())
        name = name.mid(1, name.size() - 2).trimmed();
    name = name.toUpper();
    if (name.isEmpty() || name.contains('/'))
        return {};
    // What the sites declare is not what they hold: the WHATWG aliases.
    static const std::pair<const char *, const char *> aliases[] = {
        {"GB2312", "GB18030"},       {"GBK", "GB18030"},         {"X-GBK", "GB18030"},
        {"CP936", "GB18030"},        {"WINDOWS-936", "GB18030"}, {"CSGB2312", "GB18030"},
        {"GB_2312-80", "GB18030"},   {"CHINESE", "GB18030"},     {"ISO-IR-58", "GB18030"},
        {"BIG5", "BIG5-HKSCS"},      {"X-X-BIG5", "BIG5-HKSCS"}, {"CN-BIG5", "BIG5-HKSCS"},
        {"ISO-8859-1", "CP1252"},    {"LATIN1", "CP1252"},       {"US-ASCII", "CP1252"},
        {"ASCII", "CP1252"},         {"ISO8859-1", "CP1252"},    {"L1", "CP1252"},
        {"UTF8", "UTF-8"},           {"UNICODE-1-1-UTF-8", "UTF-8"},
        {"X-SJIS", "SHIFT_JIS"},     {"SJIS", "SHIFT_JIS"},      {"WINDOWS-31J", "CP932"},
    };
    for (const auto &[alias, canonical] : aliases) {
        if (name == alias)
            return canonical;
    }
    if (name.startsWith("WINDOWS-125"))
        name = "CP125" + name.mid(11);
    return iconvKnows(name) ? name : QByteArray();
}

QString decode(const QByteArray &body, const QByteArray &name)
{
    if (name == "UTF-8")
        return QString::fromUtf8(body);
    iconv_t converter = iconv_open("UTF-16LE", name.constData());
    if (converter == invalid)
        return QString::fromUtf8(body);

    // No encoding makes more UTF-16 units than bytes, but for the replacement
    // characters of a cut-off end: room for those too.
    QString out(body.size() + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(body.constData());
    size_t inLeft = static_cast<size_t>(body.size());
    auto *target = reinterpret_cast<char *>(out.data());
    size_t outLeft = static_cast<size_t>(out.size()) * 2;
    while (inLeft > 0 && outLeft >= 4) {
        if (iconv(converter, &in, &inLeft, &target, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break;
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
