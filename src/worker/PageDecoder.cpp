#include "worker/PageDecoder.h"

#include "html/TextDecoder.h"
#include "protocol/SourceId.h"

namespace PageDecoder {

QString decode(qint32 sourceId, const QByteArray &body)
{
    return SourceId::isUtf8(sourceId) ? TextDecoder::fromUtf8(body) : TextDecoder::fromGb18030(body);
}

} // namespace PageDecoder
