#include "core/gui/cls_PopupMenu.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>

#include <memory>

namespace {

void addItem(QMenu *menu, const QString &caption, int type, int number)
{
    if (type & cls_PopupMenu::MF_SEPARATOR) {
        menu->addSeparator();
        return;
    }
    QAction *action = menu->addAction(caption);
    action->setData(number);
    action->setEnabled(!(type & cls_PopupMenu::MF_GRAYED));
    if (type & cls_PopupMenu::MF_CHECKED) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

} // namespace

cls_PopupMenu::cls_PopupMenu()
{
    CreateMenu();
}

cls_PopupMenu::~cls_PopupMenu() = default;

void cls_PopupMenu::CreateMenu()
{
    if (!m_menu)
        m_menu = std::make_unique<QMenu>();
}

void cls_PopupMenu::AddMenuItem(const QString &itemCaption, int itemType, int itemNumber)
{
    CreateMenu();
    addItem(m_menu.get(), itemCaption, itemType, itemNumber);
}

void cls_PopupMenu::CreateSubmenu(const QString &itemCaption)
{
    CreateMenu();
    m_submenu = m_menu->addMenu(itemCaption);
}

void cls_PopupMenu::AddSubmenuItem(const QString &itemCaption, int itemType, int itemNumber)
{
    if (m_submenu)
        addItem(m_submenu, itemCaption, itemType, itemNumber);
}

void cls_PopupMenu::CheckRadioItem(int firstItem, int lastItem, int radioItem, int menuHand)
{
    QMenu *menu = menuHand == 0 ? m_menu.get() : m_submenu;
    if (!menu)
        return;
    const QList<QAction *> actions = menu->actions();
    for (int i = firstItem; i <= lastItem && i < actions.size(); ++i) {
        actions.at(i)->setCheckable(true);
        actions.at(i)->setChecked(i == radioItem);
    }
}

void cls_PopupMenu::PopupMenu(std::function<void(int)> chosen, int mx, int my)
{
    if (!m_menu) {
        chosen(0);
        return;
    }
    const QPoint at = (mx == -1 || my == -1) ? QCursor::pos() : QPoint(mx, my);
    auto answered = std::make_shared<bool>(false);
    auto answer = [chosen, answered](int command) {
        if (!*answered) {
            *answered = true;
            chosen(command);
        }
    };
    m_menu->disconnect();
    QObject::connect(m_menu.get(), &QMenu::triggered, m_menu.get(), [answer](QAction *action) { answer(action->data().toInt()); });
    // A menu closed without a choice: once a choice, which comes right after the hiding, has had its turn.
    QObject::connect(m_menu.get(), &QMenu::aboutToHide, m_menu.get(),
                     [menu = m_menu.get(), answer] { QTimer::singleShot(0, menu, [answer] { answer(0); }); });
    m_menu->popup(at);
}

void cls_PopupMenu::DeleteMenu()
{
    m_menu.reset();
    m_submenu = nullptr;
}
