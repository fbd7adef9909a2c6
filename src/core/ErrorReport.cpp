#include "core/ErrorReport.h"

#include <QLocale>

namespace ErrorReport {

QString balloonTitle()
{
    return QStringLiteral("运行错误");
}

QString erraddText(int errRow, const QString &description, const QString &module, const QDateTime &now)
{
    return QStringLiteral("模块: [ ") + module + QStringLiteral(" ] 错误发生在 ") + QString::number(errRow)
        + QStringLiteral(" 行 , 错误描述: ") + description + QStringLiteral("\r\n 时间: ")
        + QLocale::system().toString(now, QLocale::ShortFormat);
}

QString balloonText(int location, int errorNumber, const QString &description)
{
    return QStringLiteral("发生错码在第#") + QString::number(location) + QStringLiteral("行\r\n错误码:#")
        + QString::number(errorNumber) + QStringLiteral(" 描述:") + description;
}

QString balloonTextWithModule(const QString &module, int location, const QString &description)
{
    return QStringLiteral("发生模块【") + module + QStringLiteral("】错误码在第#") + QString::number(location)
        + QStringLiteral("行\r\n错误码:#") + description;
}

} // namespace ErrorReport
