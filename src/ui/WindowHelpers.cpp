#include "ui/WindowHelpers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QTranslator>
#include <memory>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace ui {

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // On X11 the cursor request waits in the connection's buffer until the event loop runs.
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection())
        xcb_flush(x11->connection());
}

WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

int frameBorder(const QWidget *window) { return window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth); }

int captionWidth(const QWidget *window)
{
    return window->fontMetrics().horizontalAdvance(window->windowTitle()) + 110 - 2 * frameBorder(window);
}

void closeOwnWindow(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

QLineEdit *lineEdit(QWidget *parent, const char *name, int maxLength, bool readOnly, bool centred)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setReadOnly(readOnly);
    if (centred)
        edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

void returnClicks(QLineEdit *edit, QPushButton *button)
{
    QObject::connect(edit, &QLineEdit::returnPressed, button, &QPushButton::click);
}

void chainTabOrder(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

void focusFirstInput(QWidget *window)
{
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (!window->isAncestorOf(w) || !w->isEnabled() || !w->isVisibleTo(window)
            || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        const auto *edit = qobject_cast<const QLineEdit *>(w);
        if ((edit && !edit->isReadOnly()) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractItemView *>(w)) {
            w->setFocus(Qt::TabFocusReason);
            if (auto *text = qobject_cast<QLineEdit *>(w))
                text->selectAll(); // a sample text is typed over, as after Tab
            return;
        }
    }
}

bool useGermanQtTexts()
{
    static QTranslator *german = nullptr; // installed once, kept while the program runs
    if (german)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    german = translator.release();
    return true;
}

} // namespace ui
