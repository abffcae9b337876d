#pragma once
// Reading report files back into register records: the TXT layout ("HE" header, "DA;" lines of
// numbered fields, "TR" trailer) and the XML layout (one kartaTr element per record), both read
// line by line as the writers lay them out. The readers are plain functions over the file's bytes:
// they check the whole file and give every record it holds, or the one message that refuses it,
// so that the caller appends all of them or none. A field that the writers convert to ISO-8859-2
// comes back to Windows-1250 by the inverse of their conversion; a field they write as stored is
// read as it stands.
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "register/listykarty.h"
#include "register/rekordtransakcji.h"

namespace zelt {

enum class RodzajPliku { Nieznany, Txt, Xml };
// The type of a report file by the extension after the last dot of its file name, either case.
RodzajPliku rodzajPliku(const QString& sciezka);

// What a reader needs besides the file: the institution's NIP that the file must carry, the card
// editor's lists for the party types and document kinds, and the record every card starts from
// (the cleared current record: today's dates, no indexes).
struct KontekstImportu {
  std::string NIPIO;
  const ListyKarty& listy;
  TRekordTransakcji pusty;
};

// Every record of the file in file order, or the message that refuses the whole file.
struct WynikImportu {
  std::vector<TRekordTransakcji> rekordy;
  std::optional<QString> blad;
};

WynikImportu czytajTxt(std::string_view plik, const KontekstImportu& k);
WynikImportu czytajXml(std::string_view plik, const KontekstImportu& k);

// The text of the element on one line of an XML report file: what lies between the first ">" and
// the first "</", its references "&#" + 1 to 3 digits + ";" of 0..255 decoded once, left to right
// (anything else stays as written).
std::string tekstElementu(std::string_view linia);
// The same, then from ISO-8859-2 back to Windows-1250 (zRaportu): a converted element's value.
std::string wartoscElementu(std::string_view linia);
// Only the references decoded, as above (attribute values).
std::string dekodujOdwolania(std::string_view tekst);

// Splits a remark string into the record's remark fields. A piece runs from the front up to its
// "]" (or the end); it belongs to a field when its characters 2-3 are 06, 07, 08, 09, 17, 19, 29,
// 31 or 37 and its character 4 is ":", and its text from character 5 goes to that field (cut to
// the field's room); any other piece is general text, taken whole without its brackets (and
// without the one blank that the writers put in front of a general text that reads as a field's
// remark, "[ 06:..."), and the general pieces, joined by a blank, make uwInne (cut to its room).
// Never an error.
void dodajUwagi(TRekordTransakcji& r, std::string_view uwagi);

class Program;

// The menu command "&Importuj": the open dialog "Import danych" in the export folder, then the
// file imported as below, then the main window's commands set for its rows.
void ImpMenClick(Program& p);
// One report file of the current institution into the register: read and checked whole first
// (any refusal is shown and nothing is appended), its records appended to transak.dat all or none
// (transak.dat created only when absent and there are records), then a row of the register list
// for each record but a deleted one. Errors are shown; nothing is thrown.
void importujPlik(Program& p, const QString& sciezka);

}  // namespace zelt
