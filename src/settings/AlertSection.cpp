#include "settings/AlertSection.h"

#include "pages/SettingsPage.h"
#include "settings/SectionControls.h"

#include <QJsonObject>

AlertSection::AlertSection(PageBridge &page, std::function<QStringList()> sourceNames, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_sourceNames(std::move(sourceNames))
{
}

QList<PageBridge::Binding> AlertSection::bindings()
{
    using Event = PageBridge::Event;
    const QString saved = QStringLiteral(", 按“确定”后生效");
    return {
        PageBridge::bind(SettingsPage::AlertList, "onchange", "ShowAlert", [this](const Event &) {
            withEditor([this](const AlertList::Rule &, int selected) { showEntry(selected); });
        }),
        PageBridge::bind(SettingsPage::AlertAdd, "onclick", "AddAlert", [this, saved](const Event &) {
            withEditor([this, saved](const AlertList::Rule &rule, int) {
                if (const QString problem = m_alerts.add(rule, m_sourceNames()); !problem.isEmpty())
                    return say(problem, QStringLiteral("fail"));
                showList(int(m_alerts.size()) - 1);
                say(QStringLiteral("已添加提醒") + saved);
            });
        }),
        PageBridge::bind(SettingsPage::AlertChange, "onclick", "ChangeAlert", [this, saved](const Event &) {
            withEditor([this, saved](const AlertList::Rule &rule, int selected) {
                if (const QString problem = m_alerts.change(selected, rule, m_sourceNames()); !problem.isEmpty())
                    return say(problem, QStringLiteral("fail"));
                showList(selected);
                say(QStringLiteral("已修改提醒") + saved);
            });
        }),
        PageBridge::bind(SettingsPage::AlertRemove, "onclick", "RemoveAlert", [this, saved](const Event &) {
            withEditor([this, saved](const AlertList::Rule &, int selected) {
                if (selected < 0 || selected >= m_alerts.size())
                    return say(QStringLiteral("请先在列表中选择一条提醒"), QStringLiteral("fail"));
                m_alerts.remove(selected);
                showList(std::min(selected, int(m_alerts.size()) - 1));
                say(QStringLiteral("已删除提醒") + saved);
            });
        }),
    };
}

void AlertSection::fill(const cls_Config &config, const QStringList &soundFiles)
{
    m_alerts.read(config);
    m_soundFiles = soundFiles;
    showList(m_alerts.size() > 0 ? 0 : -1);
}

void AlertSection::withEditor(std::function<void(const AlertList::Rule &, int)> act)
{
    const QStringList ids{SettingsPage::AlertList,  SettingsPage::AlertWords, SettingsPage::AlertExcept,
                          SettingsPage::AlertSources, SettingsPage::AlertSound, SettingsPage::AlertChecked};
    m_page.readForm(ids, [act = std::move(act)](const QJsonObject &form) {
        auto control = [&form](const QString &id) { return form.value(id).toObject(); };
        auto value = [&control](const QString &id) { return control(id).value(QStringLiteral("value")).toString(); };
        const AlertList::Rule rule{value(SettingsPage::AlertWords), value(SettingsPage::AlertExcept),
                                   value(SettingsPage::AlertSources), value(SettingsPage::AlertSound),
                                   control(SettingsPage::AlertChecked).value(QStringLiteral("checked")).toBool()};
        act(rule, control(SettingsPage::AlertList).value(QStringLiteral("selectedIndex")).toInt(-1));
    });
}

void AlertSection::showList(int selected)
{
    QStringList lines;
    for (qsizetype i = 0; i < m_alerts.size(); ++i)
        lines << m_alerts.line(i);
    SectionControls::showLines(m_page, SettingsPage::AlertList, lines, selected);
    showEntry(selected);
}

void AlertSection::showEntry(int index)
{
    const AlertList::Rule rule = index >= 0 && index < m_alerts.size() ? m_alerts.fields(index) : AlertList::Rule{};
    // No sound, the sound files, and a rule's file that is gone (kept unless changed).
    QVariantList sounds{QVariantMap{{QStringLiteral("value"), QString()}, {QStringLiteral("text"), QStringLiteral("(无)")}}};
    for (const QString &file : std::as_const(m_soundFiles))
        sounds.append(QVariantMap{{QStringLiteral("value"), file}, {QStringLiteral("text"), file}});
    if (!rule.sound.isEmpty() && !m_soundFiles.contains(rule.sound))
        sounds.append(QVariantMap{{QStringLiteral("value"), rule.sound}, {QStringLiteral("text"), rule.sound + QStringLiteral(" (缺少)")}});
    m_page.setOptions(SettingsPage::AlertSound, sounds);
    m_page.setValue(SettingsPage::AlertSound, rule.sound);
    m_page.setValue(SettingsPage::AlertWords, rule.words);
    m_page.setValue(SettingsPage::AlertExcept, rule.except);
    m_page.setValue(SettingsPage::AlertSources, rule.sources);
    m_page.setChecked(SettingsPage::AlertChecked, rule.checked);
}

void AlertSection::say(const QString &text, const QString &tone)
{
    SectionControls::say(m_page, SettingsPage::AlertStatus, text, tone);
}
