#include "shell/DockingModel.h"

#include <cmath>

int DockingModel::minMainWidth(double border, int tabListWidth)
{
    if (tabListWidth < BaseMinWidth)
        return BaseMinWidth;
    return static_cast<int>(std::lround(tabListWidth + border + 5));
}

DockingModel::DockingModel(QSize virtualScreen)
    : m_screen(virtualScreen)
{
}

void DockingModel::moving(const QRect &proposed)
{
    m_berthed = false;
    // Later tests win: a corner takes bottom, then right, then top, then left.
    if (proposed.left() < 1) {
        m_berthed = true;
        m_side = Left;
    }
    if (proposed.top() < 1) {
        m_berthed = true;
        m_side = Top;
    }
    if (proposed.left() + proposed.width() >= m_screen.width()) {
        m_berthed = true;
        m_side = Right;
    }
    if (proposed.top() + proposed.height() >= m_screen.height()) {
        m_berthed = true;
        m_side = Bottom;
    }
}

QRect DockingModel::sizing(const QRect &proposed)
{
    QRect clamped = proposed;
    clamped.setWidth(std::max(proposed.width(), m_minWidth));
    clamped.setHeight(std::max(proposed.height(), MinHeight));
    moving(clamped);
    return clamped;
}

QRect DockingModel::shown(const QRect &window) const
{
    QRect rect = window;
    switch (m_side) {
    case Top: rect.moveTop(0); break;
    case Right: rect.moveLeft(m_screen.width() - window.width()); break;
    case Bottom: rect.moveTop(m_screen.height() - window.height()); break;
    case Left: rect.moveLeft(0); break;
    }
    return rect;
}

QRect DockingModel::slideStep(const QRect &window, bool *done) const
{
    QRect rect = window;
    const bool vertical = m_side == Top || m_side == Bottom;
    const int step = (vertical ? window.height() : window.width()) / SlideSteps;
    *done = false;
    switch (m_side) {
    case Top:
        rect.moveTop(window.top() - step);
        if (rect.top() + rect.height() <= VisibleStrip) {
            rect.moveTop(VisibleStrip - rect.height());
            *done = true;
        }
        break;
    case Right:
        rect.moveLeft(window.left() + step);
        if (rect.left() >= m_screen.width() - VisibleStrip) {
            rect.moveLeft(m_screen.width() - VisibleStrip);
            *done = true;
        }
        break;
    case Bottom:
        rect.moveTop(window.top() + step);
        if (rect.top() >= m_screen.height() - VisibleStrip) {
            rect.moveTop(m_screen.height() - VisibleStrip);
            *done = true;
        }
        break;
    case Left:
        rect.moveLeft(window.left() - step);
        if (rect.left() + rect.width() <= VisibleStrip) {
            rect.moveLeft(VisibleStrip - rect.width());
            *done = true;
        }
        break;
    }
    return rect;
}

QRect DockingModel::remembered(const QRect &window) const
{
    return m_berthed ? shown(window) : window;
}
