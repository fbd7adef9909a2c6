#include "worker/FeedParser.h"

#include "worker/BodyDecoder.h"
#include "worker/JsonFeedReader.h"
#include "worker/XmlFeedReader.h"

namespace FeedParser {

std::optional<Feed> parse(const QByteArray &body, const QString &contentType, const QString &url,
                          const QDateTime &now, QString *error)
{
    const QString text = BodyDecoder::decode(body, contentType, BodyDecoder::Markup::Xml);
    const qsizetype start = [&] {
        qsizetype at = 0;
        while (at < text.size() && (text.at(at).isSpace() || text.at(at) == QChar(0xFEFF)))
            ++at;
        return at;
    }();
    if (start < text.size() && text.at(start) == u'{')
        return JsonFeedReader::read(text.mid(start).toUtf8(), url, now, error);
    return XmlFeedReader(url, now).read(text.mid(start), error);
}

} // namespace FeedParser
