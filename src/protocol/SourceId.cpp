#include "protocol/SourceId.h"

#include <array>

namespace SourceId {

namespace {

constexpr std::array<const char *, 6> names{"FXark", "FX168", "FX678", "DailyFX", "HeXun", "CaiXun"};
constexpr std::array<const char *, 6> icons{"FXask.gif", "FX168.gif", "FX678.gif", "Dailyfx.gif", "hexun.gif", "CaiXun.gif"};

} // namespace

bool isSource(qint32 id)
{
    return id >= s_FXark && id <= s_CaiXun;
}

QString name(qint32 id)
{
    return isSource(id) ? QString::fromLatin1(names[static_cast<size_t>(id - s_FXark)]) : QString();
}

qint32 fromText(const QString &text)
{
    bool isNumber = false;
    const qint32 number = text.toInt(&isNumber);
    if (isNumber)
        return isSource(number) ? number : 0;
    for (qint32 id = s_FXark; id <= s_CaiXun; ++id) {
        if (name(id).compare(text, Qt::CaseInsensitive) == 0)
            return id;
    }
    return 0;
}

QString pageKind(const QString &text)
{
    for (const char *kind : names) {
        if (text.compare(QLatin1String(kind), Qt::CaseInsensitive) == 0)
            return QLatin1String(kind);
    }
    return {};
}

bool isUtf8(const QString &kind)
{
    return kind == name(s_FXark) || kind == name(s_Dailyfx);
}

QString icon(const QString &kind)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (kind == QLatin1String(names[i]))
            return QLatin1String(icons[i]);
    }
    return QStringLiteral("new.gif");
}

} // namespace SourceId
