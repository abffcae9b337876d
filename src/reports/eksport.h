#pragma once
// "&Exportuj" of the main window: the chosen rows' records as one report file, TXT or XML, at a
// place the user names; the same record layouts as the send, with the export's own start tag,
// without categories or a number of the day, and without touching the records.
#include <QDateTime>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"

namespace zelt {

class Program;

// The whole report file of `rekordy`: TXT (header, one line each, trailer) or XML (declaration,
// the export's start tag, one card each, end tag); the count is the number of records.
std::string plikEksportu(const std::vector<TRekordTransakcji>& rekordy, const ListyKarty& listy, std::string_view nip,
                         const QDateTime& czas, bool xml);

// The name as chosen, or with ".txt" (TXT) or ".xml" appended when its file name has no extension.
QString nazwaEksportu(const QString& wybrana, bool xml);

// Whether `sciezka` names one of the program's data files (links resolved): transak.dat, the
// daily counters np*.dat and the settings export "konfig" in the data folder, klienci.dat in the
// parties folder, the registry store's file. An export there would destroy it.
bool plikDanychProgramu(const Program& p, const QString& sciezka);

// The menu command: the save dialog "Katalog eksportu" (TXT or XML, XML chosen at first) opening
// in the institution's export folder (else the program's), then the records of the chosen rows
// (rows without a record number left out), read whole before the file is written, and the file
// written whole (it replaces one of that name; the dialog asks first). Refusals and errors are
// shown to the user; nothing is thrown.
void ExpMenClick(Program& p);

}  // namespace zelt
