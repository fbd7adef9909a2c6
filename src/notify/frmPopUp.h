#pragma once

#include "PageBridge.h"

#include <QTimer>
#include <QWidget>

// The notification popup: items slide up out of the bottom-right corner of
// the work area in the page "iPopup.htm", stay for ShowDelay and fade out.
class frmPopUp : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 10;
    static constexpr int Steps = 12;
    static constexpr int TickMs = 50;

    explicit frmPopUp(QWidget *parent = nullptr);

    // Waits, with events running, until the page is loaded and bound.
    void WaitLoad();
    bool Busy() const { return m_page->Busy(); }
    // Items separated by "~", newest first; the newest ends on top.
    void AddHtml(const QString &html);
    void setShowDelay(int milliseconds) { m_showDelay = milliseconds; }
    int ShowDelay() const { return m_showDelay; }
    void Popup();
    int PopUpStatus() const { return m_status; }
    int rowCount() const { return m_rows; }

    Q_INVOKABLE void CloseFrm();
    Q_INVOKABLE void WindowMove();
    Q_INVOKABLE void ClickLink();
    Q_INVOKABLE void ClickMore();
    Q_INVOKABLE void WebDoc_oncontextmenu();

Q_SIGNALS:
    void closed();
    void linkClicked(const QString &url);
    void moreClicked();

private:
    void tick();
    void place(int top, int height);
    void measure();

    PageBridge *m_page;
    QTimer m_timer;
    QTimer m_dragTimer;
    QPoint m_dragOffset;
    int m_rows = 1; // the page starts with one empty row
    int m_width = 282;
    int m_height = 0;
    int m_left = 0;
    int m_startTop = 0;
    int m_targetTop = 0;
    int m_currentTop = 0;
    int m_currentHeight = 0;
    int m_step = 0;
    int m_counter = 0;
    int m_status = 0;
    int m_showDelay = 3500;
};
