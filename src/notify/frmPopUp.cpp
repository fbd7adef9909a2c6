#include "notify/frmPopUp.h"

#include "core/gui/Desktop.h"
#include "core/gui/WindowDrag.h"
#include "pagebridge/PagePart.h"
#include "pages/PopupPage.h"

#include <QUrl>
#include <QWebEngineView>

frmPopUp::frmPopUp(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_page(new PageBridge(this))
    , m_drag(new WindowDrag(*this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Tessaly速递"));
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &frmPopUp::tick);
    constexpr auto on = &PageBridge::bind;
    m_page->load(PopupPage::Name,
                 {on(PopupPage::CloseButton, "onclick", "CloseFrm", [this](const PageBridge::Event &) { CloseFrm(); }),
                  on(PopupPage::Link, "onclick", "ClickLink", [this](const PageBridge::Event &event) { ClickLink(event); }),
                  on(PopupPage::MoreLink, "onclick", "ClickMore",
                     [this](const PageBridge::Event &) {
                         CloseFrm();
                         Q_EMIT moreClicked();
                     }),
                  on(PopupPage::Caption, "onmousedown", "WindowMove",
                     [this](const PageBridge::Event &) { m_drag->start(WindowDrag::Kind::Move); }),
                  on(PopupPage::Body, "oncontextmenu", "WebDoc_oncontextmenu", [this](const PageBridge::Event &) { CloseFrm(); })});
    resize(m_width, 0);
    // Its rows went with its renderer: it closes, and the next item opens a new one.
    connect(m_page, &PageBridge::rendererGone, this, [this] {
        m_shown.clear();
        m_rows = 1;
        m_height = 0;
        if (m_open) {
            m_timer.stop();
            m_status = 0;
            m_open = false;
            hide();
            Q_EMIT closed();
        }
    });
}

void frmPopUp::add(const Notification &notification)
{
    if (!notification.heading.isEmpty()) {
        QStringList key{notification.heading};
        for (const Notification::Line &line : notification.lines)
            key << line.time << line.text;
        insertRow(key.join(u'\n'), reminderParts(notification), notification.marks);
    } else {
        for (qsizetype i = notification.lines.size() - 1; i >= 0; --i) {
            const Notification::Line &line = notification.lines.at(i);
            const QString key = QStringList{notification.icon, line.time, line.text, line.summary, line.link}.join(u'\n');
            insertRow(key, itemParts(notification.icon, line), notification.marks);
        }
    }
    measure();
}

void frmPopUp::insertRow(const QString &key, const QVariantList &parts, const QStringList &marks)
{
    if (m_shown.contains(key))
        return;
    m_page->insertRow(PopupPage::Table, m_rows > 0 ? 0 : -1,
                      {QVariantMap{{QStringLiteral("parts"), parts},
                                   {QStringLiteral("marks"), marks},
                                   {QStringLiteral("style"), QVariantMap{{QStringLiteral("verticalAlign"), QStringLiteral("middle")}}}}});
    m_shown.prepend(key);
    ++m_rows;
    if (m_rows > MaxRows) {
        m_page->deleteRow(PopupPage::Table, -1);
        --m_rows;
        m_shown.removeLast();
    }
}

QVariantList frmPopUp::itemParts(const QString &icon, const Notification::Line &line)
{
    using PagePart::element;
    static const QString space(QChar(0xA0));
    QVariantList text{element(QStringLiteral("#text"), line.time + space + line.text)};
    if (!line.summary.isEmpty() && line.summary != line.text)
        text << element(QStringLiteral("#text"), QStringLiteral("("))
             << element(QStringLiteral("font"), line.summary, {}, {{QStringLiteral("style"), QStringLiteral("color:#0000FF")}})
             << element(QStringLiteral("#text"), QStringLiteral(")"));
    // A linked item is underlined; the page's script opens its link on a click.
    QVariantMap attributes;
    if (!line.link.isEmpty() && PageBridge::isWebAddress(QUrl(line.link)))
        attributes = {{QStringLiteral("style"), QStringLiteral("text-decoration:underline")},
                      {QStringLiteral("data-link"), line.link}};
    return {element(QStringLiteral("img"), {}, {}, {{QStringLiteral("src"), icon}, {QStringLiteral("align"), QStringLiteral("absmiddle")}}),
            element(QStringLiteral("#text"), space), element(QStringLiteral("span"), {}, {}, attributes, text)};
}

QVariantList frmPopUp::reminderParts(const Notification &notification)
{
    // The lines under the heading, a dashed rule between them.
    using PagePart::element;
    QVariantList lines;
    for (const Notification::Line &line : notification.lines) {
        if (!lines.isEmpty())
            lines << element(QStringLiteral("hr"), {}, {},
                             {{QStringLiteral("style"), QStringLiteral("BORDER: #987cb9 1px dashed; ")},
                              {QStringLiteral("width"), QStringLiteral("100%")}, {QStringLiteral("size"), QStringLiteral("1")}});
        lines << element(QStringLiteral("#text"), line.time.isEmpty() ? line.text : line.time + QChar(0xA0) + line.text);
    }
    const QVariantMap noBorder{{QStringLiteral("style"), QStringLiteral("border:none")}};
    const QVariantList cells{
        element(QStringLiteral("td"), {}, {},
                {{QStringLiteral("style"), QStringLiteral("padding:0px 5px 0px 0px; border:none")}, {QStringLiteral("valign"), QStringLiteral("top")}},
                {element(QStringLiteral("img"), {}, {}, {{QStringLiteral("src"), notification.icon}})}),
        element(QStringLiteral("td"), {}, {}, noBorder,
                {element(QStringLiteral("span"), notification.heading, {},
                         {{QStringLiteral("style"), QStringLiteral("font-size:15px;font-weight:bold;")}}),
                 element(QStringLiteral("br")), element(QStringLiteral("span"), {}, {}, {}, lines)})};
    return {element(QStringLiteral("table"), {}, {},
                    {{QStringLiteral("border"), QStringLiteral("0")}, {QStringLiteral("cellspacing"), QStringLiteral("0")},
                     {QStringLiteral("cellpadding"), QStringLiteral("0")}},
                    {element(QStringLiteral("tr"), {}, {}, {}, cells)})};
}

void frmPopUp::measure(std::function<void()> then)
{
    m_page->measure({PopupPage::Window}, [this, then](const QJsonObject &result) {
        const QJsonObject box = result.value(PopupPage::Window).toObject();
        if (!box.isEmpty()) {
            m_width = std::max(1, box.value(QStringLiteral("width")).toInt());
            m_height = std::max(1, box.value(QStringLiteral("height")).toInt());
            m_page->view()->setGeometry(0, 0, m_width, m_height);
        }
        if (then)
            then();
    });
}

void frmPopUp::Popup()
{
    m_open = true;
    // The page's size is known before the slide starts.
    if (m_height == 0) {
        measure([this] {
            if (m_open && m_height > 0)
                Popup();
        });
        return;
    }
    QRect area;
    if (!Desktop::GetWorkArea(area))
        return;
    m_step = m_height / Steps;
    m_targetTop = area.bottom() + 1 - m_height;
    m_startTop = m_currentTop = area.bottom() + 1;
    m_left = area.right() + 1 - m_width;
    m_currentHeight = 0;
    m_counter = 0;
    m_status = 0;
    setWindowOpacity(0.0);
    place(m_startTop, 0);
    m_timer.setInterval(TickMs);
    m_timer.start();
    tick();
}

void frmPopUp::stay()
{
    m_showDelay = UntilClosed;
    if (m_status == 0)
        return; // still sliding in: it stops when it is up
    m_timer.stop();
    m_status = 1;
    m_counter = Steps;
    place(m_targetTop, m_height);
    setWindowOpacity(1.0);
}

void frmPopUp::place(int top, int height)
{
    setGeometry(m_left, top, m_width, std::max(height, 1));
    if (!isVisible())
        show();
}

void frmPopUp::tick()
{
    if (m_status == 0 && m_counter < Steps) {
        m_currentHeight += m_step;
        m_currentTop -= m_step;
        place(m_currentTop, m_currentHeight);
        ++m_counter;
        setWindowOpacity(double(m_counter) / Steps);
    } else if (m_status == 0) {
        place(m_targetTop, m_height);
        m_status = 1;
        setWindowOpacity(1.0);
        if (m_showDelay == UntilClosed)
            m_timer.stop();
        else
            m_timer.setInterval(m_showDelay);
    } else if (m_status == 1) {
        m_timer.setInterval(TickMs);
        m_currentHeight = m_height;
        m_currentTop = m_targetTop;
        m_status = 2;
        m_counter = Steps;
    } else if (m_counter > 0) {
        --m_counter;
        setWindowOpacity(double(m_counter) / Steps);
    } else {
        CloseFrm();
    }
}

void frmPopUp::CloseFrm()
{
    m_timer.stop();
    m_status = 0;
    m_open = false;
    hide();
    for (int i = m_rows - 1; i >= 0; --i)
        m_page->deleteRow(PopupPage::Table, i);
    m_rows = 0;
    m_shown.clear();
    Q_EMIT closed();
}

void frmPopUp::ClickLink(const PageBridge::Event &event)
{
    // The page's hidden link holds the address the clicked item wrote there.
    if (m_rows == 1)
        CloseFrm();
    if (event.byUser)
        Q_EMIT linkClicked(event.text);
}
