#pragma once
#include "core/logbook/LinePrinter.h"
#include "ui/PagePainter.h"
#include "ui/Spool.h"

#include <memory>

class QPrinter;

namespace ui {

// The real line printer. It keeps the listing in a temporary file until the document ends, then
// paints it for the system's default printer into a temporary PDF file, which goes to the
// printer's queue only when it is whole (a cancelled or failed job reaches no printer); when
// there is no printer, or it fails, it paints the same listing into a new PDF file in the user's
// home folder instead, so that nothing is lost.
class SystemPrinter : public logbook::LinePrinter {
public:
    explicit SystemPrinter(QString documentName);

    void setFontName(const QString &name) override { m_fontName = name; }
    void setFontSize(float points) override { m_fontSize = points; }
    void printLine(const QString &line) override { m_spool.add({m_fontName, m_fontSize, line}); }
    logbook::PrintOutcome endDocument() override;
    void abortDocument() override { m_spool.clear(); }
    void setProgress(const logbook::PrintProgress &progress) override { m_progress = progress; }

private:
    QString m_documentName;
    QString m_fontName;
    float m_fontSize = 12;
    Spool m_spool;
    logbook::PrintProgress m_progress;
};

// Hands a finished PDF file to the printer's print queue (CUPS) with the printer's paper and
// sides; false when the queue did not take it.
bool submitToQueue(const QPrinter &printer, const QString &file, const QString &title);

// A new, so far unused file in folder named after the document and today's date
// ("Logbuch LOCAL 07.12.2026.pdf", then "... (2).pdf"); created empty to hold the name.
// Empty when the folder takes no new file.
QString reservePdfFile(const QString &folder, const QString &documentName);

} // namespace ui
