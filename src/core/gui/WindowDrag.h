#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <functional>

class QWidget;

// Moves or sizes a frameless window by our own code while the left button is
// held: the pointer is sampled, and every proposed rectangle passes the
// window's own rules (docking) before the window takes it.
class WindowDrag : public QObject
{
    Q_OBJECT

public:
    enum class Kind { None, Move, Size };
    // Adjusts a proposed rectangle in place.
    using Rules = std::function<void(Kind, QRect &)>;

    static constexpr int SampleMs = 10;

    explicit WindowDrag(QWidget &window, Rules rules = {});

    void setRules(Rules rules) { m_rules = std::move(rules); }
    void start(Kind kind);
    Kind kind() const { return m_kind; }
    bool active() const { return m_kind != Kind::None; }

Q_SIGNALS:
    // The button was let go.
    void finished();

private:
    void step();

    QWidget &m_window;
    Rules m_rules;
    QTimer m_timer;
    Kind m_kind = Kind::None;
    QPoint m_startCursor;
    QRect m_startRect;
};
