#include "shell/AboutWindow.h"

#include "ui/WindowHelpers.h"

#include <QFrame>
#include <QLabel>

namespace shell {

AboutWindow::AboutWindow(QWidget *parent) : QWidget(parent)
{
    using ui::twips;
    setWindowTitle(QStringLiteral("About V.06.04.2007 – Kanalwerk, Funk-Werkzeugkasten"));
    setFixedSize(twips(6300), twips(2280));

    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(rect());
    shape->setStyleSheet(QStringLiteral("QFrame { background: #c0c0c0; border: 1px solid #808080; }"));

    // What the program is, its version and licence, and where its documentation lies: the
    // README is copied next to the program by the build and by the installer.
    const QStringList lines = {QStringLiteral("Kanalwerk – WELLENKLADDE 2006"),
                               QStringLiteral("Funk-Werkzeugkasten für CB- und Amateurfunk"),
                               QStringLiteral("Version %1").arg(QStringLiteral(KW_VERSION)),
                               QStringLiteral("Lizenz: im Projekt noch nicht festgelegt")};
    for (int i = 0; i < lines.size(); ++i) {
        // Label1 is a control array of four in the design; the index goes into the name.
        auto *l = new QLabel(lines.at(i), this);
        l->setObjectName(QStringLiteral("Label1"));
        l->setProperty("index", i);
        l->setGeometry(twips(360), twips(240) + i * twips(360), twips(5580), twips(300));
        if (i == 0) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
    }
    auto *docs = new QLabel(QStringLiteral("Anleitung: README.md im Programmordner"), this);
    docs->setObjectName(QStringLiteral("Label2"));
    docs->setGeometry(twips(360), twips(240) + 4 * twips(360), twips(5580), twips(300));
}

} // namespace shell
