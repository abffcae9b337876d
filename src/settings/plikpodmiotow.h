#pragma once
// klienci.dat: party records without a header, number = position, TypPo 99 marks a deleted one;
// records are appended or rewritten in place, never removed. Every operation opens and closes
// the file itself. An existing file that cannot be opened, a read or a write that fails, throws
// platform::IoError with the system's reason (the event-loop guard shows it).
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "settings/rekordpodmiotu.h"

namespace zelt {

class PlikPodmiotow {
 public:
  // Numbers were once kept in 16 bits; a 65537th record would wrap onto record 0.
  static constexpr qint64 kMaksimum = 65536;
  static QString komunikatPelnej();

  explicit PlikPodmiotow(QString path) : path_(std::move(path)) {}
  const QString& path() const { return path_; }

  // Whole records, deleted ones included; 0 when the file is absent.
  qint64 ilosc() const;
  // Every live whole record in order with its number (a partial tail is not a record), until `fn`
  // says false; nothing when the file is absent. The pass decodes only the parts in `pola`, into
  // one record that it reuses: the parts it is not asked for stay empty.
  void zywe(TRekordPodmiotu::Pola pola, const std::function<bool(qint64 numer, const TRekordPodmiotu&)>& fn) const;
  // Record n when it is there and live; nothing for a number outside the file or a deleted one.
  std::optional<TRekordPodmiotu> czytajZywy(qint64 n) const;
  // Rewrites live record n in place; false (nothing written) when n is no live record.
  bool zapisz(qint64 n, const TRekordPodmiotu& r) const;
  // Appends the record (the file is created when absent) and gives its number; nothing when
  // the file already holds kMaksimum records.
  std::optional<qint64> dopisz(const TRekordPodmiotu& r) const;
  // Marks live record n deleted: only its four type bytes change. False when n is no live record.
  bool usun(qint64 n) const;

 private:
  QString path_;
};

}  // namespace zelt
