#include "shell/WindowRegistry.h"

#include "backup/BackupWindow.h"
#include "calc/KabelWindow.h"
#include "calc/WelleWindow.h"
#include "exchange/ExchangeWindows.h"
#include "finder/FinderWindow.h"
#include "lists/ListWindow.h"
#include "logbook/LogbookWindow.h"
#include "lookup/BosWindow.h"
#include "lookup/FlugWindow.h"
#include "lookup/LocatorWindow.h"
#include "lookup/PrefixWindow.h"
#include "shell/AboutWindow.h"
#include "speech/SpeechWindow.h"
#include "ui/WindowHelpers.h"

namespace shell {

void registerAllWindows(WindowRegistry &registry)
{
    const WindowFrame fixed{WindowFrame::Border::Fixed, std::nullopt};
    registry.add(
        QStringLiteral("frm_about"), [] { return new AboutWindow; }, fixed);
    registry.add(
        QStringLiteral("frm_welle"), [] { return new calc::WelleWindow; }, fixed);
    registry.add(
        QStringLiteral("frm_kabel"), [] { return new calc::KabelWindow; }, fixed);
    // Backup and restore close the data windows after opening: not beside them, in the middle.
    registry.add(
        QStringLiteral("frm_datensicherung"),
        [] { return new backup::BackupWindow(backup::BackupWindow::Kind::Backup); },
        WindowFrame{WindowFrame::Border::Fixed, std::nullopt, true});
    registry.add(
        QStringLiteral("frm_wiederherstellen"),
        [] { return new backup::BackupWindow(backup::BackupWindow::Kind::Restore); },
        WindowFrame{WindowFrame::Border::FixedMinimizable, std::nullopt, true});
    registry.add(
        QStringLiteral("frm_speech"), [] { return new speech::SpeechWindow; }, fixed);
    registry.add(QStringLiteral("frm_prefix"), [] { return new lookup::PrefixWindow; });
    registry.add(QStringLiteral("frm_locator"), [] { return new lookup::LocatorWindow; });
    registry.add(QStringLiteral("frm_bos"), [] { return new lookup::BosWindow; });
    registry.add(QStringLiteral("frm_flug"), [] { return new lookup::FlugWindow; });
    for (const lists::ListDefinition &list : lists::listDefinitions()) {
        WindowFrame frame = fixed;
        if (list.placeTwips)
            frame.placeAt = QPoint(ui::twips(list.placeTwips->x()), ui::twips(list.placeTwips->y()));
        registry.add(
            QString::fromLatin1(list.name), [&list] { return new lists::ListWindow(list); }, frame);
    }
    registry.add(QStringLiteral("frm_adifexport"), [] { return new exchange::ExportWindow; });
    registry.add(QStringLiteral("frm_adifimport"), [] { return new exchange::ImportWindow; });
    for (const logbook::LogbookVariant *variant : {&logbook::kLocalLogbook, &logbook::kDxLogbook})
        registry.add(QString::fromLatin1(variant->name), [variant] { return new logbook::LogbookWindow(*variant); });
    for (const finder::FinderVariant *variant : finder::allVariants()) {
        registry.add(QString::fromLatin1(variant->name), [variant] { return new finder::FinderWindow(*variant); });
    }
}

} // namespace shell
