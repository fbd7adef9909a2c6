#include "bar/frmBar.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "core/gui/WindowDrag.h"
#include "pagebridge/PageBridge.h"
#include "pages/BarPage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QUrl>
#include <QWebEngineView>
#include <QWindow>

namespace {

QVariantMap part(const QString &tag, const QString &text = {}, const QString &className = {}, const QVariantMap &attributes = {})
{
    return {{QStringLiteral("tag"), tag}, {QStringLiteral("text"), text}, {QStringLiteral("className"), className},
            {QStringLiteral("attributes"), attributes}};
}

bool isWebAddress(const QString &link)
{
    const QString scheme = QUrl(link).scheme().toLower();
    return scheme == QStringLiteral("http") || scheme == QStringLiteral("https");
}

} // namespace

frmBar::frmBar(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_page(new PageBridge(this))
    , m_drag(new WindowDrag(*this))
{
    setWindowTitle(QStringLiteral("Tessaly"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientSize);
    m_page->view()->setGeometry(rect());
    // Rounded corners of five pixels.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), 5, 5);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    m_page->load(BarPage::Name,
                 {PageBridge::bind(BarPage::Strip, "onmousedown", "WindowMove", [this](const PageBridge::Event &) { WindowMove(); }),
                  PageBridge::bind(BarPage::More, "onclick", "btnMore", [this](const PageBridge::Event &) { Q_EMIT moreClicked(); }),
                  PageBridge::bind(BarPage::Close, "onclick", "CloseX", [this](const PageBridge::Event &) { close(); })});
    ctlTime.setInterval(TickerModel::RotationMs);
    connect(&ctlTime, &QTimer::timeout, this, [this] { showItem(m_items.rotate()); });

    // Its place, unless no screen has it any more.
    const cls_Config &config = Globals().Config;
    const QPoint place(config.GetNodeAttribNumber(ConfigPaths::BarWindow, ConfigPaths::Left),
                       config.GetNodeAttribNumber(ConfigPaths::BarWindow, ConfigPaths::Top));
    m_place = QGuiApplication::screenAt(place) ? place : QPoint(0, 0);
    move(m_place);
}

void frmBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Window managers place new tool windows as they like: its place is its own,
    // once the manager has done.
    move(m_place);
    QTimer::singleShot(0, this, [this] { move(m_place); });
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
        parts << part(QStringLiteral("img"), {}, {}, {{QStringLiteral("src"), QStringLiteral("new.gif")}, {QStringLiteral("align"), QStringLiteral("absmiddle")}});
    parts << part(QStringLiteral("#text"), shown.row.time + u' ');
    if (isWebAddress(shown.row.link))
        parts << part(QStringLiteral("a"), shown.row.title, {}, {{QStringLiteral("href"), shown.row.link}});
    else
        parts << part(QStringLiteral("span"), shown.row.title);
    if (!shown.row.label.isEmpty())
        parts << part(QStringLiteral("b"), shown.row.label, QStringLiteral("label ") + shown.row.source);
    m_page->setParts(BarPage::News, parts);
}

void frmBar::WindowMove()
{
    // The window system moves it where it can; our own drag elsewhere.
    if (!windowHandle() || !windowHandle()->startSystemMove())
        m_drag->start(WindowDrag::Kind::Move);
}

void frmBar::closeForExit()
{
    m_exiting = true;
    close();
}

void frmBar::closeEvent(QCloseEvent *event)
{
    m_place = pos();
    cls_Config &config = Globals().Config;
    config.SetNodeAttrib(ConfigPaths::BarWindow, ConfigPaths::Left, QString::number(x()));
    config.SetNodeAttrib(ConfigPaths::BarWindow, ConfigPaths::Top, QString::number(y()));
    ctlTime.stop();
    event->accept();
    if (!m_exiting)
        Q_EMIT closedByUser();
}
