#include "quotes/frmShowQuote.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "core/gui/WindowDrag.h"
#include "pagebridge/PageBridge.h"
#include "pagebridge/PagePart.h"
#include "pages/QuotePanelPage.h"
#include "quotes/QuotePanelLayout.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

int stored(const QLatin1StringView &attribute)
{
    return Globals().Config.GetNodeAttribNumber(ConfigPaths::QuoteWindow, attribute);
}

// Where the user left the panel: none when no place is stored (empty, or the
// (-1, -1) of older files where no screen has that point).
std::optional<QPoint> storedPlace()
{
    const cls_Config &config = Globals().Config;
    bool hasX = false;
    bool hasY = false;
    const QPoint place(config.GetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::Left).trimmed().toInt(&hasX),
                       config.GetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::Top).trimmed().toInt(&hasY));
    if (!hasX || !hasY || (place == QPoint(-1, -1) && !QGuiApplication::screenAt(place)))
        return std::nullopt;
    return place;
}

} // namespace

frmShowQuote::frmShowQuote(QWidget *parent)
    : PageWindow(parent)
{
    drag().setRules([this](WindowDrag::Kind kind, QRect &proposed) {
        // Sized in width only, at most as wide as the screens.
        if (kind == WindowDrag::Kind::Size) {
            const QScreen *screen = QGuiApplication::primaryScreen();
            proposed.setHeight(height());
            proposed.setWidth(std::min(proposed.width(), screen ? screen->virtualSize().width() : proposed.width()));
        }
    });
    connect(&drag(), &WindowDrag::finished, this, &frmShowQuote::snapWidth);
    page().load(QuotePanelPage::Name,
                {PageBridge::bind(QuotePanelPage::Move, "onmousedown", "WindowMove", [this](const PageBridge::Event &) { startMove(); }),
                 PageBridge::bind(QuotePanelPage::Grip, "onmousedown", "SizeGrip",
                                  [this](const PageBridge::Event &) { drag().start(WindowDrag::Kind::Size); }),
                 PageBridge::bind(QuotePanelPage::Close, "onclick", "CloseX", [this](const PageBridge::Event &) { close(); })});
    // Its place and width, when both are set and the screens still show it.
    const int width = stored(ConfigPaths::FixedWidth);
    resize(width > 0 ? width : 200, 40);
    const QRect area = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    place(width > 0 ? storedPlace() : std::nullopt, area.topRight() - QPoint(this->width() + 20, -20));
}

void frmShowQuote::MakeTable(const QList<Column> &columns)
{
    QVariantList heads, values;
    for (const Column &column : columns) {
        heads << PagePart::element(QStringLiteral("td"), column.name, QStringLiteral("tHead"), {{QStringLiteral("width"), QStringLiteral("64px")}});
        values << PagePart::element(QStringLiteral("td"), {}, {}, {},
                       {PagePart::element(QStringLiteral("span"), column.pip, QStringLiteral("QuotePip"), {{QStringLiteral("id"), u'p' + column.code}}),
                        PagePart::element(QStringLiteral("span"), column.fract, QStringLiteral("FractPip"), {{QStringLiteral("id"), u'l' + column.code}})});
    }
    page().setParts(QuotePanelPage::Layout,
                     {PagePart::element(QStringLiteral("table"), {}, {}, {{QStringLiteral("id"), QStringLiteral("Quote")}, {QStringLiteral("cellspacing"), QStringLiteral("0")}},
                           {PagePart::element(QStringLiteral("tbody"), {}, {}, {},
                                 {PagePart::element(QStringLiteral("tr"), {}, {}, {}, heads),
                                  PagePart::element(QStringLiteral("tr"), {}, QStringLiteral("values"), {}, values)})})});
    ResizeWindow();
}

void frmShowQuote::UpdateQuote(const QString &SymBol, const QString &Value, const QString &FractPip, const QString &ccc)
{
    for (const auto &[id, text] : {std::pair{u'p' + SymBol, Value}, std::pair{u'l' + SymBol, FractPip}}) {
        page().setStyle(id, QStringLiteral("color"), ccc);
        page().setText(id, text);
    }
}

void frmShowQuote::ResizeWindow()
{
    page().measure({QuotePanelPage::Layout}, [this](const QJsonObject &result) {
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
