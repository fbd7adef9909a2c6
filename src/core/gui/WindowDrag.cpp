#include "core/gui/WindowDrag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>

WindowDrag::WindowDrag(QWidget &window, Rules rules)
    : QObject(&window)
    , m_window(window)
    , m_rules(std::move(rules))
{
    m_timer.setInterval(SampleMs);
    connect(&m_timer, &QTimer::timeout, this, &WindowDrag::step);
}

void WindowDrag::start(Kind kind)
{
    m_kind = kind;
    m_startCursor = QCursor::pos();
    m_startRect = m_window.geometry();
    m_timer.start();
}

void WindowDrag::step()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        m_timer.stop();
        m_kind = Kind::None;
        Q_EMIT finished();
        return;
    }
    const QPoint delta = QCursor::pos() - m_startCursor;
    QRect proposed = m_startRect;
    if (m_kind == Kind::Move)
        proposed.translate(delta);
    else
        proposed.setSize(proposed.size() + QSize(delta.x(), delta.y()));
    if (m_rules)
        m_rules(m_kind, proposed);
    if (proposed != m_window.geometry())
        m_window.setGeometry(proposed);
}
