#include "app/CalendarExportCommand.h"

#include "calendar/CalendarBook.h"
#include "calendar/CalendarExport.h"
#include "calendar/CalendarWeekStore.h"
#include "core/ProgramData.h"
#include "core/StderrMessageSink.h"
#include "core/cls_Config.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

int fail(const QString &message, int code = 1)
{
    std::fputs((QStringLiteral("tavrin: ") + message + u'\n').toUtf8().constData(), stderr);
    return code;
}

} // namespace

int runCalendarExport(const QStringList &arguments, const QString &executablePath)
{
    if (arguments.size() != 2 || arguments.at(1).isEmpty())
        return fail(QStringLiteral("usage: tavrin --export-calendar FILE.ics"), 2);
    // The data folder the program would use, read as it stands: nothing is seeded or locked.
    const QString folder = ProgramData::dataFolder(QFileInfo(executablePath).absolutePath() + QDir::separator());
    cls_Config config(&StderrMessageSink::instance());
    config.setXmlFile(folder + QStringLiteral("tavrin.xml"));
    if (!QFileInfo::exists(config.XmlFile()))
        return fail(QStringLiteral("配置文件tavrin.xml 文件不存在!"));
    if (!config.Initialize())
        return 1;
    const CalendarWeekStore store(config);
    const QByteArray calendar
        = CalendarExport::write(store, CalendarBook::notifyMinutes(config), QDateTime::currentDateTimeUtc());
    if (calendar.isEmpty())
        return fail(QStringLiteral("没有已保存的财经日历 (请先运行程序获取本周的财经日历)"));
    QSaveFile file(arguments.at(1));
    if (!file.open(QIODevice::WriteOnly) || file.write(calendar) != calendar.size() || !file.commit())
        return fail(arguments.at(1) + QStringLiteral(": ") + file.errorString());
    return 0;
}
