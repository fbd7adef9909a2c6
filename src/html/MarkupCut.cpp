#include "html/MarkupCut.h"

namespace MarkupCut {

std::optional<QString> divByClassMarker(const QString &page, const QString &classMarker)
{
    const qsizetype start = page.indexOf(classMarker);
    if (start < 0)
        return std::nullopt;
    int depth = 1;
    qsizetype p = start;
    const QString div = QStringLiteral("div");
    while (depth > 0) {
        p = page.indexOf(div, p + 3);
        if (p <= 0)
            return std::nullopt;
        const QChar before = page.at(p - 1);
        if (before == u'<')
            ++depth;
        else if (before == u'/')
            --depth;
    }
    return QStringLiteral("<div ") + page.mid(start, p - start) + QStringLiteral("div>");
}

} // namespace MarkupCut
