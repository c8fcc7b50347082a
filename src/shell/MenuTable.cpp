#include "shell/MenuTable.h"

#include <cstring>

namespace shell {

const std::vector<MenuItem> &menuTable()
{
    using K = QKeySequence;
    static const std::vector<MenuItem> table = {
        {1, "prog", "Programm", {}, nullptr},
        {2, "end", "Ende", {}, nullptr},
        {1, "wind", "Fenster", {}, nullptr},
        {1, "tool", "Tools", {}, nullptr},
        {2, "kabelrechnen", "Kabellänge berechnen", {}, "frm_kabel"},
        {2, "welle", "Wellenlänge & Frequenz", {}, "frm_welle"},
        {2, "loc", "Locator-Datenbank", {}, "frm_locator"},
        {1, "kontak", "Logbuch", {}, nullptr},
        {2, "norm", "LOCAL", K(Qt::CTRL | Qt::Key_L), "frm_kontaktverwaltung"},
        {2, "dd", "DX", K(Qt::CTRL | Qt::Key_D), "frm_kontaktverwaltungdx"},
        {1, "gfd", "DX", {}, nullptr},
        {2, "gfhfgh", "DX Prefixliste", {}, "frm_prefix"},
        {2, "gfsgdfgssd", "DX Frequenzen", {}, "frm_dx"},
        {1, "freq", "Frequenzsuche", {}, nullptr},
        {2, "allg", "Allgemein", {}, nullptr},
        {3, "allgemein", "CB Kanal 1 - 80", K(Qt::CTRL | Qt::Key_A), "frm_frequenzsuche"},
        {2, "mdal", "Midland ALAN", {}, nullptr},
        {3, "midland", "Midland Alan 18/28/42/48/77/78/95 CB", {}, nullptr},
        {4, "frerqlist", "Frequenzliste", K(Qt::CTRL | Qt::Key_F), "frm_liste"},
        {4, "freqw", "Frequenzsuche", K(Qt::CTRL | Qt::Key_S), "frm_suche"},
        {3, "HAMVERSION", "Midland Alan 18/28/42/48/77/78/95 HAM", {}, nullptr},
        {4, "hamliste", "Frequenzliste", K(Qt::CTRL | Qt::Key_X), "frm_listeham"},
        {4, "ham", "Frequenzsuche", K(Qt::CTRL | Qt::Key_H), "frm_sucheHAM"},
        {2, "alb", "Albrecht", {}, nullptr},
        {3, "adsdsd", "Allgemein", {}, nullptr},
        {4, "bvcbfdgdf", "Frequenzliste Albrecht allgmein", K(Qt::Key_F7), "frm_listealbrechtallg"},
        {4, "gghgfhgfnfghgfh", "Frequenzsuche Albrecht allgemein", {}, "frm_suchealbrecht"},
        {3, "albr", "Albrecht AE5800", {}, nullptr},
        {4, "freqalbr", "Frequenzliste", K(Qt::CTRL | Qt::Key_T), "frm_albrecht"},
        {4, "fsalbr", "Frequenzsuche", K(Qt::CTRL | Qt::Key_U), "frm_suche_albrscht"},
        {2, "pres", "President", {}, nullptr},
        {3, "hngfh", "Jackson", {}, nullptr},
        {4, "freqjack", "Frequenzliste", {}, "frm_listepresident"},
        {4, "xfgsdfgsgsdfg", "Frequenzsuche", {}, "frm_suche_president"},
        {1, "scan", "SCANNER", {}, nullptr},
        {2, "bos", "BOS-FUNK", {}, "frm_bos"},
        {2, "flug", "Flugfunk", {}, "frm_flug"},
        {1, "sicherung", "Datenverwaltung", {}, nullptr},
        {2, "sichern", "Backup", K(Qt::CTRL | Qt::Key_B), "frm_datensicherung"},
        {2, "rescue", "Wiederherstellung", K(Qt::CTRL | Qt::Key_W), "frm_wiederherstellen"},
        {2, "adifexport", "ADIF-Export ...", {}, "frm_adifexport"},
        {2, "adifimport", "ADIF-Import ...", {}, "frm_adifimport"},
        {1, "alph", "Alphabet", {}, "frm_speech"},
        {1, "about", "?", {}, "frm_about"},
    };
    return table;
}

MenuCommand commandOf(const MenuItem &item)
{
    if (std::strcmp(item.name, "end") == 0)
        return MenuCommand::End;
    if (std::strcmp(item.name, "wind") == 0)
        return MenuCommand::WindowList;
    if (std::strcmp(item.name, "sichern") == 0)
        return MenuCommand::Backup;
    if (std::strcmp(item.name, "rescue") == 0)
        return MenuCommand::Restore;
    if (std::strcmp(item.name, "adifexport") == 0 || std::strcmp(item.name, "adifimport") == 0)
        return MenuCommand::Exchange;
    return item.window ? MenuCommand::ShowWindow : MenuCommand::None;
}

const QStringList &windowsClosedForBackup()
{
    static const QStringList names = {"frm_kontaktverwaltung",
                                      "frm_kontaktverwaltungdx",
                                      "frm_frequenzsuche",
                                      "frm_liste",
                                      "frm_listeham",
                                      "frm_suche",
                                      "frm_sucheHAM",
                                      "frm_suche_albrscht",
                                      "frm_albrecht",
                                      "frm_listealbrechtallg",
                                      "frm_suchealbrecht",
                                      "frm_listepresident",
                                      "frm_suche_president",
                                      "frm_dx",
                                      "frm_prefix"};
    return names;
}

const QStringList &logbookWindows()
{
    static const QStringList names = {"frm_kontaktverwaltung", "frm_kontaktverwaltungdx"};
    return names;
}

} // namespace shell
