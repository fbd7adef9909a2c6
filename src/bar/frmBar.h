#pragma once

#include "bar/TickerModel.h"

#include <QTimer>
#include <QWidget>

class PageBridge;
class WindowDrag;

// The floating ticker bar: "ibar.htm" in a borderless, rounded, topmost
// strip of 620 × 32 that shows the five newest items in turn, newest first.
// It opens without waiting for its page, remembers its place in
// Window/FXBar, and is dragged by its strip.
class frmBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize ClientSize{620, 32};

    explicit frmBar(QWidget *parent = nullptr);

    // A new item: shown at once, marked new.
    void iNew(const NewsRow &row);
    // Closed by the program (at exit): not a close of the user's.
    void closeForExit();

Q_SIGNALS:
    void moreClicked();
    // The user closed the bar.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showItem(const TickerModel::Shown &shown);
    void WindowMove();

    PageBridge *m_page;
    WindowDrag *m_drag;
    TickerModel m_items;
    QTimer ctlTime;
    QPoint m_place;
    bool m_exiting = false;
};
