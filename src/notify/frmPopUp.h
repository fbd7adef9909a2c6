#pragma once

#include "pagebridge/PageBridge.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

class WindowDrag;

// The notification popup: items slide up out of the bottom-right corner of
// the work area in the page "iPopup.htm", stay for ShowDelay and fade out.
// It may be filled and shown at once: the page takes what came before it was
// ready as soon as it is.
class frmPopUp : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 10;
    static constexpr int Steps = 12;
    static constexpr int TickMs = 50;

    explicit frmPopUp(QWidget *parent = nullptr);

    bool Busy() const { return m_page->Busy(); }
    // Snippets separated by "~", newest first; those not on show yet go on
    // top, newest uppermost, so every item shows once; the marks (texts)
    // are marked in the rows they bring.
    void AddHtml(const QString &html, const QStringList &marks = {});
    void setShowDelay(int milliseconds) { m_showDelay = milliseconds; }
    int ShowDelay() const { return m_showDelay; }
    void Popup();
    // Stays on screen until closed, from whatever point of its showing.
    void stay();
    // Shown and not closed since (sliding, staying or fading).
    bool isOpen() const { return m_open; }
    int PopUpStatus() const { return m_status; }
    int rowCount() const { return m_rows; }

    void CloseFrm();

Q_SIGNALS:
    void closed();
    // A person clicked an item with a link.
    void linkClicked(const QString &url);
    void moreClicked();

private:
    void ClickLink(const PageBridge::Event &event);
    void tick();
    void place(int top, int height);
    void measure(std::function<void()> then = {});

    PageBridge *m_page;
    WindowDrag *m_drag;
    QTimer m_timer;
    QStringList m_shown; // snippets in the table, newest first
    int m_rows = 1;      // the page starts with one empty row
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
    bool m_open = false;
};
