#pragma once

#include "pagebridge/PageBridge.h"
#include "settings/AlertList.h"

#include <QObject>

#include <functional>

// The settings dialog's "关键词提醒" section: the list of the user's alert
// rules and the editor under it ("添加", "修改", "删除"). Changes stay in
// the dialog until it is saved.
class AlertSection : public QObject
{
    Q_OBJECT

public:
    // `sourceNames`: the names of the sources there are, as a rule may name them.
    AlertSection(PageBridge &page, std::function<QStringList()> sourceNames, QObject *parent = nullptr);

    QList<PageBridge::Binding> bindings();
    // The rules, and the sound files a rule may choose from.
    void fill(const cls_Config &config, const QStringList &soundFiles);
    bool write(cls_Config &config) const { return m_alerts.write(config); }

private:
    void withEditor(std::function<void(const AlertList::Rule &, int)> act);
    void showList(int selected);
    void showEntry(int index);
    void say(const QString &text, const QString &tone = {});

    PageBridge &m_page;
    std::function<QStringList()> m_sourceNames;
    AlertList m_alerts;
    QStringList m_soundFiles;
};
