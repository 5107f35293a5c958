#!/usr/bin/env bash
# Remakes the binary seeds: small SQLite class tables (512-byte pages keep
# them at a few KiB), an Access header page, and patches for the overlay.
set -euo pipefail
cd "$(dirname "$0")/corpus"
columns='ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER, Class TEXT, File TEXT, Description TEXT, VarType TEXT, Parameter TEXT'
sqlite_seed() {
    rm -f "sqlite_table/$1.db"
    sqlite3 "sqlite_table/$1.db" "PRAGMA page_size=512; $2"
}
sqlite_seed tree "CREATE TABLE Klassen ($columns);
INSERT INTO Klassen VALUES (9,1,0,-1,'CView','afxwin.h','Platzhalter',NULL,NULL),
 (0,1,12,9,'CMyView','inc/myview.h','Ansicht mit Ä'||char(13,10)||'zwei Zeilen','',''),
 (1,2,14,0,'OnDraw','myview.h',NULL,'void','CDC* pDC'),
 (2,3,20,0,'m_nCount','myview.h','','int','keine Parameter'),
 (10,1,3,-1,'CDoc','doc.h','Größe €','',''),
 (11,2,5,10,'Serialize','doc.h','','void','CArchive& ar');"
sqlite_seed parked "CREATE TABLE Klassen ($columns);
INSERT INTO Klassen VALUES (5,1,0,4,'C','c.h','','',''),(4,1,0,1,'B','b.h','','',''),
 (1,1,0,-1,'A','a.h','','',''),(2,2,0,1,'f','a.h','','',''),(7,3,0,99,'lost','x.h','','','');
CREATE TABLE Alt ($columns); INSERT INTO Alt VALUES (1,1,1,-1,'X','x.h','','','');
CREATE TABLE Notizen (Titel TEXT, Datum TEXT);"
sqlite_seed odd_types "CREATE TABLE Klassen (ID, Type, Row, Parent, Class, File, Description, VarType, Parameter);
INSERT INTO Klassen VALUES ('12abc',1,1.5,-1,x'00ff41',3,NULL,'',''),(2,7,-2147483648,-1,'k','','','',''),
 (3,2,9223372036854775807,2,'big','','','',''),(4,1,0,-1,'','','',x'','');
CREATE INDEX byParent ON Klassen(Parent); CREATE VIEW Sicht AS SELECT * FROM Klassen;"
sqlite_seed empty "CREATE TABLE Klassen ($columns);"
sqlite_seed trigger "CREATE TABLE Klassen ($columns); CREATE TABLE Log (n INTEGER);
INSERT INTO Klassen VALUES (1,1,0,-1,'A','a.h','','','');
CREATE TRIGGER logged AFTER INSERT ON Klassen BEGIN INSERT INTO Log VALUES (new.ID); END;"

# The first 32 bytes of an Access (Jet 4) header page, the rest zero.
{ printf '\000\001\000\000Standard Jet DB\000\001\000\000\000'; head -c 4072 /dev/zero; } \
    > access_table/jet4_header.mdb
{ printf '\000\001\000\000Standard ACE DB\000\002\000\000\000'; head -c 4072 /dev/zero; } \
    > access_table/ace_header.mdb

# Overlay patches: none (the valid file), then a few that touch the header,
# the first table definition and the first data page.
: > access_overlay/unchanged
printf '\000\024\000\001\000' > access_overlay/format_byte
printf '\001\010\000\004\377\377\377\177' > access_overlay/tdef_rows
printf '\002\014\000\002\000\000\003\000\000\002\377\377' > access_overlay/data_rows
