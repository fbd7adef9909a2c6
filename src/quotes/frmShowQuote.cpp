#include "quotes/frmShowQuote.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "core/gui/WindowDrag.h"
#include "pagebridge/PageBridge.h"
#include "pages/QuotePanelPage.h"
#include "quotes/QuotePanelLayout.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineView>

namespace {

QVariantMap part(const QString &tag, const QString &text = {}, const QString &className = {}, const QVariantMap &attributes = {},
                 const QVariantList &children = {})
{
    return {{QStringLiteral("tag"), tag}, {QStringLiteral("text"), text}, {QStringLiteral("className"), className},
            {QStringLiteral("attributes"), attributes}, {QStringLiteral("children"), children}};
}

int stored(const QLatin1StringView &attribute)
{
    return Globals().Config.GetNodeAttribNumber(ConfigPaths::QuoteWindow, attribute);
}

} // namespace

frmShowQuote::frmShowQuote(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_page(new PageBridge(this))
    , m_drag(new WindowDrag(*this, [this](WindowDrag::Kind kind, QRect &proposed) {
        // Sized in width only, at most as wide as the screens.
        if (kind == WindowDrag::Kind::Size) {
            const QScreen *screen = QGuiApplication::primaryScreen();
            proposed.setHeight(height());
            proposed.setWidth(std::min(proposed.width(), screen ? screen->virtualSize().width() : proposed.width()));
        }
    }))
{
    setWindowTitle(QStringLiteral("Tessaly"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    connect(m_drag, &WindowDrag::finished, this, &frmShowQuote::snapWidth);
    m_page->load(QuotePanelPage::Name,
                 {PageBridge::bind(QuotePanelPage::Move, "onmousedown", "WindowMove",
                                   [this](const PageBridge::Event &) { m_drag->start(WindowDrag::Kind::Move); }),
                  PageBridge::bind(QuotePanelPage::Grip, "onmousedown", "SizeGrip",
                                   [this](const PageBridge::Event &) { m_drag->start(WindowDrag::Kind::Size); }),
                  PageBridge::bind(QuotePanelPage::Close, "onclick", "CloseX", [this](const PageBridge::Event &) { close(); })});
    // Its place and width, when all are set and a screen still has the place.
    const QPoint place(stored(ConfigPaths::Left), stored(ConfigPaths::Top));
    const int width = stored(ConfigPaths::FixedWidth);
    resize(width > 0 ? width : 200, 40);
    if (place.x() > 0 && place.y() > 0 && width > 0 && QGuiApplication::screenAt(place))
        move(place);
    m_page->view()->setGeometry(rect());
}

void frmShowQuote::MakeTable(const QList<Column> &columns)
{
    QVariantList heads, values;
    for (const Column &column : columns) {
        heads << part(QStringLiteral("td"), column.name, QStringLiteral("tHead"), {{QStringLiteral("width"), QStringLiteral("64px")}});
        values << part(QStringLiteral("td"), {}, {}, {},
                       {part(QStringLiteral("span"), column.pip, QStringLiteral("QuotePip"), {{QStringLiteral("id"), u'p' + column.code}}),
                        part(QStringLiteral("span"), column.fract, QStringLiteral("FractPip"), {{QStringLiteral("id"), u'l' + column.code}})});
    }
    m_page->setParts(QuotePanelPage::Layout,
                     {part(QStringLiteral("table"), {}, {}, {{QStringLiteral("id"), QStringLiteral("Quote")}, {QStringLiteral("cellspacing"), QStringLiteral("0")}},
                           {part(QStringLiteral("tbody"), {}, {}, {},
                                 {part(QStringLiteral("tr"), {}, {}, {}, heads),
                                  part(QStringLiteral("tr"), {}, QStringLiteral("values"), {}, values)})})});
    ResizeWindow();
}

void frmShowQuote::UpdateQuote(const QString &SymBol, const QString &Value, const QString &FractPip, const QString &ccc)
{
    for (const auto &[id, text] : {std::pair{u'p' + SymBol, Value}, std::pair{u'l' + SymBol, FractPip}}) {
        m_page->setStyle(id, QStringLiteral("color"), ccc);
        m_page->setText(id, text);
    }
}

void frmShowQuote::ResizeWindow()
{
    m_page->measure({QuotePanelPage::Layout}, [this](const QJsonObject &result) {
        m_fixedHeight = std::max(1, result.value(QuotePanelPage::Layout).toObject().value(QStringLiteral("height")).toInt());
        const int width = stored(ConfigPaths::FixedWidth);
        resize(width > 0 ? width : this->width(), m_fixedHeight);
        snapWidth();
    });
}

void frmShowQuote::snapWidth()
{
    const int width = QuotePanelLayout::columns(this->width()) * QuotePanelLayout::ColumnWidth;
    resize(width, m_fixedHeight > 0 ? m_fixedHeight : height());
    m_page->view()->setGeometry(rect());
    Globals().Config.SetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::FixedWidth, QString::number(width));
}

void frmShowQuote::closeByProgram()
{
    m_byProgram = true;
    close();
}

void frmShowQuote::closeEvent(QCloseEvent *event)
{
    cls_Config &config = Globals().Config;
    // Closed by its own close image it stays closed; by the program it comes back with the quotes.
    config.SetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::Status, m_byProgram ? QStringLiteral("1") : QStringLiteral("0"));
    config.SetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::Left, QString::number(x()));
    config.SetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::Top, QString::number(y()));
    config.SetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::FixedWidth, QString::number(width()));
    event->accept();
    Q_EMIT closed();
}
