#include "support/TestSupport.h"

#include "core/speech/Voice.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

namespace testsupport {
namespace {
// A voice with no voices installed, as on a machine without speech output.
class SilentVoice : public speech::Voice {
public:
    QStringList voices() override { return {}; }
    bool select(int) override { return false; }
    speech::SpeakResult speak(const QString &) override { return {speech::SpeakResult::Status::NoVoice, {}}; }
    void stop() override {}
};
} // namespace

QString Fixture::builtFile(const QString &file) { return QDir(QStringLiteral(KW_DATA_DIR)).filePath(file); }

Fixture::Fixture(QSize screenSize, bool copyDatabases) : m_oldCwd(QDir::currentPath())
{
    m_seams.replace(seams::today, [] { return fixedDate; });
    m_seams.replace(seams::screen, [screenSize] { return screenSize; });
    // The program's directory is the working folder too, never the folder of the built files.
    m_seams.replace(seams::programDir, [this] { return m_dir.path(); });
    m_seams.replace(seams::messageBox, [this](QWidget *, const seams::MessageRecord &r) { messages << r; });
    // No test speaks through the system's voice unless it asks for it: a speech service started
    // on a machine without sound can outlive the test.
    m_seams.replace(seams::voice, []() -> speech::Voice * { return new SilentVoice; });
    if (copyDatabases) {
        for (const QString file : {QStringLiteral("Frequenzen.quorvel"), QStringLiteral("Frequenzen1.quorvel")}) {
            const QString target = m_dir.filePath(file);
            if (!QFile::copy(builtFile(file), target))
                QTest::qFail(qPrintable("cannot copy " + builtFile(file)), __FILE__, __LINE__);
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        }
    }
    QDir::setCurrent(m_dir.path());
}

Fixture::~Fixture()
{
    m_main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(m_oldCwd);
}

QStringList Fixture::messageTexts() const
{
    QStringList texts;
    for (const auto &m : messages)
        texts << m.text;
    return texts;
}

shell::MainWindow *Fixture::mainWindow()
{
    if (!m_main)
        m_main = std::make_unique<shell::MainWindow>();
    return m_main.get();
}

QWidget *Fixture::open(const QString &name)
{
    mainWindow();
    return shell::WindowRegistry::instance().show(name);
}

void Fixture::close(const QString &name)
{
    shell::WindowRegistry::instance().close(name);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool execSql(const QString &file, const QString &sql)
{
    sqlite3 *db = nullptr;
    char *error = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK
                    && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (error)
        qWarning("%s", error);
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

QStringList sqlColumn(const QString &file, const QString &sql, int column)
{
    QStringList out;
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        const int c = column < 0 ? sqlite3_column_count(stmt) + column : column;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            out << (text ? QString::fromUtf8(text) : QString());
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

bool germanLess(const QString &a, const QString &b)
{
    auto key = [](QString s) {
        s.replace(QStringLiteral("Ä"), "a").replace(QStringLiteral("ä"), "a").replace(QStringLiteral("Ö"), "o");
        s.replace(QStringLiteral("ö"), "o").replace(QStringLiteral("Ü"), "u").replace(QStringLiteral("ü"), "u");
        s.replace(QStringLiteral("ß"), "ss");
        for (QChar &c : s)
            if (c >= 'A' && c <= 'Z')
                c = QChar(c.unicode() + 32);
        return s.toUtf8();
    };
    const QByteArray ka = key(a), kb = key(b);
    return ka != kb ? ka < kb : a.toUtf8() < b.toUtf8();
}

bool Fixture::isOpen(const QString &name) const { return shell::WindowRegistry::instance().isOpen(name); }

} // namespace testsupport
