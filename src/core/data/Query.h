#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace data {

// A query of the shapes the windows send: every row of one table, optionally only those whose
// column is Like a pattern, optionally in the order of one column. text() is the query text as
// the window writes it; the record source runs the parts instead, with the pattern bound as a
// parameter (so no typed text can end the literal or reach the engine as SQL) and with the order
// a German reader expects.
class Query {
public:
    // How the rows are ordered: by a key of built-in functions, ties broken by columns, then by the
    // row id; optionally served by one index of the file whose columns these are, in this order.
    struct Order {
        QString key;         // an SQL expression
        QStringList columns; // the first is the column the query text names
        QString index;       // empty: the engine picks its way
    };

    // What engineSql() selects, and how.
    struct Select {
        QString columns = QStringLiteral("*");
        QString condition; // a further condition, may be empty
        bool reversed = false;
        bool byIndex = true; // walk the order's index; off where the condition picks the rows by id
    };

    // How the table is written in the text: "from umbau", "from [Umbau]" or "from[Kontakt]".
    enum class From { Bare, Bracketed, Tight };

    struct Filter {
        QString column;
        QString pattern; // the whole Like pattern, wildcards included
        QString keyword; // "Like" or "like", as the window writes it
    };

    Query() = default;
    explicit Query(QString table, From from = From::Bracketed);

    // where COLUMN Like 'PATTERN'
    Query &where(const QString &column, const QString &pattern, const QString &keyword = QStringLiteral("Like"));
    // where COLUMN Like '%TEXT%': the contains-pattern search
    Query &whereContains(const QString &column, const QString &text, const QString &keyword = QStringLiteral("Like"));
    // order by COLUMN asc: the German sort key of the column, then the column (empty: no order)
    Query &orderBy(const QString &column);
    Query &orderBy(Order order);

    bool isNull() const { return m_table.isEmpty(); }
    const QString &table() const { return m_table; }
    const std::optional<Filter> &filter() const { return m_filter; }
    const Order &order() const { return m_order; }
    QString orderColumn() const { return m_order.columns.value(0); }
    // The same query without the index of its order (the file lacks it).
    Query withoutIndex() const;

    // The query text, the user's text inside an SQL literal with its apostrophes doubled.
    QString text() const;

    // The statement the engine runs: the filter as like(?1), the order (or rowid without one).
    QString engineSql(const Select &select) const;
    QString engineSql() const;

private:
    QString m_table;
    From m_from = From::Bracketed;
    std::optional<Filter> m_filter;
    Order m_order;
};

// An identifier in double quotes, inner quotes doubled.
QString quotedName(const QString &name);

// The German sort key of a column as an SQL expression of built-in functions only, so that an
// index on it works in every SQLite tool: umlauts sort with their base letters, ß as ss, and
// letter case does not decide. Rows with the same key follow by the column's own text.
QString sortKeySql(const QString &column);

} // namespace data
