#pragma once

#include <QRect>
#include <QSize>

// The arithmetic of edge docking, without a window: which screen edge a
// rectangle touches, where a docked window shows and where it hides, the size
// limits of the main window. Screen coordinates, origin at (0, 0).
class DockingModel
{
public:
    enum Side { Top = 0, Right = 1, Bottom = 2, Left = 3 };
    static constexpr int MinHeight = 650;
    static constexpr int BaseMinWidth = 920;
    static constexpr int VisibleStrip = 3;
    static constexpr int SlideSteps = 15;

    // The main window's minimum width for a tab list of that width.
    static int minMainWidth(double border, int tabListWidth);

    explicit DockingModel(QSize virtualScreen = QSize());

    void setVirtualScreen(QSize size) { m_screen = size; }
    QSize virtualScreen() const { return m_screen; }
    void setMinMainWidth(int width) { m_minWidth = width; }
    int minMainWidth() const { return m_minWidth; }

    // A window being dragged: notes whether the rectangle touches an edge
    // (bottom over right over top over left); the rectangle stays as it is.
    void moving(const QRect &proposed);
    // A window being resized: the rectangle held to the minimum size, then as moving.
    QRect sizing(const QRect &proposed);

    bool berthed() const { return m_berthed; }
    Side side() const { return m_side; }
    bool armed() const { return m_armed; }
    void setArmed(bool armed) { m_armed = armed; }

    // The window fully on screen against its edge.
    QRect shown(const QRect &window) const;
    // One step of sliding out of sight; `done` when only the strip is left.
    QRect slideStep(const QRect &window, bool *done) const;
    // Where a docked window is remembered: as shown against its edge.
    QRect remembered(const QRect &window) const;

private:
    QSize m_screen;
    int m_minWidth = BaseMinWidth;
    bool m_berthed = false;
    bool m_armed = false;
    Side m_side = Top;
};
