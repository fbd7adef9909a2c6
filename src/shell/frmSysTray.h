#pragma once

#include "shell/TrayText.h"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

// The program's tray icon: tool tip, balloons that close at the latest after
// their time-out, the tray menu, and the clicks the controller listens to.
class frmSysTray : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxTitle = 63;
    static constexpr int MaxMessage = 255;
    static constexpr int MaxTip = 127;

    explicit frmSysTray(QObject *parent = nullptr);
    ~frmSysTray() override;

    // Whether the icon sits in a tray; without one nothing arrives.
    bool isShown() const;
    // eIcon: 0 none, 1 information, 2 warning, 3 error.
    void ShowBalloonTip(const QString &sMessage, const QString &sTitle = {}, int eIcon = 0, int lTimeOutMs = 0);
    void CloseBalloonTip();
    void ShellTrayIconRemove();
    void ShowMenu();
    QMenu &menu() { return m_menu; }
    QSystemTrayIcon &icon() { return m_icon; }

Q_SIGNALS:
    void SysTrayMouseDown(int eButton);
    void SysTrayDoubleClick(int eButton);
    void BalloonClicked();
    void MenuClick(const QString &sKey);

private:
    const TrayText::Tray m_tray;
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    QTimer m_balloonTimer;
};
