#pragma once
// transak.dat: no header, record n at n x 3512, records never removed (Status 99 marks a deleted
// one), new records appended at the end. A partial record at the end is not a record.
#include <QString>
#include <string>
#include <functional>
#include <vector>

#include "platform/recordfile.h"
#include "register/rekordtransakcji.h"

namespace zelt {

// The message for a register that exists but cannot be opened, with the system's reason.
QString komunikatOtwarcia(const QString& blad);

class PlikRejestru {
 public:
  explicit PlikRejestru(const QString& path) : file_(path, TRekordTransakcji::kSize) {}

  // For reading; false when the file is missing or cannot be opened.
  bool otworzDoOdczytu() { return file_.open(platform::RecordFile::Mode::Read); }
  // For writing; creates the file only when it does not exist.
  bool otworzDoZapisu() { return file_.open(platform::RecordFile::Mode::ReadWriteCreate); }
  // For changing records in place; never creates the file (false when it is missing).
  bool otworzDoZmiany() { return file_.open(platform::RecordFile::Mode::ReadWrite); }
  QString blad() const { return file_.error(); }
  // No file there at all: a first start, not a register that cannot be read.
  bool brak() const { return platform::RecordFile::absent(file_.path()); }
  // Why an open failed, as the user is told: "Brak pliku danych" when the file is missing, else
  // the message with the system's reason.
  QString bladOtwarcia() const;

  qint64 ilosc() const { return file_.count(); }
  qint64 bajty() const { return file_.bytes(); }
  // Cuts the file back to `bajty` bytes: what was appended after that goes.
  void obetnij(qint64 bajty) { file_.truncate(bajty); }
  // Where the file ends, as an undo of appends puts it back: its length and the bytes of a partial
  // last record (from an earlier crash), which the first append overwrites. Reading the tail may
  // throw platform::IoError.
  struct Koniec {
    qint64 dlugosc = 0;
    std::string ogon;
  };
  Koniec koniec() { return {file_.bytes(), file_.partialTail()}; }
  void przywroc(const Koniec& k) { file_.restore(k.dlugosc, k.ogon); }
  // Bytes of a partial record at the end, 0 when the file ends with a whole record.
  qint64 niepelnyOstatni() const { return file_.partialTailBytes(); }

  // Throw platform::IoError on an input or output error.
  TRekordTransakcji czytaj(qint64 n);
  void zapisz(qint64 n, const TRekordTransakcji& r);
  qint64 dopisz(const TRekordTransakcji& r);
  // Appends all the records or none: an error on the way (a full disk) cuts the file back to its
  // former length, partial last record included, and is thrown on. Returns the first one's number.
  qint64 dopiszWszystkie(const std::vector<TRekordTransakcji>& rekordy);
  // A record's bytes as stored, for a change of a single counter that must leave every other
  // byte as it was (also what lies beyond a string's length).
  TRekordTransakcji::Bytes czytajBajty(qint64 n);
  void zapiszBajty(qint64 n, const TRekordTransakcji::Bytes& b) { file_.write(n, b.data()); }
  // The same bytes at `offset` of each of the records, written alone: their other bytes stay as
  // stored. Nothing is written when one of them is not in the file.
  void zapiszPole(const std::vector<qint64>& numery, std::size_t offset, const char* b, std::size_t ile) {
    file_.writeEach(numery, offset, b, ile);
  }

  // Marks record n deleted by writing its four Status bytes alone: a deleted record is evidence,
  // and every other byte stays as stored.
  void oznaczUsuniety(qint64 n);

  // Reads every whole record in file order; the callback gets the record number and the record.
  void kazdy(const std::function<void(qint64, const TRekordTransakcji&)>& fn);
  // The same over the records' bytes, for a pass that needs a few fields of each record only.
  void kazdyBajty(const std::function<void(qint64, const char*)>& fn);

 private:
  platform::RecordFile file_;
};

}  // namespace zelt
