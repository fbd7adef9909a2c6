#pragma once

#include "core/gui/cls_PopupMenu.h"
#include "pagebridge/Panel.h"
#include "side/SideUpkeep.h"

#include <QObject>

class ctlDownload;

// The main page's side panels: the advert frames and the hidden frame kept
// up on every scheduler tick, the "精品推荐" panel, the forum links menu and
// the system notice read once at start. Remote pages show only in sandboxed
// frames; the network's failures here stay silent.
class SidePanel : public QObject, public Panel
{
    Q_OBJECT

public:
    static constexpr qint64 NoticeLimit = 64 * 1024;

    SidePanel(PageBridge &page, TabHost &tabs, QObject *parent = nullptr);
    ~SidePanel() override;

    QList<PageBridge::Binding> bindings() override;
    QList<TabStrip::Tab> tabs() const override;
    void pageLoaded() override;
    void pageReady() override;
    // The "精品推荐" page is there only while the window shows.
    void windowShown() override { FxAsk(true, true); }
    void windowHidden() override { FxAsk(false, false); }

    // One round of upkeep, after the scheduler's own work.
    void upkeep(const QDateTime &now);
    // Fills or drops the "精品推荐" panel's page (see SideUpkeep::fxAskFilled).
    void FxAsk(bool bb, bool active = false);
    // Another tab is current: the "精品推荐" area fills on its own tab and
    // empties when that tab is left, not at a switch between other tabs.
    void tabSelected(const QString &anchor) override;
    void ClickMore();
    // Reads the product site's notice; shown once as a balloon if not blank.
    void loadNotice();

    // The forum links: caption and address, by command number 201..208.
    struct Forum
    {
        QString name;
        QString address;
    };
    static const QList<Forum> &forums();

Q_SIGNALS:
    void balloonRequested(const QString &message, const QString &title, int icon);

private:
    void showAdverts();
    // Remote frames exist only while the window shows.
    void dropRemoteFrames();
    void restoreRemoteFrames();
    void onDescriptor(const QByteArray &data, bool success);
    void onNotice(const QByteArray &data, bool success);
    QString giftPage() const;

    PageBridge &m_page;
    TabHost &m_tabs;
    SideUpkeep m_model;
    SideUpkeep::Adverts m_shown;
    ctlDownload *m_descriptorRead;
    ctlDownload *m_noticeRead;
    cls_PopupMenu m_menu;
    bool m_askFilled = false;
    bool m_pageLoadedBefore = false;
    bool m_askTabCurrent = false;
    bool m_failureShown = false;
    bool m_hidden = false;       // the window is away: no remote frame in its page
    bool m_keepAliveDue = false; // the hidden frame's turn came while the window was away
};
