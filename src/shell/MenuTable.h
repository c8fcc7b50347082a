#pragma once
#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <vector>

namespace shell {

// One item of the main menu, in menu-bar order. An item followed by deeper items is a submenu.
struct MenuItem {
    int level;        // 1 = menu bar
    const char *name; // objectName of the action
    const char *caption;
    QKeySequence shortcut;
    const char *window; // window shown by the command, or nullptr
};

enum class MenuCommand { None, ShowWindow, End, WindowList, Backup, Restore, Exchange };

const std::vector<MenuItem> &menuTable();
MenuCommand commandOf(const MenuItem &item);

// The windows that backup and restore close, in this order, so the logbook file is free.
const QStringList &windowsClosedForBackup();

// The logbook windows the ADIF export and import close first, saving what is pending.
const QStringList &logbookWindows();

} // namespace shell
