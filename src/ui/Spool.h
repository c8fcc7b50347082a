#pragma once
#include "ui/PagePainter.h"

#include <QDataStream>
#include <QTemporaryFile>
#include <utility>
#include <vector>

namespace ui {

// The lines of a listing kept in a temporary file until the document ends, so that the memory a
// listing takes does not grow with the logbook. Read back in the order written.
class Spool : public LineSource {
public:
    Spool();
    // False once a line could not be written (no temporary file, disk full); nothing is lost
    // silently: the document then fails.
    bool add(const DocumentLine &line);
    bool ok() const { return m_ok; }
    void clear();

    // Reading: from the first line again.
    bool rewind();
    bool next(DocumentLine *line) override;
    qint64 size() const override { return m_count; }

private:
    quint16 fontIndex(const QString &name, float size);

    QTemporaryFile m_file;
    QDataStream m_stream;
    std::vector<std::pair<QString, float>> m_fonts;
    qint64 m_count = 0;
    bool m_ok = true;
};

} // namespace ui
