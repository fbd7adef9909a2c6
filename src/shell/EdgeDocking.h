#pragma once

#include "shell/DockingModel.h"

#include <QObject>
#include <QRect>
#include <QTimer>

class QWidget;

// Edge docking of a window: a window dragged, sized or restored against a
// screen edge berths there and stays on top; when the pointer leaves it, it
// slides out of sight but for a strip, and touching the strip brings it back.
// It watches the window's activation, pointer and size events itself.
class EdgeDocking : public QObject
{
    Q_OBJECT

public:
    explicit EdgeDocking(QWidget &window);

    const DockingModel &model() const { return m_docking; }
    void setMinMainWidth(int width) { m_docking.setMinMainWidth(width); }
    // Where the window is remembered: as shown against its edge.
    QRect remembered() const;

    // The window's own drag: a proposed rectangle, and the end of the drag.
    void setDragging(bool dragging) { m_dragging = dragging; }
    void cSizeMove_Moving(QRect &rect);
    void cSizeMove_Sizing(QRect &rect);
    void cSizeMove_ExitSizeMove();
    void cSizeMove_MouseOverForm();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cSizeMove_Activate();
    void cSizeMove_Deactivate();
    // Sized or restored by someone else: the rules see a move that has ended.
    void recheck();
    void BerthShow();
    void BerthLeave();
    void ctlTimeLeave_Timer();
    void ctlTimeBerth_Timer();
    bool cSizeMove_AreaIn() const;
    bool isNormalState() const;
    void setTopMost(bool on);

    QWidget &m_window;
    DockingModel m_docking;
    QTimer m_ctlTimeLeave;
    QTimer m_ctlTimeBerth;
    bool m_dragging = false;
};
