// Feeds arbitrary pages to one source parser. An input holding a NUL byte is
// split there: the bytes before it are the known-items text.
#include "html/HtmlDocument.h"
#include "protocol/SourceId.h"
#include "worker/PageDecoder.h"
#include "worker/SourceParsers.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const qint32 id = SourceId::fromText(QStringLiteral(FUZZ_SOURCE));
    static HtmlDocument document; // reused between passes, as the worker does
    const char *bytes = reinterpret_cast<const char *>(data);
    const void *nul = std::memchr(bytes, 0, size);
    const size_t knownSize = nul ? size_t(static_cast<const char *>(nul) - bytes) : 0;
    const QString known = QString::fromUtf8(bytes, qsizetype(knownSize));
    const size_t pageStart = nul ? knownSize + 1 : 0;
    const QByteArray page(bytes + pageStart, qsizetype(size - pageStart));
    const ParseEvents events = SourceParsers::parse(id, PageDecoder::decode(id, page), known,
                                                    QStringLiteral("http://127.0.0.1/news/list.html"), document);
    // Every pass ends with exactly one Complete or Error, or says nothing at all.
    if (!events.empty() && events.back().kind == ParseEvent::Msg)
        __builtin_trap();
    return 0;
}
