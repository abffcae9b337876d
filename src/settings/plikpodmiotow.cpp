#include "settings/plikpodmiotow.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/errors.h"
#include "platform/recordfile.h"

namespace zelt {

namespace {

using platform::RecordFile;
constexpr std::size_t kRozmiar = TRekordPodmiotu::kSize;

// Opens the file; false when it is absent. An existing file that cannot be opened throws.
bool otworz(RecordFile& f, RecordFile::Mode mode) {
  if (mode != RecordFile::Mode::ReadWriteCreate && RecordFile::absent(f.path())) return false;
  if (f.open(mode)) return true;
  throw platform::IoError(("Błąd otwarcia pliku " + f.path() + ": " + f.error()).toStdString());
}

}  // namespace

QString PlikPodmiotow::komunikatPelnej() {
  return QString::fromUtf8("Dopisanie podmiotu niemożliwe - lista podmiotów jest pełna (65536 podmiotów)");
}

qint64 PlikPodmiotow::ilosc() const {
  RecordFile f(path_, kRozmiar);
  return otworz(f, RecordFile::Mode::Read) ? f.count() : 0;
}

void PlikPodmiotow::zywe(TRekordPodmiotu::Pola pola,
                         const std::function<bool(qint64, const TRekordPodmiotu&)>& fn) const {
  RecordFile f(path_, kRozmiar);
  if (!otworz(f, RecordFile::Mode::Read)) return;
  const qint64 n = f.count();
  // Read in blocks of about 1 MB: one system call per block, not per record; a smaller file
  // needs no more than its own size.
  constexpr qint64 kBlok = 960;
  std::vector<char> blok(static_cast<std::size_t>(std::min(kBlok, n)) * kRozmiar);
  TRekordPodmiotu r;
  for (qint64 pierwszy = 0; pierwszy < n; pierwszy += kBlok) {
    const qint64 ile = std::min(kBlok, n - pierwszy);
    f.read(pierwszy, ile, blok.data());
    for (qint64 i = 0; i < ile; ++i) {
      const char* bajty = blok.data() + i * kRozmiar;
      if (TRekordPodmiotu::usuniety(bajty)) continue;
      TRekordPodmiotu::decode(bajty, r, pola);
      if (!fn(pierwszy + i, r)) return;
    }
  }
}

std::optional<TRekordPodmiotu> PlikPodmiotow::czytajZywy(qint64 n) const {
  RecordFile f(path_, kRozmiar);
  if (!otworz(f, RecordFile::Mode::Read) || n < 0 || n >= f.count()) return std::nullopt;
  TRekordPodmiotu r = TRekordPodmiotu::decode(f.read(n).data());
  if (r.TypPo == TRekordPodmiotu::kDeleted) return std::nullopt;
  return r;
}

bool PlikPodmiotow::zapisz(qint64 n, const TRekordPodmiotu& r) const {
  RecordFile f(path_, kRozmiar);
  if (!otworz(f, RecordFile::Mode::ReadWrite) || n < 0 || n >= f.count()) return false;
  if (TRekordPodmiotu::usuniety(f.read(n).data())) return false;
  f.write(n, r.encode().data());
  return true;
}

std::optional<qint64> PlikPodmiotow::dopisz(const TRekordPodmiotu& r) const {
  RecordFile f(path_, kRozmiar);
  const bool nowy = RecordFile::absent(path_);
  otworz(f, RecordFile::Mode::ReadWriteCreate);
  if (f.count() >= kMaksimum) return std::nullopt;
  // A write cut short (a full disk) must not leave part of a record behind: the file goes back to
  // its former length with a partial record of an earlier crash as it was, and the write's own
  // error is what the user sees.
  const qint64 dlugosc = f.bytes();
  const std::string ogon = f.partialTail();
  try {
    return f.append(r.encode().data());
  } catch (const platform::IoError&) {
    try {
      f.restore(dlugosc, ogon);
      if (nowy) {
        f.close();
        QFile::remove(path_);
      }
    } catch (const platform::IoError&) {
    }
    throw;
  }
}

bool PlikPodmiotow::usun(qint64 n) const {
  RecordFile f(path_, kRozmiar);
  if (!otworz(f, RecordFile::Mode::ReadWrite) || n < 0 || n >= f.count()) return false;
  std::string bajty = f.read(n);
  if (TRekordPodmiotu::usuniety(bajty.data())) return false;
  const std::int32_t usuniety = TRekordPodmiotu::kDeleted;
  std::memcpy(bajty.data(), &usuniety, sizeof usuniety);
  f.write(n, bajty.data());
  return true;
}

}  // namespace zelt
