-- Reference database Frequenzen.quorvel: read by the program, never written.
-- Channel tables: one row per channel 1 to 40 in channel order, band cells in kHz (five digits).
CREATE TABLE umbau (Kanal INTEGER, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER,
                    F INTEGER, G INTEGER, H INTEGER, I INTEGER, L INTEGER);
CREATE TABLE Ham (Kanal INTEGER, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER,
                  F INTEGER, G INTEGER, H INTEGER, I INTEGER, L INTEGER);
CREATE TABLE albrecht (Kanal INTEGER, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER,
                       F INTEGER, G INTEGER, H INTEGER, I INTEGER, J INTEGER);
CREATE TABLE albrecht2 (Kanal INTEGER, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER,
                        F INTEGER, G INTEGER, H INTEGER, I INTEGER, J INTEGER);
CREATE TABLE albrechtallg (Kanal INTEGER, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER,
                           F INTEGER, G INTEGER, H INTEGER, I INTEGER, J INTEGER);
CREATE TABLE president (KANAL INTEGER, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER,
                        F INTEGER);

CREATE TABLE dxfreq (Frequenz TEXT, Modulation TEXT, "Land-Organisation" TEXT);
CREATE TABLE prefix (PREFIX TEXT, LAND TEXT, L TEXT);
CREATE TABLE locator (Locator TEXT, Distrikt TEXT, Stadt TEXT, Extra TEXT, DXCC TEXT);
CREATE TABLE bos (BL TEXT, Ort TEXT, Benutzer TEXT, Rufname TEXT, Kanal TEXT, Freq TEXT);
CREATE TABLE flugfunk (Frquenz TEXT, Ort TEXT);
