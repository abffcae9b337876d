#pragma once
// The register commands on the main list, without the window: which rows are chosen, the record
// each row shows, the records handed to the card print and to the send, and the delete.
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kgrid {
class TKGridModel;
}
namespace platform {
class DialogDriver;
}

namespace zelt {

class DefinicjeKolumn;

// A print or send batch holds at most this many records; "with linked records" gathers at most
// this many distinct transaction numbers first.
constexpr std::size_t kMaxWybranych = 1000;
constexpr std::size_t kMaxNumerowTransakcji = 500;

// The rows the commands act on: the selection when it spans more than one row, else the current
// row; none while the list is empty.
std::vector<int> wybraneWiersze(const kgrid::TKGridModel& lista);

// The record number a row shows: its "Lp" cell read strictly as a whole number from 1, minus 1;
// none when the cell holds anything else or the list has no "Lp" column.
std::optional<std::int32_t> numerRekordu(const kgrid::TKGridModel& lista, int kolumnaLp, int wiersz);

// Record numbers handed to the card print or the send, in order; `obciete` says that more were
// chosen than a batch holds (and the rest were left out), `obcieteNumery` the same for the
// transaction numbers of "with linked records".
struct Wybor {
  std::vector<std::int32_t> rekordy;
  bool obciete = false;
  bool obcieteNumery = false;
};

// The records of the chosen rows, in row order (rows without a record number are left out).
std::vector<std::int32_t> rekordyWierszy(const kgrid::TKGridModel& lista, int kolumnaLp, const std::vector<int>& wiersze);
// "Tylko wybrane": the records of the chosen rows, in row order, as many as a batch holds.
Wybor tylkoWybrane(const kgrid::TKGridModel& lista, int kolumnaLp, const std::vector<int>& wiersze);
// "Wybrane z powiązanymi": every live record, in file order, that shares a transaction number with
// the records of the chosen rows. None when transak.dat cannot be opened.
std::optional<Wybor> zPowiazanymi(const QString& transakDat, const std::vector<std::int32_t>& wybrane);
// "Niewydrukowane" and "Niewysłane": every live record, in file order, not yet printed (sent).
enum class Licznik { Wydruki, Wyslania };
std::optional<Wybor> bezLicznika(const QString& transakDat, Licznik licznik);

// The message shown when a batch was cut; empty when it was not.
QString komunikatWyboru(const Wybor& w);

// Removes rows of the register list when it goes, on every path of the command that gathered
// them: runs of neighbouring rows at once, from the bottom up so that the row numbers stay valid.
// Rows of records that were marked deleted leave the list this way (the delete and the card save).
class UsunieteWiersze {
 public:
  // `transakDat`: the register the list shows, whose index keeps the rows.
  UsunieteWiersze(kgrid::TKGridModel& lista, QString transakDat) : lista_(lista), transakDat_(std::move(transakDat)) {}
  ~UsunieteWiersze();
  UsunieteWiersze(const UsunieteWiersze&) = delete;
  UsunieteWiersze& operator=(const UsunieteWiersze&) = delete;
  void dodaj(int wiersz) { w_.push_back(wiersz); }
  int ile() const { return static_cast<int>(w_.size()); }

 private:
  kgrid::TKGridModel& lista_;
  QString transakDat_;
  std::vector<int> w_;
};

// "&Usuń": asks, then marks each chosen row's record deleted (Status 99) in place, unless it was
// printed or sent, which is refused with a message for each such row. The rows of the records
// deleted leave the list, also when an input or output error ends the command half-way (the
// error, platform::IoError, is then thrown on after the rows are removed). Nothing happens when
// no row is chosen or transak.dat cannot be opened. Returns the number of records deleted.
int usunKarty(const QString& transakDat, kgrid::TKGridModel& lista, int kolumnaLp, const std::vector<int>& wiersze,
              platform::DialogDriver& dialogs);

// The main window's labels for the column just entered: "Grupa : " and the card section's title;
// the current row's value in that column (none while the list has no rows), the card field's
// number and its name. Both empty for a column that no definition names.
struct EtykietyAktywnejKolumny {
  std::string GrupaWys, PoleWys;
};
EtykietyAktywnejKolumny etykietyAktywnejKolumny(const DefinicjeKolumn& defs, std::string_view nazwaKolumny,
                                                const std::optional<std::string>& wartosc);

// The register list's size for a main window of the given size: 8 pixels narrower, 150 lower.
QSize rozmiarListy(QSize okno);

}  // namespace zelt
