#pragma once
#include "shell/MainWindow.h"

#include <QPointer>
#include <QWidget>

class QTimer;

namespace shell {

// frm_start: the splash. Two seconds after it appears, Timer1 opens frm_main and closes it.
class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(QWidget *parent = nullptr);

    MainWindow *mainWindow() const { return m_main; }

private:
    // Handlers, named control_event; run only by their controls.
    void Timer1_timeout();

    QTimer *m_timer;
    QPointer<MainWindow> m_main;
    bool m_ticked = false;
};

} // namespace shell
