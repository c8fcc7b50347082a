#pragma once
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace shell {

// How a window's frame looks when it is shown anew.
struct WindowFrame {
    enum class Border {
        Sizable,          // the usual child window: resizable, minimize and maximize buttons
        Fixed,            // dialog border: no minimize or maximize button, no resizing
        FixedMinimizable, // dialog border with a minimize button
    };
    Border border = Border::Sizable;
    std::optional<QPoint> placeAt; // position in the frame's client area, in pixels
    bool centred = false;          // in the middle of the frame's client area (without placeAt)
};

// Every tool window by its name: created on first show as a child of the frame, brought to
// the front when shown again, discarded on close.
class WindowRegistry {
public:
    using Factory = std::function<QWidget *()>;
    struct Entry {
        Factory factory;
        WindowFrame frame;
    };

    static WindowRegistry &instance();

    void add(const QString &name, Factory factory, WindowFrame frame = {});
    Entry entry(const QString &name) const { return m_entries.value(name); }
    void add(const QString &name, const Entry &entry) { m_entries.insert(name, entry); }
    void remove(const QString &name) { m_entries.remove(name); }
    QStringList names() const { return m_entries.keys(); }

    void setArea(QMdiArea *area) { m_area = area; }
    QMdiArea *area() const { return m_area; }

    QWidget *show(const QString &name); // the window's widget; nullptr when unknown
    void close(const QString &name);
    bool isOpen(const QString &name) const;
    QWidget *window(const QString &name) const;
    QMdiSubWindow *frame(const QString &name) const;

private:
    QHash<QString, Entry> m_entries;
    QHash<QString, QPointer<QMdiSubWindow>> m_open;
    QPointer<QMdiArea> m_area;
};

// Fills the registry with every window of the program.
void registerAllWindows(WindowRegistry &registry);

} // namespace shell
