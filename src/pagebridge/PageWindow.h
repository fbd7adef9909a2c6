#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

class PageBridge;
class WindowDrag;

// The base of the small windows over one page of ours (the ticker bar, the
// quote panel): borderless and topmost without taking the focus, shown when
// its page is ready (never blank), kept at the place it was given, and
// dragged by the window system where it can.
class PageWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PageWindow(QWidget *parent = nullptr);

    PageBridge &page() { return *m_page; }
    // Shows the window once its page is ready, unless it is closed before.
    void showWhenReady();

protected:
    // Moves the window with the pointer while the left button is held.
    void startMove();
    // Where the window shows: `where` when most of the window is on the
    // screens there, else `fallback`.
    void place(std::optional<QPoint> where, const QPoint &fallback);
    WindowDrag &drag() { return *m_drag; }
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PageBridge *m_page;
    WindowDrag *m_drag;
    QPoint m_place;
    bool m_showWhenReady = false;
};
