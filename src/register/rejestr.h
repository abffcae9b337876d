#pragma once
// transak.dat: no header, record n at n x 3512, records never removed (Status 99 marks a deleted
// one), new records appended at the end. A partial record at the end is not a record.
//
// Every write is synced before it returns. A write of several records, or of a whole record in
// place, is all or nothing through a rollback journal beside the register (transak.dat.dziennik):
// the register's length and the former bytes of every record to be rewritten, synced before the
// first write to the register, removed once the register is synced. A journal found at the next
// start is an unfinished write, played back before the register is read.
//
// The one writer keeps the register's index (indeksrejestru.h) as it writes; a whole pass over the
// file builds it again whenever the file is not as the program last left it.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/recordfile.h"
#include "register/rekordtransakcji.h"

namespace kgrid {
class TKGridModel;
}

namespace zelt {

// The message for a register that exists but cannot be opened, with the system's reason.
QString komunikatOtwarcia(const QString& blad);

class NumeryDnia;

class PlikRejestru {
 public:
  explicit PlikRejestru(const QString& path) : file_(path, TRekordTransakcji::kSize) {}

  // For reading; false when the file is missing or cannot be opened.
  bool otworzDoOdczytu() { return file_.open(platform::RecordFile::Mode::Read); }
  // For writing; creates the file only when it does not exist. Both opens for writing refuse
  // while an unfinished write's journal stands: its playback must come first.
  bool otworzDoZapisu() { return otworzDoPisania(platform::RecordFile::Mode::ReadWriteCreate); }
  // For changing records in place; never creates the file (false when it is missing).
  bool otworzDoZmiany() { return otworzDoPisania(platform::RecordFile::Mode::ReadWrite); }
  QString blad() const { return blad_.isEmpty() ? file_.error() : blad_; }
  // No file there at all: a first start, not a register that cannot be read.
  bool brak() const { return platform::RecordFile::absent(file_.path()); }
  // Why an open failed, as the user is told: "Brak pliku danych" when the file is missing, else
  // the message with the system's reason.
  QString bladOtwarcia() const;

  qint64 ilosc() const { return file_.count(); }
  qint64 bajty() const { return file_.bytes(); }
  // Cuts the file back to `bajty` bytes: what was appended after that goes.
  void obetnij(qint64 bajty);
  // Bytes of a partial record at the end, 0 when the file ends with a whole record.
  qint64 niepelnyOstatni() const { return file_.partialTailBytes(); }

  // Throw platform::IoError on an input or output error.
  TRekordTransakcji czytaj(qint64 n);
  // A whole record rewritten in place, through the journal.
  void zapisz(qint64 n, const TRekordTransakcji& r);
  qint64 dopisz(const TRekordTransakcji& r);
  // Appends all the records or none. Returns the first one's number.
  qint64 dopiszWszystkie(std::span<const TRekordTransakcji> rekordy);

  // One change of the register, all or nothing: records rewritten whole in place, records marked
  // deleted (their Status alone), records appended in order at the end (over a partial last
  // record an earlier crash left). An input or output error part-way plays the journal back at
  // once and is thrown on (with the playback's own error, when that fails too: the journal then
  // stays for the next start). Returns the first appended record's number.
  struct Zmiana {
    std::vector<std::pair<qint64, TRekordTransakcji>> przepisane;
    std::vector<qint64> usuwane;
    std::span<const TRekordTransakcji> dopisane;
  };
  qint64 zmien(const Zmiana& z);

  // A record's bytes as stored, for a change of a single counter that must leave every other
  // byte as it was (also what lies beyond a string's length).
  TRekordTransakcji::Bytes czytajBajty(qint64 n);
  // The same bytes at `offset` of each of the records, written alone: their other bytes stay as
  // stored. Nothing is written when one of them is not in the file. For a one-byte counter: a
  // byte is written whole or not at all, so no journal is needed.
  void zapiszPole(const std::vector<qint64>& numery, std::size_t offset, const char* b, std::size_t ile);

  // Marks record n deleted by writing its four Status bytes alone: a deleted record is evidence,
  // and every other byte stays as stored.
  void oznaczUsuniety(qint64 n);

  // The journal of `transakDat`.
  static QString sciezkaDziennika(const QString& transakDat);
  enum class Dziennik {
    Brak,        // no unfinished write
    Odtworzony,  // an unfinished write was undone: the register is as before it
    Pominiety,   // a journal cut short: the crash came before the register was touched
    Blad,        // the journal could not be played back and stays for the next start
  };
  // At start-up, before the register is read. `blad` gets the system's reason with Blad.
  static Dziennik odtworzDziennik(const QString& transakDat, QString& blad);

  // Reads every whole record in file order; the callback gets the record number and the record.
  void kazdy(const std::function<void(qint64, const TRekordTransakcji&)>& fn);
  // The same over the records' bytes, for a pass that needs a few fields of each record only.
  void kazdyBajty(const std::function<void(qint64, const char*)>& fn);
  // The same over the first `ile` records (those of them in the file), leaving the index alone:
  // for passes that run beside the one that builds it.
  void kazdyBajtyBezIndeksu(qint64 ile, const std::function<void(qint64, const char*)>& fn);
  // Device, inode, size and modification time of the open file: equal before and after a pass
  // when nothing changed the file meanwhile.
  std::optional<platform::RecordFile::Identity> tozsamosc() const { return file_.identity(); }

  // The records `numery` (in file order; those past the end are passed over), records that lie
  // together read in one read.
  void czytajKazdy(const std::vector<qint64>& numery, const std::function<void(qint64, const char*)>& fn);

  // The records the index names, read from the file and handed over in file order as bytes; the
  // caller judges each one as it would in a whole-file pass (a name out of date costs a read).
  // With the transaction number `nrEwT`: the live records that hold it.
  void kazdyZNumerem(std::string_view nrEwT, const std::function<void(qint64, const char*)>& fn);
  // Registered on the whole day of `rejDat`: the live records of that day (every record, for a
  // date the index cannot file).
  void kazdyZDnia(double rejDat, const std::function<void(qint64, const char*)>& fn);
  // The registration numbers held by the live records whose date is exactly `rejDat`.
  NumeryDnia numeryDnia(double rejDat);

  // The main list's row of record n as a pass over its rows finds it first (the list may be sorted
  // in any order), -1 when no row shows it: kept beside the index, each entry checked against the
  // list's "Lp" cell, and built again from the list when it changed in a way it was not told of.
  int wiersz(qint64 n, const kgrid::TKGridModel& lista, int kolumnaLp);
  // A row written for record n; `wierszy` is the list's row count after it.
  static void ustawWiersz(const QString& transakDat, qint64 n, int wiersz, int wierszy);
  // Rows pierwszy..ostatni taken out of the list.
  static void usunietoWiersze(const QString& transakDat, int pierwszy, int ostatni);
  // The list filled from the register at the start: its live records in file order.
  static void wierszeZywych(const QString& transakDat);
  // The index's size in memory, 0 when it holds nothing of this register.
  static std::size_t bajtyIndeksu(const QString& transakDat);

 private:
  bool otworzDoPisania(platform::RecordFile::Mode mode);
  qint64 zapiszZmiane(const Zmiana& z);
  template <class F>
  auto zIndeksem(F&& f);
  platform::RecordFile file_;
  QString blad_;
};

}  // namespace zelt
