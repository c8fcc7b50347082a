#include "shell/StartWindow.h"

#include "shell/Artwork.h"
#include "shell/MainWindow.h"
#include "ui/WindowHelpers.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace shell {
namespace {
using ui::twips;

QFrame *shape(QWidget *parent, const char *name, const QRect &r, const QColor &fill, const QColor &line)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setGeometry(r);
    f->setStyleSheet(
        QStringLiteral("QFrame { background: %1; border: 1px solid %2; }")
            .arg(fill.isValid() ? fill.name(QColor::HexArgb) : QStringLiteral("transparent"), line.name()));
    return f;
}
} // namespace

StartWindow::StartWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("frm_start"));
    setWindowTitle(QStringLiteral("WELLENKLADDE 2007"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twips(4980), twips(2280));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(pal);

    // Bottom to top: picture, shapes, labels.
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twips(120), twips(120), twips(4785), twips(2010));
    image->setPixmap(splashPicture(image->size()));

    const QColor white(Qt::white), yellow(255, 220, 0), none;
    shape(this, "Shape1", QRect(2, 2, width() - 4, height() - 4), none, white);
    shape(this, "Shape2", QRect(5, 5, width() - 10, height() - 10), none, yellow);
    shape(this, "Shape3", QRect(width() - 60, 16, 10, 10), yellow, yellow);
    shape(this, "Shape4", QRect(width() - 44, 16, 10, 10), white, white);
    shape(this, "Shape5", QRect(width() - 28, 16, 10, 10), yellow, yellow);
    shape(this, "Shape6", QRect(twips(600), twips(1650), twips(3780), 1), white, white);

    auto *title = new QLabel(QStringLiteral("WELLENKLADDE 2007"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(0, twips(1320), twips(4815), twips(375));
    title->setAlignment(Qt::AlignCenter);
    QFont comic(QStringLiteral("Comic Sans MS"), 12);
    comic.setStyleHint(QFont::Cursive);
    title->setFont(comic);
    title->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    auto *notice = new QLabel(QStringLiteral("Funk-Werkzeugkasten für CB- und Amateurfunk – wird geladen …"), this);
    notice->setObjectName(QStringLiteral("Label2"));
    notice->setGeometry(twips(120), twips(1680), twips(4695), twips(255));
    notice->setAlignment(Qt::AlignCenter);
    QFont small = notice->font();
    small.setPointSizeF(7);
    notice->setFont(small);
    notice->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(2000);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &StartWindow::Timer1_timeout);
    m_timer->start();
}

void StartWindow::Timer1_timeout()
{
    // Once only: a later tick (or a call while the warning box is open) must do nothing.
    m_timer->stop();
    if (m_ticked)
        return;
    m_ticked = true;
    m_main = new MainWindow;
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->showFullSize();
    close();
}

} // namespace shell
