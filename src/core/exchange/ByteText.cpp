#include "core/exchange/ByteText.h"

namespace exchange {
namespace {

// Length of the UTF-8 sequence at p (at most `left` bytes), 0 when it is no valid one.
int sequenceLength(const uchar *p, qsizetype left)
{
    const uchar c = p[0];
    int n;
    char32_t min;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, min = 0x10000;
    else
        return 0;
    if (left < n)
        return 0;
    char32_t value = c & (0x7F >> n);
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return n;
}

// 0x80-0x9F of Windows-1252; 0 where it has no character (those bytes stay Latin-1 controls).
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

bool isUtf8(const char *bytes, qsizetype size)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes);
    for (qsizetype i = 0; i < size;) {
        const int n = sequenceLength(p + i, size - i);
        if (!n)
            return false;
        i += n;
    }
    return true;
}

qsizetype utf8IncompleteTail(const char *bytes, qsizetype size)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes);
    for (qsizetype i = 0; i < size;) {
        const int n = sequenceLength(p + i, size - i);
        if (n) {
            i += n;
            continue;
        }
        // A lead byte whose sequence is cut by the end of the block is no error yet.
        const int need = p[i] >= 0xF0 ? 4 : p[i] >= 0xE0 ? 3 : 2;
        if (p[i] < 0xC2 || p[i] > 0xF4 || size - i >= need)
            return -1;
        for (qsizetype k = i + 1; k < size; ++k)
            if ((p[k] & 0xC0) != 0x80)
                return -1;
        return size - i;
    }
    return 0;
}

qsizetype utf8CharactersEnd(const char *bytes, qsizetype size, qsizetype characters)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes);
    qsizetype i = 0;
    for (qsizetype c = 0; c < characters; ++c) {
        if (i >= size)
            return -1;
        const int n = sequenceLength(p + i, size - i);
        if (!n)
            return -1;
        i += n;
    }
    return i;
}

QString fromWindows1252(const char *bytes, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        const uchar c = uchar(bytes[i]);
        text[i] = QChar(c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] ? kHigh[c - 0x80] : char16_t(c));
    }
    return text;
}

qsizetype codePoints(QStringView text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return n;
}

} // namespace exchange
