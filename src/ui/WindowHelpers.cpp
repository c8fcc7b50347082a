#include "ui/WindowHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

namespace ui {

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

} // namespace ui
