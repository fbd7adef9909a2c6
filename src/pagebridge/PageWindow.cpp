#include "pagebridge/PageWindow.h"

#include "core/gui/Desktop.h"
#include "core/gui/WindowDrag.h"
#include "pagebridge/PageBridge.h"

#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

PageWindow::PageWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_page(new PageBridge(this))
    , m_drag(new WindowDrag(*this))
{
    setWindowTitle(QStringLiteral("Tessaly"));
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void PageWindow::startMove()
{
    if (!windowHandle() || !windowHandle()->startSystemMove())
        m_drag->start(WindowDrag::Kind::Move);
}

void PageWindow::place(std::optional<QPoint> where, const QPoint &fallback)
{
    m_place = where && Desktop::MostlyOnScreens(QRect(*where, size())) ? *where : fallback;
    move(m_place);
}

void PageWindow::showWhenReady()
{
    m_showWhenReady = true;
    m_page->whenReady([this] {
        if (m_showWhenReady)
            show();
    });
}

bool PageWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Close)
        m_showWhenReady = false;
    return QWidget::event(event);
}

void PageWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Window managers place new tool windows as they like: its place is its
    // own, once the manager has done.
    move(m_place);
    QTimer::singleShot(0, this, [this] { move(m_place); });
}

void PageWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_page->view()->setGeometry(rect());
}
