#include "data/SqlLike.h"

#include <QList>
#include <sqlite3.h>

#include <cstring>
#include <string>

namespace data {
namespace {

// Iterative wildcard match with one backtrack point, linear for typical patterns.
template <typename Ch, typename Eq>
bool matchImpl(const Ch *p, size_t pn, const Ch *t, size_t tn, Ch pct, Ch und, Ch esc, bool hasEsc,
               Eq eq)
{
    size_t pi = 0, ti = 0;
    size_t starP = SIZE_MAX, starT = 0;
    while (ti < tn) {
        if (pi < pn) {
            Ch pc = p[pi];
            if (hasEsc && pc == esc && pi + 1 < pn) {
                if (eq(p[pi + 1], t[ti])) {
                    pi += 2;
                    ++ti;
                    continue;
                }
            } else if (pc == pct) {
                starP = ++pi;
                starT = ti;
                continue;
            } else if (pc == und || eq(pc, t[ti])) {
                ++pi;
                ++ti;
                continue;
            }
        }
        if (starP == SIZE_MAX)
            return false;
        pi = starP;
        ti = ++starT;
    }
    while (pi < pn && p[pi] == pct)
        ++pi;
    return pi == pn;
}

bool isAscii(const unsigned char *s, int n)
{
    for (int i = 0; i < n; ++i)
        if (s[i] & 0x80)
            return false;
    return true;
}

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// UTF-8 to case-folded code points, into a buffer that is reused from row to row.
void foldUtf8(const unsigned char *s, int n, std::u32string &out)
{
    out.clear();
    for (int i = 0; i < n;) {
        char32_t c = s[i];
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        if (extra)
            c &= 0x3F >> extra;
        ++i;
        for (; extra > 0 && i < n; --extra, ++i)
            c = (c << 6) | (s[i] & 0x3F);
        out.push_back(char32_t(QChar::toCaseFolded(c)));
    }
}

void foldUtf16(QStringView s, std::u32string &out)
{
    out.clear();
    for (const char32_t c : s.toUcs4())
        out.push_back(char32_t(QChar::toCaseFolded(c)));
}

bool matchFolded(const std::u32string &p, const std::u32string &t, char32_t escape, bool hasEscape)
{
    return matchImpl<char32_t>(p.data(), p.size(), t.data(), t.size(), U'%', U'_', escape, hasEscape,
                               [](char32_t a, char32_t b) { return a == b; });
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // like(pattern, text [, escape])
    const auto *pat = sqlite3_value_text(argv[0]);
    const int pn = sqlite3_value_bytes(argv[0]);
    const auto *txt = sqlite3_value_text(argv[1]);
    const int tn = sqlite3_value_bytes(argv[1]);
    QChar esc;
    bool hasEsc = false;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        const QString e = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[2])));
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        esc = e.at(0);
        hasEsc = true;
    }
    if (!pat || !txt) {
        sqlite3_result_null(ctx);
        return;
    }
    if ((!hasEsc || esc.unicode() < 0x80) && isAscii(pat, pn) && isAscii(txt, tn)) {
        const char e = hasEsc ? char(esc.unicode()) : 0;
        const bool r = matchImpl<char>(reinterpret_cast<const char *>(pat), size_t(pn),
                                       reinterpret_cast<const char *>(txt), size_t(tn), '%', '_', e,
                                       hasEsc, [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
        sqlite3_result_int(ctx, r ? 1 : 0);
        return;
    }
    thread_local std::u32string p, t;
    foldUtf8(pat, pn, p);
    foldUtf8(txt, tn, t);
    const char32_t e = hasEsc ? char32_t(QChar::toCaseFolded(esc.unicode())) : 0;
    sqlite3_result_int(ctx, matchFolded(p, t, e, hasEsc) ? 1 : 0);
}

} // namespace

bool likeMatch(QStringView pattern, QStringView text, QChar escape)
{
    std::u32string p, t;
    foldUtf16(pattern, p);
    foldUtf16(text, t);
    const char32_t e = escape.isNull() ? 0 : char32_t(QChar::toCaseFolded(escape.unicode()));
    return matchFolded(p, t, e, !escape.isNull());
}

bool registerLike(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK
        && sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK;
}

QString sqlText(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

} // namespace data
