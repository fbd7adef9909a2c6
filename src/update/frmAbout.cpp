#include "update/frmAbout.h"

#include "core/gui/WindowDrag.h"
#include "pagebridge/PageBridge.h"
#include "pagebridge/PagePart.h"
#include "pages/AboutPage.h"
#include "update/ProgramVersion.h"

#include <QGuiApplication>
#include <QJsonObject>
#include <QScreen>
#include <QUrl>

using PagePart::px;

frmAbout::frmAbout(QString siteHome, QWidget *owner)
    : PageWindow(owner)
    , m_siteHome(std::move(siteHome))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setWindowTitle(QStringLiteral("关于 Tessaly"));
    resize(600, 297);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        place(area.center() - QPoint(300, 148), area.topLeft());
    }
    connect(&page(), &PageBridge::pageReady, this, &frmAbout::layOut);
    page().load(AboutPage::Name, bindings());
}

QList<PageBridge::Binding> frmAbout::bindings()
{
    using Event = PageBridge::Event;
    auto close = [this](const Event &) { this->close(); };
    return {
        PageBridge::bind(AboutPage::Picture, "ondblclick", "CloseFrm", close),
        PageBridge::bind(AboutPage::Close, "onclick", "CloseFrm", close),
        PageBridge::bind(AboutPage::Update, "onclick", "LiveUpdate", [this](const Event &) { LiveUpdate(); }),
        PageBridge::bind(AboutPage::Site, "onclick", "ClickWeb",
                         [this](const Event &event) {
                             if (event.byUser)
                                 PageBridge::openExternally(QUrl(m_siteHome));
                         }),
        // Our own drag, which leaves the pointer to the page: a double click still closes.
        PageBridge::bind(AboutPage::Picture, "onmousedown", "MoveFrm",
                         [this](const Event &) { drag().start(WindowDrag::Kind::Move); }),
    };
}

void frmAbout::layOut()
{
    page().setText(AboutPage::Version, ProgramVersion::buildText());
    page().measure({AboutPage::Picture, AboutPage::UpdatePlace, AboutPage::Close}, [this](const QJsonObject &result) {
        const QJsonObject picture = result.value(AboutPage::Picture).toObject();
        const QJsonObject place = result.value(AboutPage::UpdatePlace).toObject();
        const QJsonObject close = result.value(AboutPage::Close).toObject();
        page().setStyle(AboutPage::Update, QStringLiteral("left"), px(place.value(QStringLiteral("left")).toInt()));
        page().setStyle(AboutPage::Update, QStringLiteral("top"), px(place.value(QStringLiteral("top")).toInt()));
        const int width = picture.value(QStringLiteral("width")).toInt();
        page().setStyle(AboutPage::Close, QStringLiteral("left"), px(width - close.value(QStringLiteral("width")).toInt()));
        page().setStyle(AboutPage::Close, QStringLiteral("top"), px(1));
        if (width > 0)
            resize(width, picture.value(QStringLiteral("height")).toInt());
        m_ready = true;
        Q_EMIT ready();
    });
}

void frmAbout::LiveUpdate()
{
    page().setAttribute(AboutPage::Update, QStringLiteral("src"), QStringLiteral("RelatePost.gif"));
    Q_EMIT updateRequested();
}

void frmAbout::ChkLiveUpdateOk()
{
    page().setAttribute(AboutPage::Update, QStringLiteral("src"), QStringLiteral("upp.gif"));
}
