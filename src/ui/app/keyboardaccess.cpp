#include "ui/app/keyboardaccess.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

KeyboardAccess::KeyboardAccess(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), window);
    menuKey->setObjectName(QStringLiteral("MenuBarShortcut"));
    connect(menuKey, &QShortcut::activated, this, &KeyboardAccess::openMenuBar);
}

void KeyboardAccess::openMenuBar()
{
    QMenuBar *bar = m_window->menuBar();
    const QList<QAction *> menus = bar->actions();
    for (QAction *menu : menus) {
        if (menu->isVisible() && menu->isEnabled()) {
            bar->setActiveAction(menu);
            return;
        }
    }
}
