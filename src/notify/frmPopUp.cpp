#include "frmPopUp.h"

#include "Desktop.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QWebEngineView>

frmPopUp::frmPopUp(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_page(new PageBridge(this, this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Tessaly速递"));
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &frmPopUp::tick);
    m_dragTimer.setInterval(10);
    connect(&m_dragTimer, &QTimer::timeout, this, [this] {
        if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
            m_dragTimer.stop();
        else
            move(QCursor::pos() - m_dragOffset);
    });
    auto b = [](const char *id, const char *event, const char *operation) {
        return PageBridge::Binding{QString::fromLatin1(id), QString::fromLatin1(event), QString::fromLatin1(operation)};
    };
    m_page->load(QStringLiteral("iPopup.htm"), {b("popupWin_CloseButton", "onclick", "CloseFrm"),
                                                 b("popupWin_iLink", "onclick", "ClickLink"),
                                                 b("popupWin_LinkMore", "onclick", "ClickMore"),
                                                 b("popupWin_CaptionText", "onmousedown", "WindowMove"),
                                                 b("popupBody", "oncontextmenu", "WebDoc_oncontextmenu")});
    resize(m_width, 0);
}

void frmPopUp::WaitLoad()
{
    QElapsedTimer clock;
    clock.start();
    while (m_page->Busy() && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void frmPopUp::AddHtml(const QString &html)
{
    const QStringList parts = html.split(u'~');
    for (qsizetype i = parts.size() - 1; i >= 0; --i) {
        m_page->insertRow(QStringLiteral("popupWin_Table"), m_rows > 0 ? 0 : -1,
                          {QVariantMap{{QStringLiteral("html"), parts.at(i)},
                                       {QStringLiteral("style"), QVariantMap{{QStringLiteral("verticalAlign"), QStringLiteral("middle")}}}}});
        ++m_rows;
        if (m_rows > MaxRows) {
            m_page->deleteRow(QStringLiteral("popupWin_Table"), -1);
            --m_rows;
        }
    }
    measure();
}

void frmPopUp::measure()
{
    m_page->measure({QStringLiteral("popupWin")}, [this](const QJsonObject &result) {
        const QJsonObject box = result.value(QStringLiteral("popupWin")).toObject();
        if (box.isEmpty())
            return;
        m_width = box.value(QStringLiteral("width")).toInt();
        m_height = box.value(QStringLiteral("height")).toInt();
        m_page->view()->setGeometry(0, 0, m_width, m_height);
    });
}

void frmPopUp::Popup()
{
    // The page's size is known before the slide starts.
    if (m_height == 0) {
        m_page->measure({QStringLiteral("popupWin")}, [this](const QJsonObject &result) {
            const QJsonObject box = result.value(QStringLiteral("popupWin")).toObject();
            m_width = std::max(1, box.value(QStringLiteral("width")).toInt());
            m_height = std::max(1, box.value(QStringLiteral("height")).toInt());
            m_page->view()->setGeometry(0, 0, m_width, m_height);
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
        if (m_showDelay == -1)
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
    hide();
    for (int i = m_rows - 1; i >= 0; --i)
        m_page->deleteRow(QStringLiteral("popupWin_Table"), i);
    m_rows = 0;
    Q_EMIT closed();
}

void frmPopUp::WindowMove()
{
    m_dragOffset = QCursor::pos() - pos();
    m_dragTimer.start();
}

void frmPopUp::ClickLink()
{
    const QString url = m_page->invokingElementText();
    if (m_rows == 1)
        CloseFrm();
    Q_EMIT linkClicked(url);
}

void frmPopUp::ClickMore()
{
    CloseFrm();
    Q_EMIT moreClicked();
}

void frmPopUp::WebDoc_oncontextmenu()
{
    CloseFrm();
}
