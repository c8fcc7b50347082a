#pragma once
#include <QString>

class QWidget;
class QLineEdit;
class QLabel;
class QPushButton;

namespace ui {

// Closes a tool window: its MDI frame when it sits in one, else the widget itself.
void closeOwnWindow(QWidget *window);

// Small builders that give every control its object name at creation.
QLineEdit *lineEdit(QWidget *parent, const char *name, int maxLength = 0, bool readOnly = false,
                    bool centred = false);
QLabel *label(QWidget *parent, const char *name, const QString &text);
QPushButton *button(QWidget *parent, const char *name, const QString &text);

} // namespace ui
