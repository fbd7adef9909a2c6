#pragma once

#include "core/Notification.h"
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
    // A show delay: it stays until the user closes it.
    static constexpr int UntilClosed = -1;

    explicit frmPopUp(QWidget *parent = nullptr);

    bool Busy() const { return m_page->Busy(); }
    // Its rows go on top, the newest uppermost; a row on show already is not
    // shown twice; its marks (texts) are marked in the rows it brings.
    void add(const Notification &notification);
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
    void insertRow(const QString &key, const QVariantList &parts, const QStringList &marks);
    static QVariantList itemParts(const QString &icon, const Notification::Line &line);
    static QVariantList reminderParts(const Notification &notification);

    PageBridge *m_page;
    WindowDrag *m_drag;
    QTimer m_timer;
    QStringList m_shown; // the rows in the table, newest first, each by its content
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
