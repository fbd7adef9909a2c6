#include "settings/SettingsForm.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "news/NewsSourceRegistry.h"

#include <cmath>

namespace {

QList<SettingsForm::Choice> seconds(std::initializer_list<int> values)
{
    QList<SettingsForm::Choice> choices;
    for (int value : values)
        choices.append({QString::number(value), QStringLiteral("%1秒").arg(value)});
    return choices;
}

int indexOfValue(const QList<SettingsForm::Choice> &choices, const QString &value)
{
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (choices.at(i).value == value)
            return static_cast<int>(i);
    }
    return -1;
}

bool isChecked(const cls_Config &config, const QString &path)
{
    return config.value(path, ConfigPaths::Checked) == QStringLiteral("1");
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The elements and attribute are made when missing, so that no value of a save is lost.
void store(cls_Config &config, const QString &path, const QString &attribute, const QString &value)
{
    QString parent;
    for (const QString &name : path.split(u'/')) {
        if (!config.isExist(parent, name))
            config.CreateNode(parent, name);
        parent = parent.isEmpty() ? name : parent + u'/' + name;
    }
    if (config.isExistAttrib(path, attribute))
        config.SetNodeAttrib(path, attribute, value);
    else
        config.CreateAttrib(path, attribute, value);
}

} // namespace

const QList<SettingsForm::SourceRow> &SettingsForm::sourceRows()
{
    // The page's rows TT6, TT1..TT5 hold the built-in sources in their tab order.
    static const QList<SourceRow> rows = [] {
        const QStringList names = NewsSourceRegistry::builtInNames();
        const QStringList checks{QStringLiteral("TT6"), QStringLiteral("TT1"), QStringLiteral("TT2"),
                                 QStringLiteral("TT3"), QStringLiteral("TT4"), QStringLiteral("TT5")};
        QList<SourceRow> made;
        for (qsizetype i = 0; i < names.size() && i < checks.size(); ++i)
            made.append({checks.at(i), checks.at(i) + QStringLiteral("_GetTime"), names.at(i),
                         names.at(i) == ConfigPaths::HeXunName});
        return made;
    }();
    return rows;
}

QList<SettingsForm::Choice> SettingsForm::intervals(bool longIntervals)
{
    if (longIntervals)
        return seconds({30, 40, 50, 60, 180, 300});
    return seconds({5, 10, 20, 30, 40, 50, 60, 180, 300});
}

QList<SettingsForm::Choice> SettingsForm::durations()
{
    QList<Choice> choices{{QStringLiteral("-1"), QStringLiteral("一直停留")}};
    return choices + seconds({10, 20, 30, 40, 50});
}

QList<SettingsForm::Choice> SettingsForm::notifyTimes()
{
    QList<Choice> choices;
    for (int minutes : {1, 3, 5, 10})
        choices.append({QString::number(minutes), QStringLiteral("%1分钟").arg(minutes)});
    return choices;
}

int SettingsForm::durationIndex(const QString &stored)
{
    bool ok = false;
    const double seconds = stored.trimmed().toDouble(&ok);
    if (!ok || seconds == -1)
        return 0;
    const double tens = std::round(seconds / 10);
    return tens >= 1 && tens <= 5 ? static_cast<int>(tens) : 0;
}

int SettingsForm::notifyIndex(const QString &stored)
{
    const int index = indexOfValue(notifyTimes(), stored.trimmed());
    return index < 0 ? 0 : index;
}

int SettingsForm::intervalIndex(const QString &stored, bool longIntervals)
{
    return indexOfValue(intervals(longIntervals), stored.trimmed());
}

SettingsForm::State SettingsForm::read(const cls_Config &config, bool autostart)
{
    State state;
    state.autostart = autostart;
    state.popup = isChecked(config, ConfigPaths::Popup);
    state.durationIndex = durationIndex(config.value(ConfigPaths::Popup, ConfigPaths::Duration));
    state.soundFile = config.value(ConfigPaths::Popup, ConfigPaths::SoundFile);
    for (const SourceRow &row : sourceRows()) {
        const QString path = ConfigPaths::source(row.configName);
        state.sources.append({isChecked(config, path),
                              intervalIndex(config.value(path, ConfigPaths::IntervalTime), row.longIntervals)});
    }
    state.notifyIndex = notifyIndex(config.value(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime));
    state.liveUpdate = isChecked(config, ConfigPaths::LiveUpdate);
    return state;
}

void SettingsForm::write(cls_Config &config, const State &state)
{
    const QString popup = ConfigPaths::Popup;
    store(config, popup, ConfigPaths::Checked, flag(state.popup));
    const QList<Choice> durationList = durations();
    store(config, popup, ConfigPaths::Duration, durationList.value(state.durationIndex, durationList.front()).value);
    store(config, popup, ConfigPaths::SoundFile, state.soundFile);
    const QList<Choice> notifyList = notifyTimes();
    store(config, ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime,
          notifyList.value(state.notifyIndex, notifyList.front()).value);
    const QList<SourceRow> &rows = sourceRows();
    for (qsizetype i = 0; i < rows.size() && i < state.sources.size(); ++i) {
        const QString path = ConfigPaths::source(rows.at(i).configName);
        store(config, path, ConfigPaths::Checked, flag(state.sources.at(i).checked));
        const QList<Choice> list = intervals(rows.at(i).longIntervals);
        const int index = state.sources.at(i).intervalIndex;
        // No entry chosen would be written as "", a fetch every second.
        if (index >= 0 && index < list.size())
            store(config, path, ConfigPaths::IntervalTime, list.at(index).value);
    }
    store(config, ConfigPaths::LiveUpdate, ConfigPaths::Checked, flag(state.liveUpdate));
}
