#pragma once
#include "logbook/LinePrinter.h"
#include "logbook/PagePainter.h"

#include <QList>
#include <functional>
#include <memory>

class QPrinter;

namespace logbook {

// The real line printer. It keeps the listing until the document ends, then paints it on the
// system's default printer; when there is none, or the printer fails, it paints the same listing
// into a new PDF file in the user's home folder instead, so that nothing is lost.
class SystemPrinter : public LinePrinter {
public:
    explicit SystemPrinter(QString documentName);

    void setFontName(const QString &name) override { m_fontName = name; }
    void setFontSize(float points) override { m_fontSize = points; }
    void printLine(const QString &line) override { m_lines.append({m_fontName, m_fontSize, line}); }
    PrintOutcome endDocument() override;
    void abortDocument() override { m_lines.clear(); }

private:
    QString m_documentName;
    QString m_fontName;
    float m_fontSize = 12;
    QList<DocumentLine> m_lines;
};

// The system's default printer, null when there is none. Tests replace it.
using PrinterLookup = std::function<std::unique_ptr<QPrinter>()>;
std::unique_ptr<QPrinter> defaultPrinter();
void setPrinterLookup(PrinterLookup lookup); // empty function: the system's default printer again

// A new, so far unused file in folder named after the document and today's date
// ("Logbuch LOCAL 07.12.2026.pdf", then "... (2).pdf"); created empty to hold the name.
// Empty when the folder takes no new file.
QString reservePdfFile(const QString &folder, const QString &documentName);

} // namespace logbook
