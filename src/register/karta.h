#pragma once
// The card that the card editor shows, as data: its fields, the visibility of the remark and
// exchange fields that hang on codes, and the three party lists of up to 25 entries each. "&Dodaj"
// presets it for a new card and "&Edytuj" loads a stored card into it (with the working set of
// the program object); the editor moves it to and from its controls.
//
// All texts are Windows-1250 bytes; list choices are item indexes, -1 for none.
#include <QDate>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/konfigform.h"
#include "settings/rekordpodmiotu.h"

namespace kgrid {
class TKGridModel;
}

namespace zelt {

class Program;
struct ListyKarty;
struct TRekordTransakcji;

// One party page as it is shown: the entry's fields and its remark edits.
struct StronaPodmiotu {
  TRekordPodmiotu pola;
  bool uwTypPoWidoczna = false;      // remark on the type (type 0)
  bool uwRodzDokToWidoczna = false;  // remark on the document (kind 0), ordering party only
  bool uwObywWidoczna = false;       // second citizenship, ordering party only
};

// One of the card's party lists: the entries (their names are the items of the page's name list)
// and the 1-based index of the entry shown, 0 while the page has no entry.
struct ListaPodmiotow {
  static constexpr int kMax = 25;
  std::vector<TRekordPodmiotu> wpisy;
  int indeks = 0;
};

struct Karta {
  // 1.Identyfikacja
  std::string nrEwT;
  std::string RozNum;                     // preview of a new card's number suffix
  std::vector<std::string> NrRejDat;      // the registration numbers of the card's records
  int NrRejDatWybrany = -1;
  std::string NrRejDatTekst;              // the list's text, typed or chosen: the save reads it
  bool NrRejDatAktywny = true;            // an edited card of one record has nothing to choose
  double rejDat = 0;
  std::vector<std::string> jedIOPozycje;  // the institution and its units
  std::string jedIO;                      // the list's text
  std::int32_t Status = 1;
  std::string ilblad, ilos;               // counts of the last check, as shown
  bool bdr = false, bpl = false;          // printed, sent
  std::string Wprowa;                     // who entered the card

  // 2.Transakcja
  std::string kRodzTr, uwkRodzTr;
  bool uwkRodzTrWidoczna = false;
  std::int32_t kPwz = -1;
  std::string uwkPwz;
  bool uwkPwzWidoczna = false;
  std::string kPdjrz, uwkPdjrz;
  bool uwkPdjrzWidoczna = false;
  std::int32_t spDysp = -1;
  std::string uwspDysp;
  bool uwspDyspWidoczna = false;
  std::string nrDokT;
  double tDat = 0;
  std::string tM, tKw, tJ, tKwZ, tJZ;
  bool kwotaZWidoczna = false;  // fields 15 and 16, exchange of currency only

  // 3.Dysponenci, 4.W imieniu, 5.Beneficjenci: the pages and their lists
  StronaPodmiotu z, p, b;
  ListaPodmiotow listaDysponentow, listaWImieniu, listaBeneficjentow;

  // 6.Rachunki uczestniczące, 7.Uwagi
  std::string nrRachZ, nrRachN, uwInne;
};

// What a new card is preset from: the settings' defaults and numbering switches, the institution's
// number and units (number, name), the signed-in person and today.
struct UstawieniaNowejKarty {
  DomyslneKarty domyslne;
  NumeracjaEwidencyjna numeracja;
  std::string NumIO;
  std::vector<std::pair<std::string, std::string>> jednostki;
  std::string zalogowany;
  QDate dzis;
};

// Visibility rules of the transaction page, from the codes.
bool uwagaRodzaju(const std::string& kRodzTr);      // title "00": remark on 06
bool kwotaPoZamianie(const std::string& kRodzTr);   // category "06": fields 15 and 16
bool uwagaPodejrzanej(const std::string& kPdjrz);   // a code that is not four blanks: remark on 08

// A user's change of a code in the editor: the code, the visibility of what hangs on it, and the
// emptying of a remark (or of fields 15 and 16) that the change hides where the rule says so. True
// when the new value asks for its remark: the editor then brings the remark up. The program's own
// changes (a card opened) set visibility only, as przygotujNowaKarte and wczytajKarte do.
bool zmienKRodzTr(Karta& k, const std::string& kod);  // remark kept when hidden; 15/16 emptied
bool zmienKPwz(Karta& k, std::int32_t indeks);         // remark emptied when hidden
bool zmienKPdjrz(Karta& k, const std::string& kod);    // remark kept when hidden
bool zmienSpDysp(Karta& k, std::int32_t indeks);       // remark kept when hidden
bool zmienTypPo(StronaPodmiotu& s, std::int32_t indeks);      // remark emptied when hidden
bool zmienRodzDokTo(StronaPodmiotu& s, std::int32_t indeks);  // remark emptied when hidden
// "Drugie obywatelstwo": shows the second citizenship's remark (nothing hides it again).
void drugieObywatelstwo(StronaPodmiotu& s);

// Exit checks of the editor's fields, and what they need from the pickers' lists.
enum class KodRodzaju { Dobry, BlednaKategoria, BlednyTytul };
// A kind code is two ASCII digits of category, 1..kategorii, then two of title, 0..tytulow - 1.
KodRodzaju sprawdzKodRodzaju(std::string_view kod, int kategorii, int tytulow);
// The picker's preset for a kind code: category index (category - 1) and title index; -1 for a
// part that is not two ASCII digits.
std::pair<int, int> indeksyKoduRodzaju(std::string_view kod);
// The transaction number typed by the user holds digits only; an empty one passes.
bool numerEwidencyjnyPoprawny(std::string_view nrEwT);
// A list of codes (countries 2, currencies 3 characters) that holds at least one line whose code is
// whole and not blank: without one no typed code can pass and the picker has nothing to give.
bool maUzytecznyKod(const std::vector<std::string>& lista, std::size_t dlugosc);

// The card's party lists as data, one implementation for the three roles. An entry reaches its
// list only when stored; the name list's items are the entries' names (item j - 1 is entry j's
// name), so the number of entries is the number of items. The index is 0 only while the list is
// empty and at most min(entries + 1, 25); index entries + 1 is a new entry that gets its slot
// when a name is typed. Nothing of a removed entry or of an earlier card survives in a slot.
struct OpisRoli {
  TRekordPodmiotu::Rola rola;
  bool wszystkiePola;  // the ordering party: every field; the others type, name, address, type remark
  ListaPodmiotow Karta::*lista;
  StronaPodmiotu Karta::*strona;
};
extern const OpisRoli kRolaDysponenta, kRolaWImieniu, kRolaBeneficjenta;
extern const OpisRoli* const kRolePodmiotow[3];

// Store: the shown entry into its slot, when its name is not empty (texts cut to capacity).
void zapiszWpis(const OpisRoli& r, ListaPodmiotow& l, const StronaPodmiotu& s);
// The save and the check store the shown entry of every list.
void zapiszPokazane(Karta& k);
// The page of a new entry: the settings' defaults and an empty name. The index is not changed.
StronaPodmiotu nowyWpis(const OpisRoli& r, const DomyslneKarty& d);
// Show: entry [index] on the page, remark visibility set both ways from its codes.
StronaPodmiotu pokazWpis(const OpisRoli& r, const TRekordPodmiotu& w);
// The name typed (or set by the editor): index 0 becomes 1; a listed entry takes a non-empty name
// (an emptied name leaves its item); a new entry at entries + 1 gets its slot, empty name or not.
void zmienNazwe(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const std::string& nz);
// Entry chosen in the name list (item counted from 0): the shown one stored, the chosen one shown.
void wybierzWpis(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, int pozycja);
// "Dodaj": the shown entry stored and a new one started at entries + 1 with an empty item; nothing
// while the shown name or the last item is empty or the list is full. True when done.
bool dodajWpis(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d);
// "Usuń": the shown entry removed, the entries behind move up; the entry that followed (or the new
// last one) is shown; the only entry leaves the list empty with the defaults shown.
bool usunWpis(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d);
// A registration number chosen (record j, from 1): the shown entry stored, then entry j shown, or
// beyond the list a new entry at entries + 1 (an empty list keeps index 0).
void wybierzNumerWpisu(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d, int j);
// The check's removal of nameless entries: the positions (from 1, as the walk stood when each was
// removed) of the removed entries; then entry 1 is shown (an emptied list shows the defaults).
std::vector<int> usunBezNazw(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d);
// "Wprowadź &na listę": the record a page writes into the parties file: every field, the type and
// document remarks only while their edits are shown, the second citizenship always, the role's byte.
TRekordPodmiotu rekordNaListe(const OpisRoli& r, const StronaPodmiotu& s);
// The party editor's preset from an on-behalf or beneficiary page: type (its remark only for type
// 0), name, citizenship and country := the page's country, the address; numbers and remarks empty,
// the document := the settings' default.
StronaPodmiotu ustawienieEdytoraPodmiotu(const OpisRoli& r, const StronaPodmiotu& s, const DomyslneKarty& d);
// "Wprowadź &z listy": a record of the file (of any role) onto the page, the role's fields with
// their remarks' visibility; the name then goes through the name change into the shown entry.
void przejmijPodmiot(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const TRekordPodmiotu& w);
inline bool moznaDodac(const ListaPodmiotow& l) { return l.wpisy.size() < ListaPodmiotow::kMax; }
inline bool moznaUsunac(const ListaPodmiotow& l) { return !l.wpisy.empty(); }

// "&Dodaj": empties the working set (every slot), presets the card from the settings, gives it
// the first free registration number of today, and sets the mode to a new card.
void przygotujNowaKarte(Program& program, const UstawieniaNowejKarty& u);

// The card's records, in file order, into the card as "&Edytuj" shows them: the first one gives the
// transaction and identification fields with the visibility of what hangs on their codes, each
// record its parties (one is taken when its type is set or its name is not empty). Then each list
// shows entry 1, or an empty page when it got none. The load runs the same steps record by record.
void dolaczRekord(Karta& k, const TRekordTransakcji& rec, bool pierwszy);
void zakonczWczytanie(Karta& k);
Karta kartaZRekordow(const std::vector<TRekordTransakcji>& rekordy);

enum class Wczytanie { Wczytana, BrakPliku, BrakRekordu };

// Loads the card that holds record `n` into the card and the working set: every live record with
// the same transaction number, in file order, at most 25 (more are left alone, with a message).
// A party is taken when its type is set or its name is not empty. The row of each record is found
// through the list's "Lp" column, -1 when no row shows it. A missing or deleted record sets `n`
// to "not found"; when the file cannot be opened nothing changes. Throws platform::IoError on a
// read error.
Wczytanie wczytajKarte(Program& program, std::int32_t& n, const kgrid::TKGridModel* lista);

}  // namespace zelt
