-- Logbook database Frequenzen1.quorvel: the user's contacts. Created empty once, never overwritten.
-- id addresses one row for edits and deletes; the windows show only their named columns.
-- The sort indexes hold the German order of the lists (umlauts with their base letters, case not
-- deciding) in built-in functions only, so every SQLite tool can read and write the file.
CREATE TABLE Kontakt (id INTEGER PRIMARY KEY, skip TEXT, vorname TEXT, ort TEXT, land TEXT,
                      callsign TEXT, datum TEXT, uhrzeit TEXT, lanal TEXT, frequenz TEXT, band TEXT,
                      rwert TEXT, swert TEXT, name TEXT, strasse TEXT, plz TEXT, tel TEXT, email TEXT,
                      web TEXT, bemerkung TEXT);
CREATE INDEX "Kontakt_sort_skip" ON "Kontakt" (lower(replace(replace(replace(replace(replace(replace(replace("skip",'Ä','a'),'ä','a'),'Ö','o'),'ö','o'),'Ü','u'),'ü','u'),'ß','ss')), "skip");
CREATE TABLE Kontakt_dx (id INTEGER PRIMARY KEY, skip TEXT, vorname TEXT, ort TEXT, land TEXT,
                         callsign TEXT, datum TEXT, uhrzeit TEXT, lanal TEXT, frequenz TEXT, band TEXT,
                         rwert TEXT, swert TEXT, name TEXT, strasse TEXT, plz TEXT, tel TEXT,
                         email TEXT, web TEXT, bemerkung TEXT, qslverschickt INTEGER DEFAULT 0,
                         qslbekommen INTEGER DEFAULT 0);
CREATE INDEX "Kontakt_dx_sort_datum" ON "Kontakt_dx" (lower(replace(replace(replace(replace(replace(replace(replace("datum",'Ä','a'),'ä','a'),'Ö','o'),'ö','o'),'Ü','u'),'ü','u'),'ß','ss')), "datum");
