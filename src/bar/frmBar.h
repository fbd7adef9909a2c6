#pragma once

#include "bar/TickerModel.h"
#include "pagebridge/PageWindow.h"

#include <QTimer>

// The floating ticker bar: "ibar.htm" in a borderless, rounded, topmost
// strip of 620 × 32 that shows the five newest items in turn, newest first.
// It remembers its place in Window/FXBar and is dragged by its strip.
class frmBar : public PageWindow
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

private:
    void showItem(const TickerModel::Shown &shown);

    TickerModel m_items;
    QTimer ctlTime;
    bool m_exiting = false;
};
