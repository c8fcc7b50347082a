#pragma once
#include <QList>
#include <QString>

class QWidget;
class QLineEdit;
class QLabel;
class QPushButton;

namespace ui {

// Twips of the window designs to pixels (15 twips per pixel).
constexpr int twips(int t) { return (t + 7) / 15; }

// How wide a child window is made at least, so that its frame shows the caption beside the
// frame's buttons; and the frame's border on either side.
int captionWidth(const QWidget *window);
int frameBorder(const QWidget *window);

// Closes a tool window: its MDI frame when it sits in one, else the widget itself.
void closeOwnWindow(QWidget *window);

// The wait cursor for as long as it lives. It shows at once, although the work that follows
// keeps the program from reaching its event loop.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Small builders that give every control its object name at creation.
QLineEdit *lineEdit(QWidget *parent, const char *name, int maxLength = 0, bool readOnly = false, bool centred = false);
QLabel *label(QWidget *parent, const char *name, const QString &text);
QPushButton *button(QWidget *parent, const char *name, const QString &text);

// Return in the box clicks the button, as if the user had clicked it.
void returnClicks(QLineEdit *edit, QPushButton *button);

// Tab goes through the widgets in this order.
void chainTabOrder(const QList<QWidget *> &widgets);

// Qt's own texts (the file dialog, its questions, a text box's context menu, a window's system
// menu) in German, as every text of the program is, whatever the system's language; false when
// Qt's German translation is not installed (the texts stay English then).
bool useGermanQtTexts();

// Puts the focus into the first control of the window, in tab order, that takes input: a text
// box the user may write in, a drop-down, a grid. Nothing happens in a window without one.
void focusFirstInput(QWidget *window);

} // namespace ui
