#include "shell/EdgeDocking.h"

#include "core/gui/Desktop.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QSize virtualScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualSize() : QSize(1920, 1080);
}

} // namespace

EdgeDocking::EdgeDocking(QWidget &window)
    : QObject(&window)
    , m_window(window)
    , m_docking(virtualScreenSize())
{
    m_ctlTimeLeave.setInterval(1000);
    m_ctlTimeBerth.setInterval(10);
    connect(&m_ctlTimeLeave, &QTimer::timeout, this, &EdgeDocking::ctlTimeLeave_Timer);
    connect(&m_ctlTimeBerth, &QTimer::timeout, this, &EdgeDocking::ctlTimeBerth_Timer);
    window.installEventFilter(this);
}

bool EdgeDocking::eventFilter(QObject *watched, QEvent *event)
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
    case QEvent::Resize:
        // Docking itself only moves the window: a new size came from elsewhere.
        if (!m_dragging)
            QTimer::singleShot(0, this, &EdgeDocking::recheck);
        break;
    case QEvent::WindowStateChange:
        // The geometry of a restored window is its own once the event loop has run.
        QTimer::singleShot(0, this, &EdgeDocking::recheck);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void EdgeDocking::recheck()
{
    if (!m_window.isVisible() || !isNormalState() || m_dragging)
        return;
    QRect rect = m_window.geometry();
    cSizeMove_Moving(rect);
    cSizeMove_ExitSizeMove();
}

QRect EdgeDocking::remembered() const
{
    return m_docking.remembered(m_window.geometry());
}

void EdgeDocking::cSizeMove_Moving(QRect &rect)
{
    m_docking.moving(rect);
    if (m_docking.berthed())
        setTopMost(true);
}

void EdgeDocking::cSizeMove_Sizing(QRect &rect)
{
    rect = m_docking.sizing(rect);
    if (m_docking.berthed())
        setTopMost(true);
}

void EdgeDocking::cSizeMove_ExitSizeMove()
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

void EdgeDocking::BerthShow()
{
    if (!isNormalState())
        return;
    m_window.setGeometry(m_docking.shown(m_window.geometry()));
    if (m_docking.armed())
        m_ctlTimeLeave.start();
}

void EdgeDocking::BerthLeave()
{
    if (isNormalState())
        m_ctlTimeBerth.start();
}

bool EdgeDocking::cSizeMove_AreaIn() const
{
    return m_window.frameGeometry().contains(QCursor::pos());
}

void EdgeDocking::ctlTimeLeave_Timer()
{
    if (!m_dragging && !cSizeMove_AreaIn()) {
        m_ctlTimeLeave.stop();
        BerthLeave();
    }
}

void EdgeDocking::ctlTimeBerth_Timer()
{
    if (!isNormalState()) {
        m_ctlTimeBerth.stop();
        return;
    }
    bool done = false;
    m_window.setGeometry(m_docking.slideStep(m_window.geometry(), &done));
    if (done)
        m_ctlTimeBerth.stop();
}

void EdgeDocking::cSizeMove_MouseOverForm()
{
    if (!m_ctlTimeBerth.isActive() && m_docking.berthed() && !m_dragging) {
        m_docking.setArmed(true);
        BerthShow();
    }
}

void EdgeDocking::cSizeMove_Activate()
{
    if (m_docking.berthed()) {
        m_docking.setArmed(false);
        BerthShow();
    }
}

void EdgeDocking::cSizeMove_Deactivate()
{
    if (m_docking.berthed() && !m_dragging)
        BerthLeave();
}

void EdgeDocking::setTopMost(bool on)
{
    if (m_window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    Desktop::SetTopMost(&m_window, on);
}

bool EdgeDocking::isNormalState() const
{
    return !m_window.isMinimized() && !m_window.isMaximized() && !m_window.isFullScreen();
}
