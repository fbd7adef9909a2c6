#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QWidget;

// A small native popup menu built item by item; PopupMenu shows it and
// answers the command number of the chosen item, 0 when dismissed, without
// waiting in an event loop of its own.
class cls_PopupMenu
{
public:
    // Item types, as bits.
    static constexpr int MF_STRING = 0x0;
    static constexpr int MF_GRAYED = 0x1;
    static constexpr int MF_CHECKED = 0x8;
    static constexpr int MF_SEPARATOR = 0x800;

    cls_PopupMenu();
    ~cls_PopupMenu();

    void CreateMenu();
    void AddMenuItem(const QString &itemCaption, int itemType, int itemNumber);
    void CreateSubmenu(const QString &itemCaption);
    void AddSubmenuItem(const QString &itemCaption, int itemType, int itemNumber);
    // Radio-checks the item at `radioItem` among the positions first..last of
    // the main menu (menuHand 0) or of the last submenu.
    void CheckRadioItem(int firstItem, int lastItem, int radioItem, int menuHand = 0);
    // At (mx, my), or at the pointer when either is -1: `chosen` gets the
    // command number, 0 when the menu is closed without a choice. The menu
    // must outlive the choice.
    void PopupMenu(std::function<void(int)> chosen, int mx = -1, int my = -1);
    void DeleteMenu();
    QMenu *menu() const { return m_menu.get(); }

private:
    std::unique_ptr<QMenu> m_menu;
    QMenu *m_submenu = nullptr;
};
