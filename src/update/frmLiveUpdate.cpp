#include "update/frmLiveUpdate.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "html/HtmlEscape.h"
#include "pagebridge/PageBridge.h"
#include "pages/LiveUpdatePage.h"
#include "update/ProgramVersion.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QJsonObject>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <QWebEngineView>

frmLiveUpdate::frmLiveUpdate(const ProductSite &site, QString programFolder, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_site(site)
    , m_update(new LiveUpdate(site, std::move(programFolder), ProgramVersion::text(), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("软件更新"));
    resize(400, 120);
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &frmLiveUpdate::ClickOK);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &frmLiveUpdate::ClickCancel);

    connect(this, &frmLiveUpdate::reported, this, [this] { m_reported = true; });
    connect(m_update, &LiveUpdate::checkFailed, this, [this] {
        Q_EMIT reported();
        close();
    });
    connect(m_update, &LiveUpdate::checked, this, &frmLiveUpdate::onChecked);
    connect(m_update, &LiveUpdate::progress, this, [this](int percent) {
        if (m_page)
            m_page->setText(LiveUpdatePage::Percent, QString::number(percent) + u'%');
    });
    // Told from the event loop: the program ends on it, and the download
    // that reports it must have returned first.
    connect(m_update, &LiveUpdate::downloaded, this, [this] {
        m_downloading = false;
        m_leaving = true;
        Q_EMIT updateReady();
    }, Qt::QueuedConnection);
    connect(m_update, &LiveUpdate::downloadFailed, this, &frmLiveUpdate::showFailure);
    m_update->check();
}

frmLiveUpdate::~frmLiveUpdate() = default;

void frmLiveUpdate::rememberTriedIn(cls_Config &config)
{
    if (!m_tip && config.isExistAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Tried))
        m_update->setSkippedVersion(config.GetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Tried));
    connect(m_update, &LiveUpdate::trying, this, [&config](const QString &version) {
        if (config.isExistAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Tried))
            config.SetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Tried, version);
        else
            config.CreateAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Tried, version);
        config.XMLSave();
    });
}

void frmLiveUpdate::setTip(bool tip)
{
    m_tip = tip;
    if (tip)
        m_update->setSkippedVersion({});
}

bool frmLiveUpdate::Busy() const
{
    return !m_page || m_page->Busy() || !m_pageReady;
}

void frmLiveUpdate::onChecked(bool newer)
{
    Q_EMIT reported();
    if (!newer) {
        if (m_tip)
            Q_EMIT upToDate();
        close();
        return;
    }
    // The page, and its web view, only for a dialog that shows.
    using Event = PageBridge::Event;
    m_page = new PageBridge(this);
    m_page->view()->setGeometry(rect());
    connect(m_page, &PageBridge::pageReady, this, &frmLiveUpdate::onPageReady);
    m_page->load(LiveUpdatePage::Name,
                 {PageBridge::bind(LiveUpdatePage::Ok, "onclick", "ClickOK", [this](const Event &) { ClickOK(); }),
                  PageBridge::bind(LiveUpdatePage::Cancel, "onclick", "ClickCancel", [this](const Event &) { ClickCancel(); })});
    Q_EMIT newerFound();
    show();
    raise();
    activateWindow();
    ClickOK();
}

void frmLiveUpdate::onPageReady()
{
    m_page->setText(LiveUpdatePage::Version, m_update->descriptor().version);
    m_page->measure({LiveUpdatePage::Box}, [this](const QJsonObject &result) {
        const QJsonObject box = result.value(LiveUpdatePage::Box).toObject();
        if (box.value(QStringLiteral("width")).toInt() > 0)
            resize(box.value(QStringLiteral("width")).toInt(), box.value(QStringLiteral("height")).toInt());
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
        m_pageReady = true;
        m_page->focus(LiveUpdatePage::Ok);
    });
}

void frmLiveUpdate::ClickOK()
{
    if (!m_page)
        return;
    if (m_failed) {
        // Only a web address is handed to the browser, whatever the site wrote.
        PageBridge::openExternally(QUrl(m_update->descriptor().url));
        m_leaving = true;
        Q_EMIT gaveUp();
        return;
    }
    if (m_downloading)
        return;
    if (m_installed) {
        showManualUpdate(QStringLiteral("Tessaly 由系统的软件包管理器安装, 请用它更新, 或者访问我们的网站："));
        return;
    }
    m_downloading = true;
    m_page->setStyle(LiveUpdatePage::Info, QStringLiteral("display"), QStringLiteral("none"));
    m_page->setStyle(LiveUpdatePage::Down, QStringLiteral("display"), QStringLiteral("block"));
    m_page->setStyle(LiveUpdatePage::Ok, QStringLiteral("display"), QStringLiteral("none"));
    m_update->download();
}

void frmLiveUpdate::ClickCancel()
{
    close();
}

void frmLiveUpdate::closeEvent(QCloseEvent *event)
{
    // A running download is not left half done; a failed one may be left,
    // and the program goes on.
    if (m_downloading && !m_failed) {
        event->ignore();
        return;
    }
    if (m_failed && !m_leaving) {
        m_leaving = true;
        Q_EMIT cancelled();
    }
    QWidget::closeEvent(event);
}

void frmLiveUpdate::showFailure()
{
    m_page->setAttribute(LiveUpdatePage::DownImage, QStringLiteral("src"), QStringLiteral("ddx.gif"));
    showManualUpdate(QStringLiteral("下载更新出现错误, 请点击<b>'在线下载 '</b>按钮更新! 或者访问我们的网站："));
}

// The way to the manual download: the text (fixed markup) with the site's
// address, "在线下载" and "取消".
void frmLiveUpdate::showManualUpdate(const QString &text)
{
    m_failed = true;
    m_page->setStyle(LiveUpdatePage::Info, QStringLiteral("display"), QStringLiteral("none"));
    m_page->setStyle(LiveUpdatePage::Down, QStringLiteral("display"), QStringLiteral("block"));
    m_page->setStyle(LiveUpdatePage::Percent, QStringLiteral("display"), QStringLiteral("none"));
    m_page->setHtml(LiveUpdatePage::DownInfo, text + htmlEscaped(m_site.homePage()));
    m_page->setText(LiveUpdatePage::Ok, QStringLiteral("在线下载"));
    m_page->setStyle(LiveUpdatePage::Ok, QStringLiteral("display"), QStringLiteral("inline-block"));
    m_page->setStyle(LiveUpdatePage::Cancel, QStringLiteral("display"), QStringLiteral("inline-block"));
}

void frmLiveUpdate::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_page)
        m_page->view()->setGeometry(rect());
}
