#pragma once
#include <QString>

// Bytes of a file as text, for readers that cannot know how the writer encoded it.
namespace exchange {

// Whether the bytes are complete, valid UTF-8.
bool isUtf8(const char *bytes, qsizetype size);

// For text that arrives in blocks: -1 when the bytes are no valid UTF-8, else how many bytes at
// their end begin a sequence the next block has to complete.
qsizetype utf8IncompleteTail(const char *bytes, qsizetype size);

// Where `characters` UTF-8 characters starting at bytes end (an offset into bytes), or -1 when
// the bytes are no valid UTF-8 or end first.
qsizetype utf8CharactersEnd(const char *bytes, qsizetype size, qsizetype characters);

// Windows-1252, the "ANSI" of German Windows: Latin-1 with € and the quotes in 0x80-0x9F.
QString fromWindows1252(const char *bytes, qsizetype size);

// The number of Unicode characters (code points) of a text.
qsizetype codePoints(QStringView text);

} // namespace exchange
