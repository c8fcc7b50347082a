-- Logbook database Frequenzen1.quorvel: the user's contacts. Created empty once, never overwritten.
-- The two tables Kontakt and Kontakt_dx are created by kw_dbbuild from the contact's columns
-- (src/core/logbook/Contact.cpp: id INTEGER PRIMARY KEY, then every column in file order);
-- id addresses one row for edits and deletes, the windows show only their named columns.
-- This file adds what the tables need beyond their columns: the sort indexes of the full lists.
-- They hold the German order of the lists (umlauts with their base letters, case not deciding)
-- in built-in functions only, so every SQLite tool can read and write the file.
CREATE INDEX "Kontakt_sort_skip" ON "Kontakt" (lower(replace(replace(replace(replace(replace(replace(replace("skip",'Ä','a'),'ä','a'),'Ö','o'),'ö','o'),'Ü','u'),'ü','u'),'ß','ss')), "skip");
CREATE INDEX "Kontakt_dx_sort_datum" ON "Kontakt_dx" (lower(replace(replace(replace(replace(replace(replace(replace("datum",'Ä','a'),'ä','a'),'Ö','o'),'ö','o'),'Ü','u'),'ü','u'),'ß','ss')), "datum");
