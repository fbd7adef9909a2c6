#pragma once

#include <QPoint>
#include <QWidget>

class PageBridge;
class WindowDrag;

// The base of the small windows over one page of ours (the ticker bar, the
// quote panel): borderless and topmost without taking the focus, shown at
// once (the page fills in when it is ready: nothing waits), kept at the
// place it was given, and dragged by the window system where it can.
class PageWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PageWindow(QWidget *parent = nullptr);

    PageBridge &page() { return *m_page; }

protected:
    // Moves the window with the pointer while the left button is held.
    void startMove();
    // Where the window shows; a place on no screen means `fallback`.
    void place(const QPoint &where, const QPoint &fallback);
    WindowDrag &drag() { return *m_drag; }
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PageBridge *m_page;
    WindowDrag *m_drag;
    QPoint m_place;
};
