#include "settings/jednostki.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "platform/cp1250.h"
#include "platform/registry.h"
#include "register/instytucje.h"
#include "register/numeracja.h"
#include "settings/daneio.h"

namespace zelt {

const std::array<KolumnaJednostek, kKolumnJednostek> kKolumnyJednostek = {{
    {"LP", 20, nullptr},
    {"Numer jednostki", 60, "NumJe"},
    {"Nazwa jednostki", 150, "NazJe"},
    {"Ulica", 100, "UliJe"},
    {"Kod pocztowy", 50, "KodJe"},
    {"Miejscowość", 100, "MieJe"},
    {"Województwo", 100, "WojJe"},
    {"Telefon", 60, "TelJe"},
    {"Fax", 60, "FaxJe"},
}};

namespace {

constexpr auto HKCU = platform::RegRoot::CurrentUser;

JednostkiIO::Wiersz naglowek() {
  JednostkiIO::Wiersz w;
  for (int k = 0; k < kKolumnJednostek; ++k) w[static_cast<std::size_t>(k)] = cp1250::fromUtf8(kKolumnyJednostek[static_cast<std::size_t>(k)].naglowek);
  return w;
}

}  // namespace

JednostkiIO::JednostkiIO() : wiersze_{naglowek(), Wiersz{}} {}

void JednostkiIO::setRowCount(int n) { wiersze_.resize(static_cast<std::size_t>(std::max(n, kMinJedIO))); }

void JednostkiIO::ustawKomorke(int w, int k, std::string tekst) {
  wiersze_.at(static_cast<std::size_t>(w)).at(static_cast<std::size_t>(k)) = std::move(tekst);
}

bool JednostkiIO::jestJednostka(int w) const {
  return wierszJednostki(w) && (!komorka(w, kol::Num).empty() || !komorka(w, kol::Naz).empty());
}

int JednostkiIO::dodaj(const Wiersz& dane) {
  if (iloscJednostek() >= kMaxJednostek) return 0;
  const int r = RowCount() - 1;
  Wiersz w = dane;
  w[kol::Lp] = std::to_string(r);
  wiersze_[static_cast<std::size_t>(r)] = std::move(w);
  wiersze_.emplace_back();
  return r;
}

bool JednostkiIO::zmien(int w, const Wiersz& dane) {
  if (!wierszJednostki(w)) return false;
  for (int k = kol::Naz; k < kKolumnJednostek; ++k) ustawKomorke(w, k, dane[static_cast<std::size_t>(k)]);
  return true;
}

bool JednostkiIO::usun(int w) {
  if (!wierszJednostki(w)) return false;
  for (int i = w; i <= RowCount() - 2; ++i) {
    wiersze_[static_cast<std::size_t>(i)] = wiersze_[static_cast<std::size_t>(i) + 1];
    wiersze_[static_cast<std::size_t>(i)][kol::Lp] = std::to_string(i);
  }
  wiersze_.pop_back();
  return true;
}

std::vector<std::pair<std::string, std::string>> JednostkiIO::listaKarty() const {
  std::vector<std::pair<std::string, std::string>> l;
  for (int w = 1; w <= RowCount() - 2; ++w)
    if (jestJednostka(w)) l.emplace_back(komorka(w, kol::Num), komorka(w, kol::Naz));
  return l;
}

std::optional<long> numerJednostki(std::string_view tekst) { return liczbaZCyfr(tekst, 8); }

std::string zaproponujNumer(std::string_view numIO, const JednostkiIO& j) {
  std::set<long> zajete;
  if (auto n = numerJednostki(numIO)) zajete.insert(*n);
  for (int w = 1; w <= j.RowCount() - 2; ++w)
    if (auto n = numerJednostki(j.komorka(w, kol::Num))) zajete.insert(*n);
  long k = 0;
  while (zajete.count(k)) ++k;
  char buf[24];
  std::snprintf(buf, sizeof buf, "%08ld", k);
  return buf;
}

std::string podkluczJednostki(int w) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "JED%02d\\", w - 1);
  return buf;
}

JednostkiIO wczytajJednostki(const platform::RegistryStore& reg, std::string_view aktualneIO, int rowCount) {
  JednostkiIO j;
  j.setRowCount(std::clamp(rowCount, kMinJedIO, kMaxJedIO));
  const std::string klucz = kluczInstytucji(aktualneIO);
  for (int w = 1; w <= j.RowCount() - 2; ++w) {
    const std::string podklucz = platform::regPath(klucz, podkluczJednostki(w));
    if (!reg.keyExists(HKCU, podklucz)) continue;
    j.ustawKomorke(w, kol::Lp, std::to_string(w));
    for (int k = kol::Num; k < kKolumnJednostek; ++k)
      if (auto v = reg.readString(HKCU, podklucz, kKolumnyJednostek[static_cast<std::size_t>(k)].wartosc))
        j.ustawKomorke(w, k, *v);
  }
  return j;
}

void zapiszJednostki(platform::RegistryStore& reg, std::string_view aktualneIO, int staryJedIO,
                     const JednostkiIO& j) {
  const std::string klucz = kluczInstytucji(aktualneIO);
  platform::RegistryBatch batch(reg);
  // The old subkeys by the stored count (a clamped count names no key beyond JED99).
  for (int w = 1; w <= std::min(staryJedIO, kMaxJedIO) - 2; ++w)
    reg.deleteKey(HKCU, platform::regPath(klucz, podkluczJednostki(w)));
  for (int w = 1; w <= j.RowCount() - 2; ++w) {
    if (!j.jestJednostka(w)) continue;
    const std::string podklucz = platform::regPath(klucz, podkluczJednostki(w));
    for (int k = kol::Num; k < kKolumnJednostek; ++k)
      reg.writeString(HKCU, podklucz, kKolumnyJednostek[static_cast<std::size_t>(k)].wartosc, j.komorka(w, k));
  }
  batch.commit();
}

QString folderNowejInstytucji(const QString& folder, int n) {
  if (folder.isEmpty()) return {};
  const QString io = QStringLiteral("IO%1").arg(n, 2, 10, QLatin1Char('0'));
  const QString zelt = QStringLiteral("ZELT");
  for (qsizetype i = folder.indexOf(zelt); i >= 0; i = folder.indexOf(zelt, i + 1)) {
    const qsizetype po = i + zelt.size();
    if (po >= folder.size()) break;
    const QChar sep = folder[po];
    if (sep != u'\\' && sep != u'/') continue;
    return folder.left(po + 1) + io + sep + folder.mid(po + 1).left(255);
  }
  // No "ZELT" folder to branch from: a subfolder of the current one, with its own separator.
  const qsizetype ostatni = std::max(folder.lastIndexOf(u'\\'), folder.lastIndexOf(u'/'));
  const QChar sep = ostatni >= 0 ? folder[ostatni] : QChar(u'/');
  return folder.endsWith(sep) ? folder + io : folder + sep + io;
}

void zapiszNowaInstytucje(platform::RegistryStore& reg, int n, const std::string& nazIO,
                          const std::array<QString, 3>& foldery) {
  const std::string klucz = kluczInstytucji(podkluczIO(n));
  const char* const nazwy[] = {"KatDan", "KatPod", "KatEks"};
  platform::RegistryBatch batch(reg);
  reg.writeInteger(HKCU, platform::RegistryStore::kProgramKey, "IloscIO", n);
  reg.writeString(HKCU, klucz, "nazIO", nazIO);
  for (std::size_t i = 0; i < foldery.size(); ++i) {
    const QString f = folderNowejInstytucji(foldery[i], n);
    if (!f.isEmpty()) reg.writeText(HKCU, klucz, nazwy[i], f);
  }
  batch.commit();
}

}  // namespace zelt
