#include "core/backup/History.h"

#include <QSet>
#include <algorithm>

namespace backup {
namespace {

const QString kNameFormat = QStringLiteral("yyyy-MM-dd HH-mm-ss");

QDate mondayOf(const QDate &day) { return day.addDays(1 - day.dayOfWeek()); }

} // namespace

QString copyFolderName(const QDateTime &made) { return made.toString(kNameFormat); }

QDateTime copyFolderTime(const QString &name)
{
    if (name.size() != kNameFormat.size())
        return {};
    const QDateTime time = QDateTime::fromString(name, kNameFormat);
    // Parsing is lenient about some digits; only the name this program writes counts.
    return time.isValid() && copyFolderName(time) == name ? time : QDateTime();
}

QStringList expiredCopies(const QStringList &copies, const QDateTime &now, const KeepRule &rule)
{
    QStringList dated;
    for (const QString &name : copies)
        if (copyFolderTime(name).isValid())
            dated << name;
    // The names sort as their moments do: newest first.
    std::sort(dated.begin(), dated.end(), std::greater<>());
    dated.erase(std::unique(dated.begin(), dated.end()), dated.end());

    QSet<QString> kept;
    for (int i = 0; i < std::max(rule.newest, 1) && i < dated.size(); ++i)
        kept.insert(dated[i]);
    const QDate thisWeek = mondayOf(now.date());
    const QDate firstWeek = thisWeek.addDays(-7 * (std::max(rule.weeks, 0) - 1));
    QSet<QDate> weeksSeen;
    for (const QString &name : std::as_const(dated)) {
        const QDate week = mondayOf(copyFolderTime(name).date());
        if (rule.weeks > 0 && week >= firstWeek && week <= thisWeek && !weeksSeen.contains(week)) {
            weeksSeen.insert(week);
            kept.insert(name); // the newest of its week, as the list runs newest first
        }
    }

    QStringList expired;
    for (auto it = dated.crbegin(); it != dated.crend(); ++it)
        if (!kept.contains(*it))
            expired << *it;
    return expired;
}

} // namespace backup
