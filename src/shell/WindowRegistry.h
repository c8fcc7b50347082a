#pragma once
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace shell {

// Every tool window by its name: created on first show as a child of the frame, brought to
// the front when shown again, discarded on close.
//
// A window widget may carry two dynamic properties read when it is shown anew:
//   "fixedBorder" (bool)  dialog border: no minimize or maximize button, no resizing
//   "placeAt"     (QPoint) position in the frame's client area
class WindowRegistry {
public:
    using Factory = std::function<QWidget *()>;

    static WindowRegistry &instance();

    void add(const QString &name, Factory factory);
    bool knows(const QString &name) const { return m_factories.contains(name); }
    Factory factory(const QString &name) const { return m_factories.value(name); }
    QStringList names() const { return m_factories.keys(); }

    void setArea(QMdiArea *area) { m_area = area; }
    QMdiArea *area() const { return m_area; }

    QWidget *show(const QString &name); // the window's widget; nullptr when unknown
    void close(const QString &name);
    bool isOpen(const QString &name) const;
    QWidget *window(const QString &name) const;
    QMdiSubWindow *frame(const QString &name) const;

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QMdiSubWindow>> m_open;
    QPointer<QMdiArea> m_area;
};

// Fills the registry with every window of the program.
void registerAllWindows(WindowRegistry &registry);

} // namespace shell
