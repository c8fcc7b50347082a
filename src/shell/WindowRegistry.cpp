#include "shell/WindowRegistry.h"

#include "ui/WindowHelpers.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPoint>

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
// A frame's own close key includes Ctrl+W on this platform, which is the restore command's key:
// the frame keeps its other close keys, so the menu's Ctrl+W is not ambiguous.
void keepMenuShortcuts(QMdiSubWindow *sub)
{
    if (!sub->systemMenu())
        return;
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    for (QAction *action : sub->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(ctrlW))
            action->setShortcuts(keys);
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
    sub->setAttribute(Qt::WA_DeleteOnClose);
    keepMenuShortcuts(sub);
    sub->setWindowIcon(m_area->window()->windowIcon());
    sub->adjustSize();
    // Wide enough for the caption beside the frame's buttons.
    const int captionWidth = sub->fontMetrics().horizontalAdvance(widget->windowTitle()) + 110;
    if (sub->width() < captionWidth && widget->maximumWidth() >= captionWidth)
        sub->resize(captionWidth, sub->height());
    if (fixed)
        sub->setFixedSize(sub->sizeHint());
    if (look.placeAt)
        sub->move(*look.placeAt);
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
