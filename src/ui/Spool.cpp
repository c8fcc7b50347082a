#include "ui/Spool.h"

#include <QDir>

namespace ui {

Spool::Spool() : m_file(QDir::temp().filePath(QStringLiteral("kanalwerk-druck-XXXXXX")))
{
    m_ok = m_file.open();
    m_stream.setDevice(&m_file);
}

quint16 Spool::fontIndex(const QString &name, float size)
{
    for (size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i].first == name && m_fonts[i].second == size)
            return quint16(i);
    m_fonts.emplace_back(name, size);
    return quint16(m_fonts.size() - 1);
}

bool Spool::add(const DocumentLine &line)
{
    if (!m_ok)
        return false;
    m_stream << fontIndex(line.fontName, line.fontSize) << line.text;
    m_ok = m_stream.status() == QDataStream::Ok;
    ++m_count;
    return m_ok;
}

void Spool::clear()
{
    m_file.resize(0);
    m_stream.resetStatus();
    m_file.seek(0);
    m_count = 0;
    m_fonts.clear();
}

bool Spool::rewind()
{
    if (!m_ok || !m_file.flush() || !m_file.seek(0))
        return m_ok = false;
    m_stream.resetStatus();
    return true;
}

bool Spool::next(DocumentLine *line)
{
    quint16 font = 0;
    m_stream >> font >> line->text;
    if (m_stream.status() != QDataStream::Ok || font >= m_fonts.size())
        return false;
    line->fontName = m_fonts[font].first;
    line->fontSize = m_fonts[font].second;
    return true;
}

} // namespace ui
