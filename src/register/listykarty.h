#pragma once
// The card editor's item lists as data: the stored indexes of status, link code, disposition
// method, party types and identity documents point into them, and the register list shows their
// texts. Four of them may be replaced from dictionary files of the working folder.
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "register/rekordtransakcji.h"

namespace zelt {

struct ListyKarty {
  using Lista = std::vector<std::string>;  // Windows-1250 item texts
  Lista Status, kPwz, kPdjrz, spDysp, zRodzDokTo, zTypPo, pTypPo, bTypPo;

  // The built-in items.
  static ListyKarty wbudowane();

  // The item's text; empty for -1 and for any index outside the list (a shorter dictionary
  // file, an imported status), so that a stray index never breaks a listing.
  static std::string tekst(const Lista& lista, std::int32_t index) { return std::string(widok(lista, index)); }
  static std::string_view widok(const Lista& lista, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= lista.size()) return {};
    return lista[static_cast<std::size_t>(index)];
  }
  // The item's code, its first two characters (as tekst, empty outside the list).
  static std::string kod(const Lista& lista, std::int32_t index);
};

// A stored date (days since 1899-12-30) as yyyymmdd, as the report files write it; "00000000"
// for a value that is no date.
std::string dataRaportu(double dni);
// A stored date as the register list shows it (yyyy/mm/dd), appended; nothing for a value that is
// no date. Formatted by hand: the start-up shows the dates of every record.
void dopiszDateListy(double dni, std::string& out);

class Program;
// The card editor's four dictionaries from the working folder, with their splash lines:
// podejrza.txt, sposoby.txt, dokument.txt, podmioty.txt (its lines go to all three party lists).
void wczytajListyKarty(Program& program, ListyKarty& listy);

// The text of one register-list cell for a column code: "Lp" (record number + 1), "Info",
// "Uwagi", the dates as yyyy/mm/dd, list texts, and the field of the same name for the rest.
// The columns of the transaction itself ("kRodzTr", "tDat", ...): empty in a row whose kind code
// is empty or four blanks.
bool kolumnaTransakcji(std::string_view kod);
std::string tekstKomorki(const std::string& kod, const TRekordTransakcji& r, std::int32_t nrRekordu,
                         const ListyKarty& listy);

}  // namespace zelt
