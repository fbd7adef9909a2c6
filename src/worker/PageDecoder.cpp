#include "worker/PageDecoder.h"

#include "html/TextDecoder.h"
#include "protocol/SourceId.h"

namespace PageDecoder {

QString decode(const QString &kind, const QByteArray &body)
{
    return SourceId::isUtf8(kind) ? TextDecoder::fromUtf8(body) : TextDecoder::fromGb18030(body);
}

} // namespace PageDecoder
