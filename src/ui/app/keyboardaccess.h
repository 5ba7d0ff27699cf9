#pragma once

#include <QObject>

class QMainWindow;

// Keys a desktop user expects beyond those the controls carry themselves:
// F10 opens the menu bar, whose "File" and "View" menus have no mnemonic
// letter, so that every menu item can be reached without the mouse.
class KeyboardAccess : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardAccess(QMainWindow *window);

    void openMenuBar();

private:
    QMainWindow *m_window;
};
