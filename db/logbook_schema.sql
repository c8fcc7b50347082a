-- Logbook database Frequenzen1.quorvel: the user's contacts. Created empty once, never overwritten.
-- id addresses one row for edits and deletes; the windows show only their named columns.
CREATE TABLE Kontakt (id INTEGER PRIMARY KEY, skip TEXT, vorname TEXT, ort TEXT, land TEXT,
                      callsign TEXT, datum TEXT, uhrzeit TEXT, lanal TEXT, frequenz TEXT, band TEXT,
                      rwert TEXT, swert TEXT, name TEXT, strasse TEXT, plz TEXT, tel TEXT, email TEXT,
                      web TEXT, bemerkung TEXT);
CREATE INDEX Kontakt_skip ON Kontakt (skip);
CREATE TABLE Kontakt_dx (id INTEGER PRIMARY KEY, skip TEXT, vorname TEXT, ort TEXT, land TEXT,
                         callsign TEXT, datum TEXT, uhrzeit TEXT, lanal TEXT, frequenz TEXT, band TEXT,
                         rwert TEXT, swert TEXT, name TEXT, strasse TEXT, plz TEXT, tel TEXT,
                         email TEXT, web TEXT, bemerkung TEXT, qslverschickt INTEGER DEFAULT 0,
                         qslbekommen INTEGER DEFAULT 0);
CREATE INDEX Kontakt_dx_datum ON Kontakt_dx (datum);
