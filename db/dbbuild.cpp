// Builds Frequenzen.quorvel (reference) from the schema and row files of this folder, and the
// empty Frequenzen1.quorvel (logbook) from the contact's columns and the indexes of its lists.
//   kw_dbbuild reference <output file> <db folder>
//   kw_dbbuild logbook   <output file> <db folder>   (does nothing when the file exists)
#include "core/finder/CbRaster.h"
#include "core/logbook/Contact.h"
#include "core/logbook/ListOrder.h"
#include "core/lookup/Maidenhead.h"
#include "core/sql/Sqlite.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void die(const std::string &message)
{
    std::cerr << "kw_dbbuild: " << message << "\n";
    std::exit(1);
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        die("cannot read " + path.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void exec(sql::Database &db, const QString &sql)
{
    if (db.exec(sql) != SQLITE_OK)
        die("SQL failed: " + db.engineText().toStdString());
}

std::vector<std::string> split(const std::string &line, char sep)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (c == sep) {
            fields.push_back(field);
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

struct Tsv {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

Tsv readTsv(const fs::path &path)
{
    std::istringstream in(readFile(path));
    Tsv tsv;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line == "\r")
            continue;
        auto fields = split(line, '\t');
        if (tsv.header.empty()) {
            tsv.header = fields;
            continue;
        }
        if (fields.size() != tsv.header.size())
            die(path.string() + ":" + std::to_string(number) + ": expected " + std::to_string(tsv.header.size())
                + " fields, found " + std::to_string(fields.size()));
        tsv.rows.push_back(std::move(fields));
    }
    if (tsv.header.empty())
        die(path.string() + " has no header line");
    return tsv;
}

void insertRows(sql::Database &db, const std::string &table, const std::vector<std::string> &columns,
                const std::vector<std::vector<std::string>> &rows)
{
    std::string sql = "insert into \"" + table + "\" (";
    std::string marks;
    for (size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? "," : "") + ("\"" + columns[i] + "\"");
        marks += i ? ",?" : "?";
    }
    sql += ") values (" + marks + ")";
    sql::Statement insert = db.prepare(QString::fromStdString(sql));
    if (!insert.ok())
        die("prepare failed for " + table + ": " + db.engineText().toStdString());
    for (const auto &row : rows) {
        for (size_t i = 0; i < row.size(); ++i) // an empty cell is NULL
            insert.bind(int(i + 1), row[i].empty() ? QVariant() : QVariant(QString::fromStdString(row[i])));
        if (insert.run() != SQLITE_DONE)
            die("insert into " + table + " failed: " + db.engineText().toStdString());
        insert.reset();
    }
}

// A channel table: band cells are the CB raster moved by whole 450 kHz steps from the band
// that carries the standard channels, minus a fixed shift.
void channelTable(sql::Database &db, const std::string &table, const std::string &channelColumn,
                  const std::string &bands, char standardBand, int shift)
{
    std::vector<std::string> columns{channelColumn};
    for (char b : bands)
        columns.emplace_back(1, b);
    const int standard = int(bands.find(standardBand));
    std::vector<std::vector<std::string>> rows;
    for (int n = 1; n <= 40; ++n) {
        std::vector<std::string> row{std::to_string(n)};
        for (int b = 0; b < int(bands.size()); ++b)
            row.push_back(
                std::to_string(finder::kCbChannelKHz[size_t(n - 1)] + (b - standard) * finder::kBandStepKHz - shift));
        rows.push_back(row);
    }
    insertRows(db, table, columns, rows);
}

void plainTable(sql::Database &db, const fs::path &dir, const std::string &file, const std::string &table)
{
    const Tsv tsv = readTsv(dir / file);
    insertRows(db, table, tsv.header, tsv.rows);
}

void locatorTable(sql::Database &db, const fs::path &dir)
{
    const Tsv tsv = readTsv(dir / "towns.tsv");
    auto col = [&](const std::string &name) {
        for (size_t i = 0; i < tsv.header.size(); ++i)
            if (tsv.header[i] == name)
                return i;
        die("towns.tsv lacks column " + name);
    };
    const size_t stadt = col("Stadt"), distrikt = col("Distrikt"), lat = col("Lat"), lon = col("Lon"),
                 extra = col("Extra"), dxcc = col("DXCC");
    std::vector<std::vector<std::string>> rows;
    for (const auto &r : tsv.rows) {
        const double la = std::stod(r[lat]), lo = std::stod(r[lon]);
        rows.push_back({maidenheadLocator(la, lo), r[distrikt], r[stadt], r[extra], r[dxcc]});
    }
    insertRows(db, "locator", {"Locator", "Distrikt", "Stadt", "Extra", "DXCC"}, rows);
}

sql::Database create(const fs::path &file)
{
    fs::remove(file);
    sql::Database db;
    if (db.open(QString::fromStdString(file.string()), sql::Database::Access::Create) != SQLITE_OK)
        die("cannot create " + file.string() + ": " + db.engineText().toStdString());
    return db;
}

// Closes the file (every statement is gone by now) and puts it in its place.
void finish(sql::Database &db, const fs::path &tmp, const fs::path &out)
{
    db.close();
    fs::rename(tmp, out);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        die("usage: kw_dbbuild reference|logbook <output file> <db folder>");
    const std::string kind = argv[1];
    const fs::path out = argv[2], dir = argv[3];
    fs::create_directories(out.parent_path());
    const fs::path tmp = out.string() + ".tmp";

    if (kind == "logbook") {
        if (fs::exists(out)) {
            std::cout << out.string() << " exists and keeps its contacts\n";
            return 0;
        }
        sql::Database db = create(tmp);
        exec(db, QStringLiteral("begin"));
        // The tables as the contact defines them, each with the index its list is read by.
        for (logbook::Book book : {logbook::Book::Local, logbook::Book::Dx})
            exec(db, logbook::createTableSql(book) + QLatin1Char(';') + logbook::indexSql(book));
        exec(db, QStringLiteral("commit"));
        finish(db, tmp, out);
        return 0;
    }
    if (kind != "reference")
        die("unknown kind " + kind);

    sql::Database db = create(tmp);
    exec(db, QStringLiteral("begin"));
    exec(db, QString::fromStdString(readFile(dir / "reference_schema.sql")));
    channelTable(db, "umbau", "Kanal", "ABCDEFGHIL", 'D', 0);
    channelTable(db, "Ham", "Kanal", "ABCDEFGHIL", 'D', 5);
    channelTable(db, "albrecht", "Kanal", "ABCDEFGHIJ", 'E', 0);
    channelTable(db, "albrecht2", "Kanal", "ABCDEFGHIJ", 'E', 0);
    channelTable(db, "albrechtallg", "Kanal", "ABCDEFGHIJ", 'E', 0);
    channelTable(db, "president", "KANAL", "ABCDEF", 'D', 0);
    plainTable(db, dir, "prefix.tsv", "prefix");
    locatorTable(db, dir);
    plainTable(db, dir, "dxfreq.tsv", "dxfreq");
    plainTable(db, dir, "bos.tsv", "bos");
    plainTable(db, dir, "flugfunk.tsv", "flugfunk");
    exec(db, QStringLiteral("commit"));
    finish(db, tmp, out);
    return 0;
}
