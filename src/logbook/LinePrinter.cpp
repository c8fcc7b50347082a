#include "logbook/LinePrinter.h"

#include "logbook/SystemPrinter.h"

namespace logbook {
namespace {
PrinterFactory &factory()
{
    static PrinterFactory instance;
    return instance;
}
} // namespace

void setPrinterFactory(PrinterFactory f) { factory() = std::move(f); }

std::unique_ptr<LinePrinter> makePrinter(const QString &documentName)
{
    if (factory())
        return factory()(documentName);
    return std::make_unique<SystemPrinter>(documentName);
}

} // namespace logbook
