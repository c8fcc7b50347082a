#include "shell/MainWindow.h"

#include "backup/BackupAtEnd.h"
#include "core/text/GermanText.h"
#include "shell/Artwork.h"
#include "shell/MenuTable.h"
#include "shell/WindowRegistry.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

namespace shell {

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_area(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowIcon(programIcon());
    m_area->setObjectName(QStringLiteral("MDIClient"));
    m_area->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(m_area);
    resize(ui::twips(11880), ui::twips(7260));

    auto &registry = WindowRegistry::instance();
    if (registry.names().isEmpty())
        registerAllWindows(registry);
    registry.setArea(m_area);

    buildMenus();
    // Fusion marks a menu title only while its menu is open; after Alt or F10, and on the two
    // commands of the bar itself, the keyboard's place has to show too.
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
    // Text boxes claim Ctrl+A, Ctrl+X and the like for themselves; the menu's keys win here.
    qApp->installEventFilter(this);
    Form_load();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    m_area->closeAllSubWindows();
}

void MainWindow::showFullSize()
{
    const bool managed = seams::windowManager();
    if (!managed) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
    }
    showMaximized();
    if (!managed)
        activateWindow(); // nobody else gives it the keyboard
}

void MainWindow::Form_load()
{
    const QSize screen = seams::screen();
    if (screen.width() < 1024 && screen.height() < 768)
        ui::show(nullptr, QMessageBox::NoIcon,
                 QStringLiteral("Die Bildschirmauflösung sollte mindestens 1024 X 768 Pixel betragen"));
    setWindowTitle(QStringLiteral("Herzlich Willkommen im Wellenkladde Heute: ") + german::dateText(seams::today()));
}

void MainWindow::buildMenus()
{
    const auto &table = menuTable();
    QMenu *parents[5] = {};
    for (size_t i = 0; i < table.size(); ++i) {
        const MenuItem &item = table[i];
        const bool hasChildren = i + 1 < table.size() && table[i + 1].level > item.level;
        const QString name = QString::fromLatin1(item.name);
        const QString caption = QString::fromUtf8(item.caption);
        QAction *action = nullptr;
        if (hasChildren || commandOf(item) == MenuCommand::WindowList) {
            QMenu *menu = item.level == 1 ? menuBar()->addMenu(caption) : parents[item.level - 1]->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            m_menus.insert(name, menu);
            parents[item.level] = menu;
            if (commandOf(item) == MenuCommand::WindowList) {
                m_windowList = menu;
                connect(menu, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
            }
        } else {
            action = item.level == 1 ? menuBar()->addAction(caption) : parents[item.level - 1]->addAction(caption);
            connect(action, &QAction::triggered, this, [this, &item] { run(item); });
        }
        action->setObjectName(name);
        if (!item.shortcut.isEmpty()) {
            action->setShortcut(item.shortcut);
            m_shortcuts << item.shortcut;
        }
        m_actions.insert(name, action);
    }
    // The scanner menu is switched off for good.
    m_actions.value(QStringLiteral("scan"))->setEnabled(false);

    // Ctrl+F4 closes the active child window, as in every frame window, whatever key the desktop
    // gives the child windows' own close command (under openbox none).
    auto *closeChild = new QAction(this);
    closeChild->setObjectName(QStringLiteral("closeChild"));
    closeChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    addAction(closeChild);
    connect(closeChild, &QAction::triggered, m_area, &QMdiArea::closeActiveSubWindow);
    m_shortcuts << closeChild->shortcut();
}

void MainWindow::fillWindowList()
{
    m_windowList->clear();
    const auto windows = m_area->subWindowList();
    // The current window even while the open menu has the keyboard.
    const QMdiSubWindow *current = m_area->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow *sub : windows) {
        if (sub->isHidden())
            continue;
        // "&&" shows one ampersand: captions such as "Frequenz & Kanalsuche" stay as they are.
        QString caption = sub->windowTitle();
        caption.replace(u'&', QStringLiteral("&&"));
        QAction *a = m_windowList->addAction(QStringLiteral("&%1 %2").arg(number++).arg(caption));
        // Only the current window carries a mark; the others show no empty box either.
        a->setCheckable(sub == current);
        a->setChecked(sub == current);
        connect(a, &QAction::triggered, sub, [this, sub] {
            sub->showNormal();
            m_area->setActiveSubWindow(sub);
        });
    }
}

void MainWindow::trigger(const QString &name)
{
    for (const MenuItem &item : menuTable())
        if (name == QLatin1String(item.name))
            return run(item);
}

void MainWindow::run(const MenuItem &item)
{
    // A command of the switched-off scanner menu cannot run, whatever calls it.
    if (m_menus.value(QStringLiteral("scan"))->actions().contains(m_actions.value(QString::fromLatin1(item.name))))
        return;
    switch (commandOf(item)) {
    case MenuCommand::End:
        close();
        break;
    case MenuCommand::Backup:
    case MenuCommand::Restore:
        backupOrRestore(QString::fromLatin1(item.window));
        break;
    case MenuCommand::Exchange:
        exchange(QString::fromLatin1(item.window));
        break;
    case MenuCommand::ShowWindow:
        WindowRegistry::instance().show(QString::fromLatin1(item.window));
        break;
    case MenuCommand::WindowList:
    case MenuCommand::None:
        break;
    }
}

void MainWindow::backupOrRestore(const QString &window)
{
    auto &registry = WindowRegistry::instance();
    registry.show(window);
    for (const QString &name : windowsClosedForBackup())
        registry.close(name);
}

void MainWindow::exchange(const QString &window)
{
    // The logbook windows close first, saving a pending contact as a move would; one that cannot
    // save has told why and stays open, and then the export or import does not start.
    auto &registry = WindowRegistry::instance();
    for (const QString &name : logbookWindows()) {
        registry.close(name);
        if (registry.isOpen(name))
            return;
    }
    registry.show(window);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_area->closeAllSubWindows();
    // A child that refused to close (say, one with unsaved input) keeps the program open.
    const auto children = m_area->subWindowList();
    const bool refused = std::any_of(children.begin(), children.end(), [](QMdiSubWindow *s) { return !s->isHidden(); });
    event->setAccepted(!refused);
    if (!refused)
        backup::backUpAtProgramEnd(this); // the logbook is closed now
}

void MainWindow::toggleMenuBarKeys()
{
    // The menu bar's own keyboard mode, the one an Alt tap enters or leaves: the bar takes the
    // keys (arrows, Return; Escape gives the focus back to where it was). The bar watches its
    // window for an Alt coming down on its own, then for the Alt going up.
    QKeyEvent altDown(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &altDown);
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(menuBar(), &altUp);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // F10 does what Alt does. Only for keys meant for this window: an open menu has its own.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F10
        && (static_cast<QKeyEvent *>(event)->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this && !QApplication::activePopupWidget()) {
            toggleMenuBarKeys();
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QKeySequence &s : std::as_const(m_shortcuts)) {
            if (s.matches(pressed) == QKeySequence::ExactMatch) {
                event->ignore(); // not overridden: the menu's shortcut runs
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace shell
