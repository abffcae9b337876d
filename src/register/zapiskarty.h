#pragma once
// The card save as data: the card of the editor becomes n register records, one per party index
// (n = the largest of 1 and the three lists' entry counts), numbered within their registration
// day, written into transak.dat all or nothing, and the register list's rows follow.
//
// An edited card's first k records are rewritten in place with their stored registration
// numbers; further records are appended with the first free numbers of the day; surplus stored
// records are marked deleted, unless printed or sent (then they stay, with a message). A new
// card's records are all appended, record 1 with the number typed in NrRejDat when it is a free
// whole number 0..999. The numbers come from what the card check gathered in its one pass over
// the register: the save reads only the card's own records.
//
// All texts are Windows-1250 bytes.
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "register/rekordtransakcji.h"
#include "settings/konfigform.h"

namespace kgrid {
class TKGridModel;
}

namespace zelt {

class Program;
struct Karta;
struct LicznikiRekordow;
struct RekordyKarty;

// The number of records the card is saved as.
int rekordowKarty(const Karta& k);

// What the records carry besides the card: a new card's number gets its suffix, every record the
// signed-in person (empty for the administrator) and its own counts of the working set.
struct ZrodloRekordow {
  const Karta& karta;
  bool nowa;
  NumeracjaEwidencyjna numeracja;
  std::string zalogowany;
  const LicznikiRekordow& liczniki;
};

// Record i (1..25) of the card: the transaction data in record 1 only, the i-th party of each role
// (types -1 and empty texts where a list is shorter), the card's identification, remarks of codes
// only while shown, counts stored saturated at 255. Field 02 is left to the save's numbering.
TRekordTransakcji wprowadz(const ZrodloRekordow& z, int i);

// The fields of a stored record whose value a record written over it does not carry: a text, an
// index other than -1, a date, or a print or send count other than 0 that `nowy` holds otherwise.
// The transaction and unit numbers count as carried with zeros put in front (the check pads them
// and says so). Not compared: who entered the card and the error and warning counts (every save
// writes its own), nor what lies past a text's length.
std::vector<std::string_view> niezapisanePola(const TRekordTransakcji& zapisany, const TRekordTransakcji& nowy);

// A surplus stored record that the save leaves live: printed or sent.
bool wydrukowanyLubWyslany(const TRekordTransakcji& r);

// What a save of an edited card would erase that the card never showed, per stored record.
enum class Utrata {
  Brak,
  Dane,    // rewritten without data that the card as loaded does not carry and the save does not write
  Rekord,  // marked deleted, though no entry of the user's was removed for it
};
// `zapisane` are the card's records 1..k (rk.k, at most 25) as transak.dat holds them now; `k` the card
// after the check's tidying, `lr` its counts; `d` what a list emptied by the check shows. A record
// loses data when a field is carried neither by what the save builds for it (wprowadz) nor by what it
// would build had the user changed nothing (the card as loaded, its nameless entries gone as the
// check removes them); the user's own changes are in sight. A surplus record is lost when the card
// as loaded, so tidied, had no entry for it either; one left over after "Usuń" is the user's doing.
std::vector<Utrata> utratyZapisu(const Karta& k, const RekordyKarty& rk, const LicznikiRekordow& lr,
                                 const std::vector<TRekordTransakcji>& zapisane, const DomyslneKarty& d);

enum class Zapis {
  Zapisano,
  BrakNumeru,    // all 1000 numbers of the day held: nothing written
  BladOtwarcia,  // transak.dat there but not to be opened: nothing written
  BladZapisu,    // an input or output error: what was written is undone
};

// The save of the program's card (Program::karta with its working set) into transak.dat, after
// the check that gathered `numeryDnia` (the numbers other live records hold on the card's date).
// Every record is built and numbered, the card's stored records read, before the first write; an
// error part-way writes back the stored bytes of the records rewritten and cuts off what was
// appended, so the register is as before. Messages go to the user through the program's dialogs.
// With `lista` the rows follow once everything is written: rewritten in place, appended for the
// new records (and for a stored record the load found no row for), removed for records deleted.
// On success the working set holds the saved card and aktualnyRekord its last record.
Zapis zapiszKarte(Program& program, const NumeracjaEwidencyjna& numeracja, const std::vector<std::string>& numeryDnia,
                  kgrid::TKGridModel* lista);

// Choosing record j (from 1) in NrRejDat: its error and warning counts in ilblad and ilos, its
// printed and sent marks, and entry j of each party list on the pages (a shorter list shows a new
// entry). No count changes.
void wybierzRekordKarty(Karta& k, const LicznikiRekordow& lr, const DomyslneKarty& d, int j);
// The user's click on bdr (printed) or bpl (sent): the chosen record's count becomes 1 when
// ticked and 0 when not; nothing while no item of NrRejDat is chosen.
enum class Znacznik { Wydruk, Wysylka };
void oznaczRekord(Karta& k, LicznikiRekordow& lr, Znacznik z, bool zaznaczony);

}  // namespace zelt
