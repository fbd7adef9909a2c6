#include "bar/frmBar.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "pagebridge/PageBridge.h"
#include "pagebridge/PagePart.h"
#include "pages/BarPage.h"

#include <QCloseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QUrl>

frmBar::frmBar(QWidget *parent)
    : PageWindow(parent)
{
    setFixedSize(ClientSize);
    // Rounded corners of five pixels.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), 5, 5);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    page().load(BarPage::Name,
                 {PageBridge::bind(BarPage::Strip, "onmousedown", "WindowMove", [this](const PageBridge::Event &) { startMove(); }),
                  PageBridge::bind(BarPage::More, "onclick", "btnMore", [this](const PageBridge::Event &) { Q_EMIT moreClicked(); }),
                  PageBridge::bind(BarPage::Close, "onclick", "CloseX", [this](const PageBridge::Event &) { close(); })});
    ctlTime.setInterval(TickerModel::RotationMs);
    connect(&ctlTime, &QTimer::timeout, this, [this] { showItem(m_items.rotate()); });

    // Its place, unless no screen has it any more.
    const cls_Config &config = Globals().Config;
    const QPoint place(config.GetNodeAttribNumber(ConfigPaths::BarWindow, ConfigPaths::Left),
                       config.GetNodeAttribNumber(ConfigPaths::BarWindow, ConfigPaths::Top));
    PageWindow::place(place, QPoint(0, 0));
}

void frmBar::iNew(const NewsRow &row)
{
    ctlTime.stop();
    showItem(m_items.add(row));
    ctlTime.start();
}

void frmBar::showItem(const TickerModel::Shown &shown)
{
    QVariantList parts;
    if (shown.newest)
        parts << PagePart::element(QStringLiteral("img"), {}, {}, {{QStringLiteral("src"), QStringLiteral("new.gif")}, {QStringLiteral("align"), QStringLiteral("absmiddle")}});
    parts << PagePart::element(QStringLiteral("#text"), shown.row.time + u' ');
    if (PageBridge::isWebAddress(QUrl(shown.row.link)))
        parts << PagePart::element(QStringLiteral("a"), shown.row.title, {}, {{QStringLiteral("href"), shown.row.link}});
    else
        parts << PagePart::element(QStringLiteral("span"), shown.row.title);
    if (!shown.row.label.isEmpty())
        parts << PagePart::element(QStringLiteral("b"), shown.row.label, QStringLiteral("label ") + shown.row.source);
    page().setParts(BarPage::News, parts);
}

void frmBar::closeForExit()
{
    m_exiting = true;
    close();
}

void frmBar::closeEvent(QCloseEvent *event)
{
    cls_Config &config = Globals().Config;
    config.SetNodeAttrib(ConfigPaths::BarWindow, ConfigPaths::Left, QString::number(x()));
    config.SetNodeAttrib(ConfigPaths::BarWindow, ConfigPaths::Top, QString::number(y()));
    ctlTime.stop();
    event->accept();
    if (!m_exiting)
        Q_EMIT closedByUser();
}
