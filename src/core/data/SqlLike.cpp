#include "core/data/SqlLike.h"

#include <QChar>
#include <sqlite3.h>

#include <string>

namespace data {
namespace {

constexpr size_t kNone = size_t(-1);

inline char32_t fold(char32_t c)
{
    if (c < 0x80)
        return c - U'A' < 26u ? c + 32 : c;
    return char32_t(QChar::toCaseFolded(c));
}

// One code point of UTF-8 text at i; i moves past it. Broken sequences read as what they hold.
inline char32_t decode(const unsigned char *s, size_t n, size_t &i)
{
    const unsigned char lead = s[i++];
    if (lead < 0x80)
        return lead;
    int extra = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = lead & (0x3F >> extra);
    for (; extra > 0 && i < n; --extra, ++i)
        c = (c << 6) | (s[i] & 0x3F);
    return c;
}

// A pattern folded once per statement, not once per row.
struct Pattern {
    std::u32string folded;
    char32_t escape = 0;
    bool hasEscape = false;
};

Pattern foldPattern(const unsigned char *s, size_t n, char32_t escape, bool hasEscape)
{
    Pattern p;
    p.folded.reserve(n);
    for (size_t i = 0; i < n;)
        p.folded.push_back(fold(decode(s, n, i)));
    p.escape = hasEscape ? fold(escape) : 0;
    p.hasEscape = hasEscape;
    return p;
}

// The first byte at or after i where a character folding to the ASCII character c can start:
// c in either case, and the two letters outside ASCII that fold into it (long s, Kelvin sign).
inline size_t candidate(const unsigned char *t, size_t n, size_t i, char32_t c)
{
    if (c - U'a' >= 26u) {
        while (i < n && t[i] != c)
            ++i;
        return i;
    }
    const unsigned char upper = static_cast<unsigned char>(c - 32);
    const unsigned char lead = c == U's' ? 0xC5 : c == U'k' ? 0xE2 : 0x00;
    while (i < n && t[i] != c && t[i] != upper && (t[i] != lead || lead == 0))
        ++i;
    return i;
}

// Wildcard match with one backtrack point, walking the text by code points and folding each
// as it comes: no copy of the text, linear for the usual %text% patterns. After a % the text is
// skipped bytewise to where the next literal can match.
bool matchText(const Pattern &pattern, const unsigned char *t, size_t tn)
{
    const std::u32string &p = pattern.folded;
    const size_t pn = p.size();
    size_t pi = 0, ti = 0;
    size_t starP = kNone, starT = 0;
    while (ti < tn) {
        if (pi < pn) {
            const char32_t pc = p[pi];
            if (pi == starP && pc < 0x80 && pc != U'%' && pc != U'_' && !(pattern.hasEscape && pc == pattern.escape)) {
                ti = starT = candidate(t, tn, ti, pc);
                if (ti >= tn)
                    break;
            }
            size_t next = ti;
            if (pattern.hasEscape && pc == pattern.escape && pi + 1 < pn) {
                if (fold(decode(t, tn, next)) == p[pi + 1]) {
                    pi += 2;
                    ti = next;
                    continue;
                }
            } else if (pc == U'%') {
                while (pi < pn && p[pi] == U'%')
                    ++pi;
                if (pi == pn) // a trailing % takes the rest of the text, whatever it is
                    return true;
                starP = pi;
                starT = ti;
                continue;
            } else {
                const char32_t tc = decode(t, tn, next);
                if (pc == U'_' || fold(tc) == pc) {
                    ++pi;
                    ti = next;
                    continue;
                }
            }
        }
        if (starP == kNone)
            return false;
        pi = starP;
        decode(t, tn, starT);
        ti = starT;
    }
    while (pi < pn && p[pi] == U'%')
        ++pi;
    return pi == pn;
}

void deletePattern(void *p) { delete static_cast<Pattern *>(p); }

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    // like(pattern, text [, escape]); NULL on either side gives NULL, which WHERE treats as no match.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto *pattern = static_cast<Pattern *>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        char32_t escape = 0;
        bool hasEscape = false;
        if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
            const auto *e = sqlite3_value_text(argv[2]);
            const size_t en = size_t(sqlite3_value_bytes(argv[2]));
            size_t i = 0;
            if (e && en > 0)
                escape = decode(e, en, i);
            if (!e || en == 0 || i != en) {
                sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
                return;
            }
            hasEscape = true;
        }
        const auto *p = sqlite3_value_text(argv[0]);
        if (!p) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
        pattern = new Pattern(foldPattern(p, size_t(sqlite3_value_bytes(argv[0])), escape, hasEscape));
        sqlite3_set_auxdata(ctx, 0, pattern, deletePattern);
        // SQLite may have freed it at once when the pattern is not a constant of the statement.
        pattern = static_cast<Pattern *>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            const Pattern once = foldPattern(p, size_t(sqlite3_value_bytes(argv[0])), escape, hasEscape);
            const auto *t = sqlite3_value_text(argv[1]);
            sqlite3_result_int(ctx, t && matchText(once, t, size_t(sqlite3_value_bytes(argv[1]))) ? 1 : 0);
            return;
        }
    }
    const auto *t = sqlite3_value_text(argv[1]);
    if (!t) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_result_int(ctx, matchText(*pattern, t, size_t(sqlite3_value_bytes(argv[1]))) ? 1 : 0);
}

} // namespace

bool likeMatch(QStringView pattern, QStringView text, QChar escape)
{
    const QByteArray p = pattern.toUtf8();
    const QByteArray t = text.toUtf8();
    const Pattern folded = foldPattern(reinterpret_cast<const unsigned char *>(p.constData()), size_t(p.size()),
                                       escape.unicode(), !escape.isNull());
    return matchText(folded, reinterpret_cast<const unsigned char *>(t.constData()), size_t(t.size()));
}

bool registerLike(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK
           && sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK;
}

} // namespace data
