#pragma once

#include "pagebridge/PageBridge.h"
#include "settings/SettingsForm.h"

#include <QWidget>

#include <memory>

class AlertSection;
class FeedSection;
class MessageSink;
class PlayMediaCls;

// The settings dialog over its page "iSettings.htm": the stored values go
// into the page's controls when it has loaded; "确定(O)" (or Enter) writes
// them all back and saves, "取消(C)" (or Escape) closes writing nothing.
// It deletes itself when closed.
class frmSettings : public QWidget
{
    Q_OBJECT

public:
    frmSettings(QString programFolder, QString programPath, MessageSink &messages, QWidget *owner = nullptr);
    ~frmSettings() override;

    bool Busy() const { return m_page->Busy() || !m_loaded; }
    PageBridge &page() { return *m_page; }

    void ClickOK();
    void ClickCancel() { close(); }
    void TestSound();
    void StopSound();

Q_SIGNALS:
    // The settings were saved: the sources are to be read again.
    void applied();
    // The page has loaded and shows the stored values.
    void ready();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<PageBridge::Binding> bindings();
    void fill();
    QStringList soundFiles() const;
    void save(const QJsonObject &form);

    PageBridge *m_page;
    QString m_programFolder;
    QString m_programPath;
    MessageSink &m_messages;
    FeedSection *m_feeds;
    AlertSection *m_alerts;
    SettingsForm::State m_stored;
    std::unique_ptr<PlayMediaCls> m_player;
    bool m_testPlaying = false;
    bool m_loaded = false;
    bool m_saving = false;
};
