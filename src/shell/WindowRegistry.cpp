#include "shell/WindowRegistry.h"

#include "ui/WindowHelpers.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPoint>
#include <algorithm>

namespace shell {

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::add(const QString &name, Factory factory, WindowFrame frame)
{
    m_entries.insert(name, Entry{std::move(factory), std::move(frame)});
}

namespace {
// A frame's own close keys depend on the desktop: Ctrl+W, the restore command's key, and on some
// desktops Ctrl+F4. The main window closes the active frame with Ctrl+F4 on every desktop; a
// frame that claimed the key too would make it ambiguous. The frame's menu still names it.
void keepMenuShortcuts(QMdiSubWindow *sub)
{
    if (!sub->systemMenu())
        return;
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W), ctrlF4(Qt::CTRL | Qt::Key_F4);
    for (QAction *action : sub->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        const bool closes = keys.contains(ctrlW) || keys.contains(ctrlF4); // only the close command has them
        if (keys.removeAll(ctrlW) + keys.removeAll(ctrlF4) > 0)
            action->setShortcuts(keys);
        if (closes && keys.isEmpty())
            action->setText(action->text() + QLatin1Char('\t') + ctrlF4.toString(QKeySequence::NativeText));
    }
}
} // namespace

QMdiSubWindow *WindowRegistry::frame(const QString &name) const
{
    // A closed frame waits for its deferred deletion hidden; it counts as gone.
    const auto it = m_open.constFind(name);
    if (it == m_open.constEnd() || !*it || (*it)->isHidden())
        return nullptr;
    return it->data();
}

bool WindowRegistry::isOpen(const QString &name) const { return frame(name) != nullptr; }

QWidget *WindowRegistry::window(const QString &name) const
{
    QMdiSubWindow *sub = frame(name);
    return sub ? sub->widget() : nullptr;
}

QWidget *WindowRegistry::show(const QString &name)
{
    if (QMdiSubWindow *sub = frame(name)) {
        sub->showNormal();
        if (m_area)
            m_area->setActiveSubWindow(sub);
        sub->raise();
        return sub->widget();
    }
    const auto entry = m_entries.constFind(name);
    if (entry == m_entries.constEnd() || !entry->factory || !m_area)
        return nullptr;
    QWidget *widget = entry->factory();
    if (!widget)
        return nullptr;
    widget->setObjectName(name);
    const WindowFrame &look = entry->frame;
    const bool fixed = look.border != WindowFrame::Border::Sizable;
    Qt::WindowFlags flags = Qt::SubWindow;
    if (fixed)
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (look.border == WindowFrame::Border::FixedMinimizable)
        flags |= Qt::WindowMinimizeButtonHint;
    QMdiSubWindow *sub = m_area->addSubWindow(widget, flags);
    // A window that grows only so far sits at the top left of a larger frame (maximized, say).
    if (widget->maximumHeight() < QWIDGETSIZE_MAX && sub->layout())
        sub->layout()->setAlignment(widget, Qt::AlignLeft | Qt::AlignTop);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    keepMenuShortcuts(sub);
    sub->setWindowIcon(m_area->window()->windowIcon());
    sub->adjustSize();
    const int captionWidth = ui::captionWidth(widget);
    if (sub->width() < captionWidth + 2 * ui::frameBorder(widget) && widget->maximumWidth() >= captionWidth)
        sub->resize(captionWidth + 2 * ui::frameBorder(widget), sub->height());
    if (fixed)
        sub->setFixedSize(sub->sizeHint());
    if (look.placeAt)
        sub->move(*look.placeAt);
    else if (look.centred)
        sub->move(std::max(0, (m_area->viewport()->width() - sub->width()) / 2),
                  std::max(0, (m_area->viewport()->height() - sub->height()) / 2));
    m_open.insert(name, sub);
    QObject::connect(sub, &QObject::destroyed, m_area, [this, name] {
        if (!m_open.value(name))
            m_open.remove(name);
    });
    ui::focusFirstInput(widget); // taken over by the frame when it becomes active
    sub->show();
    m_area->setActiveSubWindow(sub);
    return widget;
}

void WindowRegistry::close(const QString &name)
{
    if (QMdiSubWindow *sub = frame(name)) {
        // Delete at once so that the window's connection is gone when this returns.
        if (sub->close()) {
            m_open.remove(name);
            delete sub;
        }
    }
}

} // namespace shell
