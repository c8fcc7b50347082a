#pragma once
#include <QHash>
#include <QMainWindow>

class QMdiArea;
class QMenu;
class QAction;

namespace shell {

struct MenuItem;

// frm_main: the frame every tool window opens in, with the menu bar.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    QMdiArea *area() const { return m_area; }
    QAction *action(const QString &name) const { return m_actions.value(name); }
    QMenu *menu(const QString &name) const { return m_menus.value(name); }

    // Shows the window maximized; without a window manager, which would do that, it takes the
    // screen's whole available area itself.
    void showFullSize();

    // The commands of the menu, callable by name as the menu calls them.
    void trigger(const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Handlers, named control_event; run only by their controls.
    void Form_load();

    void buildMenus();
    void run(const MenuItem &item);
    void backupOrRestore(const QString &window);
    void exchange(const QString &window);
    void fillWindowList();
    void toggleMenuBarKeys();

    QMdiArea *m_area;
    QMenu *m_windowList = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QList<QKeySequence> m_shortcuts;
};

} // namespace shell
