#include "ExchangeTestSupport.h"

#include "core/data/Query.h"
#include "core/sql/Sqlite.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <ctime>

namespace exchangetest {

using exchange::Contact;
using logbook::Book;

void useBerlinTime()
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

QStringList readAll(exchange::Format format, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const auto reader = exchange::makeReader(format, &buffer);
    QStringList out;
    exchange::AdifRecord record;
    while (reader->next(&record)) {
        QString line = QStringLiteral("L%1").arg(record.line);
        if (!record.error.isEmpty())
            line += QStringLiteral(" ! ") + record.error;
        else
            for (const exchange::AdifField &f : record.fields)
                line += u' ' + QString::fromLatin1(f.name) + u'=' + f.value;
        out << line;
    }
    if (!reader->failure().isEmpty())
        out << QStringLiteral("FAIL ") + reader->failure();
    return out;
}

Contact contact(const QStringList &pairs)
{
    Contact c(logbook::contactFields().size());
    for (const QString &p : pairs) {
        const qsizetype eq = p.indexOf(u'=');
        const logbook::ContactField *f = logbook::fieldOf(p.left(eq));
        if (!f)
            qFatal("no column %s", qPrintable(p));
        c[size_t(f - logbook::contactFields().data())] = p.mid(eq + 1);
    }
    return c;
}

QStringList pairsOf(const Contact &c, Book book)
{
    QStringList pairs;
    for (const logbook::ContactField *f : logbook::fieldsOf(book)) {
        const auto &v = c[size_t(f - logbook::contactFields().data())];
        if (v)
            pairs << QString::fromLatin1(f->column) + u'=' + *v;
    }
    return pairs;
}

void createLogbook(const QString &file)
{
    QFile::remove(file);
    sql::Database db;
    QCOMPARE(db.open(file, sql::Database::Access::Create), 0);
    for (const auto &[book, order] : {std::pair{Book::Local, "skip"}, std::pair{Book::Dx, "datum"}}) {
        const QString table = logbook::tableOf(book), column = QString::fromLatin1(order);
        QCOMPARE(db.exec(logbook::createTableSql(book)), 0);
        QCOMPARE(db.exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3, %4)")
                             .arg(data::quotedName(table + QStringLiteral("_sort_") + column), data::quotedName(table),
                                  data::sortKeySql(column), data::quotedName(column))),
                 0);
    }
}

bool insertContacts(const QString &file, Book book, const std::vector<Contact> &contacts)
{
    sql::Database db;
    if (db.open(file, sql::Database::Access::ReadWrite) != 0)
        return false;
    const auto fields = logbook::fieldsOf(book);
    QStringList marks;
    for (size_t i = 0; i < fields.size(); ++i)
        marks << QStringLiteral("?");
    db.exec(QStringLiteral("BEGIN"));
    sql::Statement insert =
        db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(logbook::tableOf(book), logbook::columnsOf(book).join(u','), marks.join(u',')));
    for (const Contact &c : contacts) {
        insert.reset();
        for (size_t i = 0; i < fields.size(); ++i) {
            const auto &v = c[size_t(fields[i] - logbook::contactFields().data())];
            insert.bind(int(i) + 1, v ? QVariant(*v) : QVariant());
        }
        if (insert.run() != 101) { // SQLITE_DONE
            qWarning("insert failed");
            return false;
        }
    }
    return db.exec(QStringLiteral("COMMIT")) == 0;
}

std::vector<Contact> contactsIn(const QString &file, Book book)
{
    sql::Database db;
    std::vector<Contact> contacts;
    if (db.open(file, sql::Database::Access::ReadOnly) != 0)
        return contacts;
    const auto fields = logbook::fieldsOf(book);
    sql::Statement select = db.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY id")
                                           .arg(logbook::columnsOf(book).join(u','), logbook::tableOf(book)));
    while (select.next()) {
        Contact c(logbook::contactFields().size());
        for (size_t i = 0; i < fields.size(); ++i) {
            const QVariant v = select.value(int(i));
            if (!v.isNull())
                c[size_t(fields[i] - logbook::contactFields().data())] = v.toString();
        }
        contacts.push_back(c);
    }
    return contacts;
}

namespace {
// A value from a pool, or now and then NULL or an empty text.
exchange::Value pick(QRandomGenerator &r, const QStringList &pool)
{
    const int roll = int(r.bounded(100));
    if (roll < 8)
        return std::nullopt;
    if (roll < 12)
        return QString();
    return pool[r.bounded(int(pool.size()))];
}

QString remark(QRandomGenerator &r)
{
    static const QStringList words{
        QStringLiteral("Grüße"),  QStringLiteral("nach"),     QStringLiteral("Köln"),     QStringLiteral("QSL"),
        QStringLiteral("via"),    QStringLiteral("Büro"),     QStringLiteral("<EOR>"),    QStringLiteral("a&b<c>"),
        QStringLiteral("\r\n"),   QStringLiteral("\n"),       QStringLiteral("\t"),       QStringLiteral("\r"),
        QStringLiteral("Ελλάδα"), QStringLiteral("🙂"),     QString(QChar(0x01)),       QStringLiteral("]]>"),
        QStringLiteral("Straße"), QStringLiteral("  Lücke "), QStringLiteral("<call:3>"),
    };
    QString text;
    const int n = int(r.bounded(r.bounded(10) == 0 ? 600 : 12));
    for (int i = 0; i < n; ++i)
        text += words[r.bounded(int(words.size()))] + u' ';
    return text;
}
} // namespace

std::vector<Contact> variedContacts(int count, Book book, quint32 seed)
{
    QRandomGenerator r(seed);
    const QStringList skips{"Funkfreund", "Jörg",   "Müller-Lüdenscheidt", "Øystein", "Ærø", "Ελένη", "Зоя", "李小龍",
                            "Ünal",       "ßtefan", "  Leerzeichen ",      "Tango 7"};
    const QStringList calls{"DL1ABC", "dl2xyz", "OE3XYZ/P", "DK0 ABC", "13DC123", "F4ÉLÉ", "9A1A"};
    const QStringList times{"21:45", "07:05", "21:45:30", "2145", "abends", "0:00", "23:59"};
    const QStringList odd{"gestern", "1.7.2006", "30.06.06", "2006-06-30", "31.02.2006"};
    const QStringList freqs{"27,005", "27.005", "26,565", "14200",   "145,500 MHz",
                            "7.0745", "abc",    "28,455", " 27,205 "};
    const QStringList modes{"FM", "AM", "USB", "lsb", "SSB", "FT8", "Schmalband-FM", "CW", "ft4"};
    const QStringList towns{"München", "Köln", "Düsseldorf", "Gießen", "Zürich", "Wien", "Łódź", "Saarbrücken"};
    std::vector<Contact> out;
    for (int i = 0; i < count; ++i) {
        Contact c(logbook::contactFields().size());
        auto set = [&](const char *column, const exchange::Value &v) {
            c[size_t(logbook::fieldOf(QLatin1String(column)) - logbook::contactFields().data())] = v;
        };
        const QDate day = QDate(2000, 1, 1).addDays(r.bounded(9000));
        set("skip", pick(r, skips));
        set("vorname", pick(r, {"Hans", "Jörg", "Anne-Käthe", "Zoë"}));
        set("ort", pick(r, towns));
        set("land", pick(r, {"Deutschland", "Österreich", "Schweiz", "Türkei"}));
        set("callsign", pick(r, calls));
        set("datum", r.bounded(10) ? exchange::Value(day.toString("dd.MM.yyyy")) : pick(r, odd));
        set("uhrzeit",
            r.bounded(5) ? exchange::Value(QTime(r.bounded(24), r.bounded(60)).toString("HH:mm")) : pick(r, times));
        set("lanal", pick(r, {"1", "9", "19", "40", "41", "80", "12 D", "81"}));
        set("frequenz", r.bounded(4) ? pick(r, freqs) : exchange::Value());
        set("band", pick(r, modes));
        set("rwert", pick(r, {"5", "3", "R5"}));
        set("swert", pick(r, {"9", "9+30", "7", "S9"}));
        set("name", pick(r, {"Müller", "Schäfer", "Groß", "van der Berg", "O'Brien"}));
        set("strasse", pick(r, {"Hauptstraße 1", "Am Bächle 3a", "Ölweg 7"}));
        set("plz", pick(r, {"80331", "50667", "A-1010"}));
        set("tel", pick(r, {"089 1234567", "+49 (0)221 99"}));
        set("email", pick(r, {"hans@example.org", "jörg@müller.de"}));
        set("web", pick(r, {"www.example.org", "https://dl1abc.de/?a=1&b=2"}));
        set("bemerkung", r.bounded(10) ? exchange::Value(remark(r)) : pick(r, {"", "kurz"}));
        if (book == Book::Dx) {
            set("qslverschickt", pick(r, {"0", "1"}));
            set("qslbekommen", pick(r, {"0", "1"}));
        }
        out.push_back(c);
    }
    return out;
}

} // namespace exchangetest
