#include "core/exchange/Duplicates.h"

#include "core/exchange/Frequency.h"
#include "core/exchange/LocalClock.h"
#include "core/logbook/Contact.h"

#include <QHashFunctions>
#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace exchange {
namespace {

const char *const kKeyColumns[] = {"callsign", "skip", "datum", "uhrzeit", "frequenz", "lanal"};

QString text(const Contact &c, int column) { return c[size_t(column)].value_or(QString()).trimmed(); }

QString selectKeyColumns(const QString &table)
{
    QStringList names;
    for (const char *c : kKeyColumns)
        names << QString::fromLatin1(c);
    return QStringLiteral("SELECT id, %1 FROM \"%2\"").arg(names.join(u','), table);
}

} // namespace

QString duplicateKey(const Contact &c)
{
    const Columns &k = columns();
    QString who = text(c, k.callsign).toUpper();
    who = who.isEmpty() ? QStringLiteral("S") + text(c, k.skip).toCaseFolded() : QStringLiteral("C") + who;
    const auto date = logDate(text(c, k.datum));
    const auto time = logTime(text(c, k.uhrzeit));
    auto hz = frequencyHz(text(c, k.frequenz));
    if (!hz && text(c, k.frequenz).isEmpty())
        hz = channelHz(text(c, k.lanal));
    const QChar unit(0x1f);
    return who + unit + (date ? date->toString(QStringLiteral("yyyyMMdd")) : text(c, k.datum)) + unit
           + (time ? time->toString(QStringLiteral("HHmm")) : text(c, k.uhrzeit)) + unit
           + (hz ? QString::number(*hz) : text(c, k.frequenz));
}

Contact DuplicateIndex::rowContact()
{
    Contact c(logbook::contactFields().size());
    for (int i = 0; i < int(std::size(kKeyColumns)); ++i) {
        const QVariant v = m_row.value(i + 1);
        if (!v.isNull())
            c[size_t(logbook::fieldOf(QLatin1String(kKeyColumns[i])) - logbook::contactFields().data())] = v.toString();
    }
    return c;
}

bool DuplicateIndex::load(const sql::Database &db, const QString &table, QString *error)
{
    m_keys.clear();
    m_row = db.prepare(selectKeyColumns(table));
    int rc = m_row.ok() ? SQLITE_OK : m_row.resultCode();
    while (rc == SQLITE_OK && (rc = m_row.step()) == SQLITE_ROW) {
        m_keys.emplace_back(qHash(duplicateKey(rowContact()), 0), m_row.integer(0));
        rc = SQLITE_OK;
    }
    if (rc != SQLITE_DONE) {
        *error = QStringLiteral("Das Logbuch kann nicht gelesen werden: ") + sql::engineMessage(rc);
        return false;
    }
    std::sort(m_keys.begin(), m_keys.end());
    m_row = db.prepare(selectKeyColumns(table) + QStringLiteral(" WHERE id = ?1"));
    return true;
}

bool DuplicateIndex::contains(const Contact &contact)
{
    const QString key = duplicateKey(contact);
    const size_t hash = qHash(key, 0);
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(),
                               std::pair<size_t, qint64>(hash, std::numeric_limits<qint64>::min()));
    for (; it != m_keys.end() && it->first == hash; ++it) {
        m_row.reset();
        m_row.bind(1, it->second);
        if (m_row.next() && duplicateKey(rowContact()) == key)
            return true;
    }
    return false;
}

} // namespace exchange
