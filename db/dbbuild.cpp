// Builds Frequenzen.quorvel (reference) from the schema and row files of this folder, and the
// empty Frequenzen1.quorvel (logbook) from the contact's columns and the sort indexes of this folder.
//   kw_dbbuild reference <output file> <db folder>
//   kw_dbbuild logbook   <output file> <db folder>   (does nothing when the file exists)
#include "core/finder/CbRaster.h"
#include "core/logbook/Contact.h"
#include "core/lookup/Maidenhead.h"

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

void exec(sqlite3 *db, const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        die(std::string("SQL failed: ") + (error ? error : "?"));
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

void insertRows(sqlite3 *db, const std::string &table, const std::vector<std::string> &columns,
                const std::vector<std::vector<std::string>> &rows)
{
    std::string sql = "insert into \"" + table + "\" (";
    std::string marks;
    for (size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? "," : "") + ("\"" + columns[i] + "\"");
        marks += i ? ",?" : "?";
    }
    sql += ") values (" + marks + ")";
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        die("prepare failed for " + table + ": " + sqlite3_errmsg(db));
    for (const auto &row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (row[i].empty())
                sqlite3_bind_null(stmt, int(i + 1));
            else
                sqlite3_bind_text(stmt, int(i + 1), row[i].c_str(), int(row[i].size()), SQLITE_TRANSIENT);
        }
        if (sqlite3_step(stmt) != SQLITE_DONE)
            die("insert into " + table + " failed: " + sqlite3_errmsg(db));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
}

// A channel table: band cells are the CB raster moved by whole 450 kHz steps from the band
// that carries the standard channels, minus a fixed shift.
void channelTable(sqlite3 *db, const std::string &table, const std::string &channelColumn, const std::string &bands,
                  char standardBand, int shift)
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

void plainTable(sqlite3 *db, const fs::path &dir, const std::string &file, const std::string &table)
{
    const Tsv tsv = readTsv(dir / file);
    insertRows(db, table, tsv.header, tsv.rows);
}

void locatorTable(sqlite3 *db, const fs::path &dir)
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

sqlite3 *create(const fs::path &file)
{
    fs::remove(file);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        die("cannot create " + file.string());
    return db;
}

void finish(sqlite3 *db, const fs::path &tmp, const fs::path &out)
{
    if (sqlite3_close(db) != SQLITE_OK)
        die("cannot close " + tmp.string());
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
        sqlite3 *db = create(tmp);
        exec(db, "begin");
        // The tables as the contact defines them; the file adds their sort indexes.
        for (logbook::Book book : {logbook::Book::Local, logbook::Book::Dx})
            exec(db, logbook::createTableSql(book).toStdString());
        exec(db, readFile(dir / "logbook_schema.sql"));
        exec(db, "commit");
        finish(db, tmp, out);
        return 0;
    }
    if (kind != "reference")
        die("unknown kind " + kind);

    sqlite3 *db = create(tmp);
    exec(db, "begin");
    exec(db, readFile(dir / "reference_schema.sql"));
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
    exec(db, "commit");
    finish(db, tmp, out);
    return 0;
}
