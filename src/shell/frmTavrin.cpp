#include "frmTavrin.h"

#include "AppGlobals.h"
#include "Clock.h"
#include "Desktop.h"
#include "OOP.h"
#include "ProductSite.h"
#include "cls_PopupMenu.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDate>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEngineView>

bool frmTavrin::s_closeHintShown = false;

namespace {

// Moves and drags are sampled at this rate from the pointer.
constexpr int DragSampleMs = 10;

QString configPath()
{
    return QStringLiteral("Window/Tavrin_Main");
}

// The hidden frame that counts a visit of a tab on the product site.
QString visitFrame(const QString &address)
{
    QString src = address.toHtmlEscaped();
    src.replace(u'\'', QStringLiteral("%27"));
    return QStringLiteral("<iframe id ='ifa' width='100%' height='100%' marginwidth='0' frameborder='0' "
                          "marginheight='0' src='")
        + src + QStringLiteral("'></iframe>");
}

QSize virtualScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualSize() : QSize(1920, 1080);
}

} // namespace

frmTavrin::frmTavrin(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_page(new PageBridge(this, this))
    , HTTP(new OOP(this))
    , m_docking(virtualScreenSize())
{
    setWindowTitle(QGuiApplication::applicationDisplayName());
    m_news = std::make_unique<NewsBoard>(*this, NewsSources::all(Globals().Config),
                                         [this](int id, const QString &known, const QString &url) { HTTP->GetContent(id, known, url); });
    // The workers' events: items and completions queue, failures act at once.
    connect(HTTP, &OOP::GetMsg, this,
            [this](int id, const QString &time, const QString &info, const QString &href, const QString &popup) {
                m_news->GetMsg(id, time, info, href, popup);
                m_ctlTimeTask.start();
            });
    connect(HTTP, &OOP::GetComplete, this, [this](int id, bool isNew) {
        m_news->GetComplete(id, isNew);
        m_ctlTimeTask.start();
    });
    connect(HTTP, &OOP::GetError, this, [this](int id, const QString &message) { m_news->GetError(id, message); });
    connect(HTTP, &OOP::GetTimeout, this, [this](int id) { m_news->GetTimeout(id); });
    m_ctlTimeDown.setInterval(1000);
    connect(&m_ctlTimeDown, &QTimer::timeout, this, [this] { m_news->tick(Clock::system().now()); });
    m_ctlTimeTask.setInterval(1);
    connect(&m_ctlTimeTask, &QTimer::timeout, this, [this] {
        if (!m_news->processTask())
            m_ctlTimeTask.stop();
    });
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_ctlTimeLeave.setInterval(1000);
    m_ctlTimeBerth.setInterval(10);
    m_dragTimer.setInterval(DragSampleMs);
    connect(&m_ctlTimeLeave, &QTimer::timeout, this, &frmTavrin::ctlTimeLeave_Timer);
    connect(&m_ctlTimeBerth, &QTimer::timeout, this, &frmTavrin::ctlTimeBerth_Timer);
    connect(&m_dragTimer, &QTimer::timeout, this, &frmTavrin::dragStep);
    connect(m_page, &PageBridge::pageReady, this, &frmTavrin::onPageReady);

    m_page->load(QStringLiteral("iInfo.htm"), bindings());

    cls_Config &config = Globals().Config;
    setGeometry(config.GetNodeAttribNumber(configPath(), QStringLiteral("Left")),
                config.GetNodeAttribNumber(configPath(), QStringLiteral("Top")),
                config.GetNodeAttribNumber(configPath(), QStringLiteral("Width")),
                config.GetNodeAttribNumber(configPath(), QStringLiteral("Height")));
    m_todayIndex = QDate::currentDate().dayOfWeek() % 7;
}

frmTavrin::~frmTavrin() = default;

QList<PageBridge::Binding> frmTavrin::bindings()
{
    auto b = [](const char *id, const char *event, const char *operation) {
        return PageBridge::Binding{QString::fromLatin1(id), QString::fromLatin1(event), QString::fromLatin1(operation)};
    };
    return {
        b("TD1", "onmousedown", "WindowMove"),   b("TD2", "onmousedown", "WindowMove"),
        b("btn_Close", "onclick", "btn_Close"),  b("btn_about", "onclick", "btn_about"),
        b("iMore", "onclick", "iMore"),          b("btn_option", "onclick", "btn_option"),
        b("btn_sponsor", "onclick", "btn_sponsor"), b("iFXAsk", "onclick", "ClickFXAsk"),
        b("iAll", "onclick", "ClickAll"),        b("iFXark", "onclick", "ClickFunc"),
        b("iFXark", "ondblclick", "ClickWeb"),   b("iFX168", "onclick", "ClickFunc"),
        b("iFX168", "ondblclick", "ClickWeb"),   b("iDailyfx", "onclick", "ClickFunc"),
        b("iDailyfx", "ondblclick", "ClickWeb"), b("iCaiXun", "onclick", "ClickFunc"),
        b("iCaiXun", "ondblclick", "ClickWeb"),  b("iStartQuote", "onclick", "iStartQuote"),
        b("iCloseQuote", "onclick", "iCloseQuote"), b("iFX678", "onclick", "ClickFunc"),
        b("iFX678", "ondblclick", "ClickWeb"),   b("iHeXun", "onclick", "ClickFunc"),
        b("iHeXun", "ondblclick", "ClickWeb"),   b("iFXCalendar", "onclick", "Calendar"),
        b("week1", "onclick", "onweek1"),        b("week2", "onclick", "onweek2"),
        b("week3", "onclick", "onweek3"),        b("week4", "onclick", "onweek4"),
        b("week5", "onclick", "onweek5"),        b("iTBody", "onclick", "TBodyClick"),
        b("SizeGrip", "onmousedown", "SizeGrip"), b("iShowQuote", "onclick", "ShowQuote"),
        b("iFXMore", "onclick", "ClickMore"),    b("iBarBtn", "onclick", "ShowBar"),
    };
}

bool frmTavrin::Busy() const
{
    return m_page->Busy() || !m_pageReady;
}

void frmTavrin::onPageReady()
{
    if (m_pageReady)
        return;
    if (m_todayIndex >= 1 && m_todayIndex <= 5)
        m_page->setClass(QStringLiteral("week%1").arg(m_todayIndex), QStringLiteral("weekToday"));
    // The window is made large enough for the page's content block. A page
    // not yet shown lays out at a size of its own, so the stored size of the
    // window is kept wherever it already holds the block.
    m_page->measure({QStringLiteral("iBody")}, [this](const QJsonObject &result) {
        const QJsonObject body = result.value(QStringLiteral("iBody")).toObject();
        const int width = body.value(QStringLiteral("width")).toInt();
        const int height = body.value(QStringLiteral("top")).toInt() + body.value(QStringLiteral("height")).toInt();
        const QSize frame = frameGeometry().size() - size();
        resize(std::max(this->width(), width + frame.width()), std::max(this->height(), height + frame.height()));
        m_pageReady = true;
        Form_Resize();
        Q_EMIT pageReady();
    });
}

void frmTavrin::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTavrin::Form_Resize()
{
    m_page->view()->setGeometry(rect());
    if (!m_pageReady)
        return;
    m_page->setStyle(QStringLiteral("Menu"), QStringLiteral("width"), QStringLiteral("%1px").arg(std::max(width(), 1000)));
    const double border = frameGeometry().width() - width();
    m_page->measure({QStringLiteral("menuLayout"), QStringLiteral("iUL")}, [this, border](const QJsonObject &result) {
        const QJsonObject menu = result.value(QStringLiteral("menuLayout")).toObject();
        if (!menu.isEmpty())
            m_page->setStyle(QStringLiteral("MenuTD"), QStringLiteral("height"),
                             QStringLiteral("%1px").arg(menu.value(QStringLiteral("height")).toInt()));
        const int tabList = result.value(QStringLiteral("iUL")).toObject().value(QStringLiteral("clientWidth")).toInt();
        m_docking.setMinMainWidth(DockingModel::minMainWidth(border, tabList));
    });
    placeCalendarHeader();
}

void frmTavrin::placeCalendarHeader()
{
    m_page->measure({QStringLiteral("iCalendarBox"), QStringLiteral("iCalendar")}, [this](const QJsonObject &result) {
        const QJsonObject box = result.value(QStringLiteral("iCalendarBox")).toObject();
        const QJsonObject calendar = result.value(QStringLiteral("iCalendar")).toObject();
        const int boxOffset = box.value(QStringLiteral("width")).toInt();
        const int boxClient = box.value(QStringLiteral("clientWidth")).toInt();
        // The header covers the table's own, and leaves its scroll bar visible.
        const int width = boxOffset - boxClient > 0 ? boxClient : boxOffset;
        m_page->setStyle(QStringLiteral("iCalHead"), QStringLiteral("width"), QStringLiteral("%1px").arg(width));
        m_page->setStyle(QStringLiteral("iCalHead"), QStringLiteral("left"),
                         QStringLiteral("%1px").arg(calendar.value(QStringLiteral("left")).toInt()));
        m_page->setStyle(QStringLiteral("iCalHead"), QStringLiteral("top"),
                         QStringLiteral("%1px").arg(calendar.value(QStringLiteral("top")).toInt()));
    });
}

void frmTavrin::SelectTab(const QString &newTab)
{
    const std::optional<TabStrip::Change> change = m_tabs.select(newTab);
    if (!change)
        return;
    if (!change->oldTab.isEmpty())
        m_page->clearParentId(change->oldTab);
    m_page->setParentId(change->newTab, QStringLiteral("current"));
    m_page->setStyle(change->newTab, QStringLiteral("visibility"), QStringLiteral("visible"));
    for (const QString &area : change->hide)
        m_page->setStyle(area, QStringLiteral("display"), QStringLiteral("none"));
    if (!change->leftSitePage.isEmpty())
        m_page->setHtml(QStringLiteral("frameDiv1"), visitFrame(ProductSite(Globals().Config).page(change->leftSitePage)));
    for (const QString &area : change->show)
        m_page->setStyle(area, QStringLiteral("display"), QString());
    if (newTab == QStringLiteral("iFXCalendar"))
        placeCalendarHeader();
}

void frmTavrin::noteOperation(const char *name)
{
    Q_EMIT operationInvoked(QString::fromLatin1(name));
}

void frmTavrin::ClickAll()
{
    noteOperation("ClickAll");
    SelectTab(QStringLiteral("iAll"));
}

void frmTavrin::Calendar()
{
    noteOperation("Calendar");
    SelectTab(QStringLiteral("iFXCalendar"));
}

void frmTavrin::ClickFXAsk()
{
    noteOperation("ClickFXAsk");
    SelectTab(QStringLiteral("iFXAsk"));
}

void frmTavrin::ClickFunc()
{
    noteOperation("ClickFunc");
    static const QStringList tabs{QStringLiteral("iAll"),    QStringLiteral("iFXark"),  QStringLiteral("iFX168"),
                                  QStringLiteral("iDailyfx"), QStringLiteral("iCaiXun"), QStringLiteral("iFX678"),
                                  QStringLiteral("iHeXun")};
    if (tabs.contains(m_page->invokingElement()))
        SelectTab(m_page->invokingElement());
}

void frmTavrin::btn_sponsor()
{
    noteOperation("btn_sponsor");
    Desktop::OpenUrl(ProductSite(Globals().Config).homePage());
}

void frmTavrin::ClickLink(const QString &url)
{
    // Only web addresses leave the program, whatever a page put there.
    PageBridge::openExternally(QUrl(url));
}

void frmTavrin::btn_Close()
{
    noteOperation("btn_Close");
    close();
}

void frmTavrin::ClickWeb()
{
    noteOperation("ClickWeb");
    for (const NewsSource &source : m_news->sources()) {
        if (source.anchor == m_page->invokingElement())
            Desktop::OpenUrl(source.home);
    }
}

void frmTavrin::iMore()
{
    noteOperation("iMore");
    cls_PopupMenu menu;
    const QList<NewsSource> sources = m_news->sources();
    // Five sources: CaiXun is always on.
    for (const NewsSource &source : sources) {
        if (source.id <= 104)
            menu.AddMenuItem(source.title, m_news->task(source.id).Enabled ? cls_PopupMenu::MF_CHECKED : cls_PopupMenu::MF_STRING,
                             source.id);
    }
    const int chosen = menu.TrackMenu(this);
    for (const NewsSource &source : sources) {
        if (source.id == chosen) {
            Globals().Config.SetNodeAttrib(QStringLiteral("Settings/Tavrin/Source/") + source.name, QStringLiteral("Checked"),
                                           m_news->task(source.id).Enabled ? QStringLiteral("0") : QStringLiteral("1"));
            ApplySourceSettings();
        }
    }
}

void frmTavrin::ApplySourceSettings()
{
    m_news->ApplySourceSettings(Globals().Config);
    Form_Resize();
    m_ctlTimeDown.start();
}

void frmTavrin::insertRow(const QString &table, int index, const QVariantList &cells)
{
    m_page->insertRow(table, index, cells);
}

void frmTavrin::deleteRow(const QString &table, int index)
{
    m_page->deleteRow(table, index);
}

void frmTavrin::setHtml(const QString &id, const QString &html)
{
    m_page->setHtml(id, html);
}

void frmTavrin::setStyle(const QString &id, const QString &property, const QString &value)
{
    m_page->setStyle(id, property, value);
}

void frmTavrin::sortAllNews()
{
    m_page->click(QStringLiteral("iAllSort"));
}

void frmTavrin::popup(const QString &html)
{
    Q_EMIT popupRequested(html);
}

void frmTavrin::showTab(const QString &anchor, bool shown)
{
    m_page->setParentStyle(anchor, QStringLiteral("display"), shown ? QString() : QStringLiteral("none"));
}

void frmTavrin::btn_about() { noteOperation("btn_about"); }
void frmTavrin::btn_option() { noteOperation("btn_option"); }
void frmTavrin::iStartQuote() { noteOperation("iStartQuote"); }
void frmTavrin::iCloseQuote() { noteOperation("iCloseQuote"); }
void frmTavrin::ShowQuote() { noteOperation("ShowQuote"); }
void frmTavrin::onweek1() { noteOperation("onweek1"); }
void frmTavrin::onweek2() { noteOperation("onweek2"); }
void frmTavrin::onweek3() { noteOperation("onweek3"); }
void frmTavrin::onweek4() { noteOperation("onweek4"); }
void frmTavrin::onweek5() { noteOperation("onweek5"); }
void frmTavrin::TBodyClick() { noteOperation("TBodyClick"); }
void frmTavrin::ClickMore() { noteOperation("ClickMore"); }
void frmTavrin::ShowBar() { noteOperation("ShowBar"); }

void frmTavrin::closeEvent(QCloseEvent *event)
{
    if (isMinimized())
        showNormal();
    saveGeometry();
    if (m_exiting) {
        event->accept();
        return;
    }
    event->ignore();
    if (!m_hideToTray) {
        Q_EMIT exitRequested();
        return;
    }
    hide();
    if (!s_closeHintShown) {
        s_closeHintShown = true;
        Q_EMIT balloonRequested(QStringLiteral("最小化到系统任务托盘栏!"), QStringLiteral("Tessaly仍在运行!"));
    }
}

void frmTavrin::saveGeometry()
{
    const QRect rect = m_docking.remembered(geometry());
    cls_Config &config = Globals().Config;
    config.SetNodeAttrib(configPath(), QStringLiteral("Left"), QString::number(rect.left()));
    config.SetNodeAttrib(configPath(), QStringLiteral("Top"), QString::number(rect.top()));
    config.SetNodeAttrib(configPath(), QStringLiteral("Width"), QString::number(rect.width()));
    config.SetNodeAttrib(configPath(), QStringLiteral("Height"), QString::number(rect.height()));
}

// Docking. The window is moved and sized by our own code while the pointer
// drags, so every proposed rectangle passes the docking rules first.

void frmTavrin::WindowMove()
{
    noteOperation("WindowMove");
    startDrag(Drag::Move);
}

void frmTavrin::SizeGrip()
{
    noteOperation("SizeGrip");
    startDrag(Drag::Size);
}

void frmTavrin::startDrag(Drag kind)
{
    if (!isNormalState())
        return;
    m_drag = kind;
    m_dragStartCursor = QCursor::pos();
    Globals().InSizeMove = true;
    // Starting to drag a docked window first brings it fully onto the screen.
    cSizeMove_ExitSizeMove();
    m_dragStartRect = geometry();
    m_dragTimer.start();
}

void frmTavrin::dragStep()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        m_dragTimer.stop();
        m_drag = Drag::None;
        Globals().InSizeMove = false;
        cSizeMove_ExitSizeMove();
        return;
    }
    const QPoint delta = QCursor::pos() - m_dragStartCursor;
    QRect proposed = m_dragStartRect;
    if (m_drag == Drag::Move) {
        proposed.translate(delta);
        cSizeMove_Moving(proposed);
    } else {
        proposed.setSize(proposed.size() + QSize(delta.x(), delta.y()));
        cSizeMove_Sizing(proposed);
    }
    if (proposed != geometry())
        setGeometry(proposed);
}

void frmTavrin::cSizeMove_Moving(QRect &rect)
{
    m_docking.moving(rect);
    if (m_docking.berthed())
        setTopMost(true);
}

void frmTavrin::cSizeMove_Sizing(QRect &rect)
{
    rect = m_docking.sizing(rect);
    if (m_docking.berthed())
        setTopMost(true);
}

void frmTavrin::cSizeMove_ExitSizeMove()
{
    if (m_docking.berthed()) {
        m_docking.setArmed(true);
        setTopMost(true);
        BerthShow();
    } else {
        setTopMost(false);
        m_ctlTimeLeave.stop();
    }
}

void frmTavrin::BerthShow()
{
    if (!isNormalState())
        return;
    setGeometry(m_docking.shown(geometry()));
    if (m_docking.armed())
        m_ctlTimeLeave.start();
}

void frmTavrin::BerthLeave()
{
    if (isNormalState())
        m_ctlTimeBerth.start();
}

bool frmTavrin::cSizeMove_AreaIn() const
{
    return frameGeometry().contains(QCursor::pos());
}

void frmTavrin::ctlTimeLeave_Timer()
{
    if (m_drag == Drag::None && !cSizeMove_AreaIn()) {
        m_ctlTimeLeave.stop();
        BerthLeave();
    }
}

void frmTavrin::ctlTimeBerth_Timer()
{
    if (!isNormalState()) {
        m_ctlTimeBerth.stop();
        return;
    }
    bool done = false;
    setGeometry(m_docking.slideStep(geometry(), &done));
    if (done)
        m_ctlTimeBerth.stop();
}

void frmTavrin::cSizeMove_MouseOverForm()
{
    if (!m_ctlTimeBerth.isActive() && m_docking.berthed() && m_drag == Drag::None) {
        m_docking.setArmed(true);
        BerthShow();
    }
}

void frmTavrin::cSizeMove_Activate()
{
    if (m_docking.berthed()) {
        m_docking.setArmed(false);
        BerthShow();
    }
}

void frmTavrin::cSizeMove_Deactivate()
{
    if (m_docking.berthed() && m_drag == Drag::None)
        BerthLeave();
}

bool frmTavrin::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        cSizeMove_Activate();
        break;
    case QEvent::WindowDeactivate:
        cSizeMove_Deactivate();
        break;
    case QEvent::Enter:
        cSizeMove_MouseOverForm();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void frmTavrin::setTopMost(bool on)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    Desktop::SetTopMost(this, on);
}

bool frmTavrin::isNormalState() const
{
    return !isMinimized() && !isMaximized() && !isFullScreen();
}
