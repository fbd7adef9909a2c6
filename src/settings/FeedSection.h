#pragma once

#include "pagebridge/PageBridge.h"
#include "settings/FeedList.h"

#include <QObject>

class FeedProbe;

// The settings dialog's "自定义新闻源" section: the list of the user's feed
// and page sources and the editor under it ("添加", "修改", "删除", "测试").
// Changes stay in the dialog until it is saved.
class FeedSection : public QObject
{
    Q_OBJECT

public:
    FeedSection(PageBridge &page, QString workerProgram, QObject *parent = nullptr);
    ~FeedSection() override;

    QList<PageBridge::Binding> bindings();
    void fill(const cls_Config &config);
    bool write(cls_Config &config) const { return m_feeds.write(config); }
    QStringList names() const { return m_feeds.names(); }

private:
    // The editor's fields, then what to do with them and the list's chosen row.
    void withEditor(std::function<void(const NewsSource &, int)> act);
    void showList(int selected);
    void showEntry(int index);
    void say(const QString &text, const QString &tone = {});

    PageBridge &m_page;
    FeedList m_feeds;
    FeedProbe *m_probe;
};
