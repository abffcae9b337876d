#include "reports/import.h"

#include <QDate>
#include <QFileInfo>

#include <QFile>

#include <algorithm>
#include <array>
#include <functional>
#include <cstdint>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/wierszrejestru.h"
#include "reports/konwersja.h"
#include "reports/uwagi.h"
#include "settings/daneio.h"
#include "settings/firmaform.h"

namespace zelt {

namespace {

using R = TRekordTransakcji;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

const char* const kSkladnia = "Błędna składnia pliku";
const char* const kInnaInstytucja = "Dane nie dotyczą tej instytucji obowiązanej";

// The one error a reader ends with; caught at its top.
struct Odmowa {
  QString tekst;
};

[[noreturn]] void odmow(const char* utf8) { throw Odmowa{u(utf8)}; }

// A message quotes at most this much of a value (a line may be megabytes long).
constexpr std::size_t kCytat = 100;

// A whole decimal 32-bit number with an optional sign, blanks allowed in front, nothing after.
std::int32_t calkowita(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  bool minus = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) minus = t[i++] == '-';
  bool dobra = i < t.size();
  std::int64_t v = 0;
  for (; dobra && i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9' || v > 2147483648LL) dobra = false;
    else v = v * 10 + (t[i] - '0');
  }
  if (dobra && v <= (minus ? 2147483648LL : 2147483647LL)) return static_cast<std::int32_t>(minus ? -v : v);
  const bool dlugi = t.size() > kCytat;
  throw Odmowa{u("'") + cp1250::toQ(t.substr(0, kCytat)) + (dlugi ? u("…") : QString()) +
               u("' is not a valid integer value")};
}

std::string_view kawalek(std::string_view t, std::size_t od, std::size_t ile) {
  return od >= t.size() ? std::string_view() : t.substr(od, ile);
}

// yyyymmdd: year, month and day each read as a number, then the date they make.
double dzienZ(std::string_view t) {
  const int r = calkowita(kawalek(t, 0, 4)), m = calkowita(kawalek(t, 4, 2)), d = calkowita(kawalek(t, 6, 2));
  const QDate dzien(r, m, d);
  if (r < 1 || r > 9999 || !dzien.isValid()) throw Odmowa{u("Invalid argument to date encode")};
  return platform::dateToDays(dzien);
}

// Stored texts are single lines: a control byte becomes a blank.
std::string bezSterujacych(std::string t, std::size_t pojemnosc) {
  if (t.size() > pojemnosc) t.resize(pojemnosc);
  for (char& c : t)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return t;
}

// The index of the last item whose code (first two characters) is `kod`, or -1.
std::int32_t indeksKodu(const ListyKarty::Lista& lista, std::string_view kod) {
  for (std::size_t i = lista.size(); i-- > 0;)
    if (ListyKarty::kod(lista, static_cast<std::int32_t>(i)) == kod) return static_cast<std::int32_t>(i);
  return -1;
}

// ---- the field table: TXT number, XML element and its section, record field, reading

enum Sekcja : unsigned {
  kBrak = 0,
  kIdentTr = 1,
  kDaneTr = 2,
  kDysponent = 4,
  kWlasciciel = 8,
  kBeneficjent = 16,
  kRachunki = 32,
};

struct NazwaSekcji {
  std::string_view nazwa;
  Sekcja bit;
};
constexpr NazwaSekcji kSekcje[] = {{"identTr", kIdentTr},       {"daneTr", kDaneTr},
                                   {"Dysponent", kDysponent},   {"Wlasciciel", kWlasciciel},
                                   {"Beneficjent", kBeneficjent}, {"Rachunki", kRachunki}};

enum class Odczyt { Tekst, Calkowita, Data, Typ, Dokument };

// The layouts in which the writers convert a field's text to ISO-8859-2; the others write it as
// stored, and it is read so.
enum Przekodowanie : unsigned { kSurowe = 0, kWTxt = 1, kWXml = 2, kWObu = kWTxt | kWXml };

struct Pole {
  int nr;
  const char* element;  // null: the Status attribute of the card's start tag
  Sekcja sekcja;
  Odczyt odczyt;
  const char* pole;  // the record field's name: its room for a text
  unsigned przekodowanie = kSurowe;
  std::string R::* tekst = nullptr;
  std::int32_t R::* liczba = nullptr;
  double R::* dzien = nullptr;
  const ListyKarty::Lista ListyKarty::* lista = nullptr;
  std::size_t pojemnosc = 0;
};

Pole t(int nr, const char* el, Sekcja s, const char* nazwa, std::string R::* p, unsigned przekodowanie = kSurowe) {
  return {nr, el, s, Odczyt::Tekst, nazwa, przekodowanie, p};
}
Pole c(int nr, const char* el, Sekcja s, std::int32_t R::* p) {
  return {nr, el, s, Odczyt::Calkowita, "", kSurowe, nullptr, p};
}
Pole d(int nr, const char* el, Sekcja s, double R::* p) {
  return {nr, el, s, Odczyt::Data, "", kSurowe, nullptr, nullptr, p};
}
Pole typ(int nr, Sekcja s, std::int32_t R::* p, const ListyKarty::Lista ListyKarty::* l) {
  return {nr, "typPdm", s, Odczyt::Typ, "", kSurowe, nullptr, p, nullptr, l};
}

struct Tabela {
  std::vector<Pole> pola;
  std::array<const Pole*, 45> poNumerze{};                              // TXT 1..44
  std::unordered_map<std::string_view, std::vector<const Pole*>> poElemencie;  // XML
};

const Tabela& tabela() {
  static const Tabela tb = [] {
    Tabela x;
    x.pola = {
        t(1, "nrEwT", kIdentTr, "nrEwT", &R::nrEwT),
        t(2, "nrRejDat", kIdentTr, "nrRejDat", &R::nrRejDat, kWTxt),
        d(3, "rejDat", kIdentTr, &R::rejDat),
        t(4, "jedIO", kIdentTr, "jedIO", &R::jedIO),
        c(5, nullptr, kBrak, &R::Status),
        t(6, "kRodzTr", kDaneTr, "kRodzTr", &R::kRodzTr),
        c(7, "kPwz", kDaneTr, &R::kPwz),
        t(8, "kPdjrz", kDaneTr, "kPdjrz", &R::kPdjrz),
        c(9, "spDysp", kDaneTr, &R::spDysp),
        t(10, "nrDokT", kDaneTr, "nrDokT", &R::nrDokT, kWObu),
        d(11, "tDat", kDaneTr, &R::tDat),
        t(12, "tM", kDaneTr, "tM", &R::tM, kWObu),
        t(13, "tKw", kDaneTr, "tKw", &R::tKw),
        t(14, "tJ", kDaneTr, "tJ", &R::tJ),
        t(15, "tKwZ", kDaneTr, "tKwZ", &R::tKwZ),
        t(16, "tJZ", kDaneTr, "tJZ", &R::tJZ),
        typ(17, kDysponent, &R::zTypPo, &ListyKarty::zTypPo),
        t(18, "Nz", kDysponent, "zNz", &R::zNz, kWObu),
        t(19, "Obyw", kDysponent, "zObyw", &R::zObyw),
        t(20, "adrKr", kDysponent, "zAdrKr", &R::zAdrKr),
        t(21, "adrKod", kDysponent, "zAdrKod", &R::zAdrKod),
        t(22, "adrM", kDysponent, "zAdrM", &R::zAdrM, kWObu),
        t(23, "adrUl", kDysponent, "zAdrUl", &R::zAdrUl, kWObu),
        t(24, "nrPes", kDysponent, "zNrPes", &R::zNrPes),
        t(25, "nrReg", kDysponent, "zNrReg", &R::zNrReg),
        t(26, "nrReS", kDysponent, "zNrReS", &R::zNrReS),
        t(27, "nrSwt", kDysponent, "zNrSwt", &R::zNrSwt),
        t(28, "Nip", kDysponent, "zNip", &R::zNip),
        {29, "rodzDokTo", kDysponent, Odczyt::Dokument, "", kSurowe, nullptr, &R::zRodzDokTo, nullptr,
         &ListyKarty::zRodzDokTo},
        t(30, "nrDokTo", kDysponent, "zNrDokTo", &R::zNrDokTo),
        typ(31, kWlasciciel, &R::pTypPo, &ListyKarty::pTypPo),
        t(32, "Nz", kWlasciciel, "pNz", &R::pNz, kWObu),
        t(33, "adrKr", kWlasciciel, "pAdrKr", &R::pAdrKr),
        t(34, "adrKod", kWlasciciel, "pAdrKod", &R::pAdrKod),
        t(35, "adrM", kWlasciciel, "pAdrM", &R::pAdrM, kWObu),
        t(36, "adrUl", kWlasciciel, "pAdrUl", &R::pAdrUl, kWObu),
        typ(37, kBeneficjent, &R::bTypPo, &ListyKarty::bTypPo),
        t(38, "Nz", kBeneficjent, "bNz", &R::bNz, kWObu),
        t(39, "adrKr", kBeneficjent, "bAdrKr", &R::bAdrKr),
        t(40, "adrKod", kBeneficjent, "bAdrKod", &R::bAdrKod),
        t(41, "adrM", kBeneficjent, "bAdrM", &R::bAdrM, kWObu),
        t(42, "adrUl", kBeneficjent, "bAdrUl", &R::bAdrUl, kWObu),
        t(43, "nrRachZ", kRachunki, "nrRachZ", &R::nrRachZ),
        t(44, "nrRachNa", kRachunki, "nrRachN", &R::nrRachN),
    };
    for (Pole& p : x.pola)
      if (p.tekst) p.pojemnosc = poleTekstowe(p.pole)->capacity;
    for (const Pole& p : x.pola) {
      x.poNumerze[static_cast<std::size_t>(p.nr)] = &p;
      if (p.element) x.poElemencie[p.element].push_back(&p);
    }
    return x;
  }();
  return tb;
}

// Stores one value (already in Windows-1250) as its field reads it.
void zapiszPole(R& r, const Pole& p, std::string wartosc, const ListyKarty& listy) {
  switch (p.odczyt) {
    case Odczyt::Tekst: r.*(p.tekst) = bezSterujacych(std::move(wartosc), p.pojemnosc); break;
    case Odczyt::Calkowita: r.*(p.liczba) = calkowita(wartosc); break;
    case Odczyt::Data: r.*(p.dzien) = dzienZ(wartosc); break;
    case Odczyt::Typ: {
      // By the code in the list, so that a reordered dictionary keeps the types; the number
      // itself only for a code that no item has.
      const std::int32_t i = indeksKodu(listy.*(p.lista), wartosc);
      r.*(p.liczba) = i >= 0 ? i : calkowita(wartosc);
      break;
    }
    case Odczyt::Dokument: {
      const std::int32_t i = indeksKodu(listy.*(p.lista), wartosc);
      if (i >= 0) r.*(p.liczba) = i;
      break;
    }
  }
}

// The file's lines without their CR LF (or LF); a last line without an end counts.
class Linie {
 public:
  explicit Linie(std::string_view plik) : reszta_(plik) {}
  bool nastepna(std::string_view& linia) {
    if (koniec_) return false;
    const std::size_t lf = reszta_.find('\n');
    if (lf == std::string_view::npos) {
      linia = reszta_;
      koniec_ = true;
      if (linia.empty()) return false;
    } else {
      linia = reszta_.substr(0, lf);
      reszta_.remove_prefix(lf + 1);
      if (reszta_.empty()) koniec_ = true;
    }
    if (!linia.empty() && linia.back() == '\r') linia.remove_suffix(1);
    return true;
  }

 private:
  std::string_view reszta_;
  bool koniec_ = false;
};

// The value of attribute `nazwa` ("Rodz=\"") up to its closing quote, references decoded; none
// when the line has no such attribute.
std::optional<std::string> atrybut(std::string_view linia, std::string_view nazwa) {
  const std::size_t p = linia.find(nazwa);
  if (p == std::string_view::npos) return std::nullopt;
  std::string_view w = linia.substr(p + nazwa.size());
  w = w.substr(0, w.find('"'));
  return dekodujOdwolania(w);
}

// ---- TXT

void liniaDanych(std::string_view reszta, R& r, const ListyKarty& listy) {
  const Tabela& tb = tabela();
  while (!reszta.empty()) {
    const std::size_t dwukropek = reszta.find(':');
    if (dwukropek == std::string_view::npos) calkowita({});  // a field without its number
    const std::int32_t nr = calkowita(reszta.substr(0, dwukropek));
    std::string_view wartosc = reszta.substr(dwukropek + 1);
    const std::size_t srednik = wartosc.find(';');
    if (srednik == std::string_view::npos) {
      reszta = {};
    } else {
      reszta = wartosc.substr(srednik + 1);
      wartosc = wartosc.substr(0, srednik);
    }
    if (nr >= 1 && nr <= 44) {
      const Pole& p = *tb.poNumerze[static_cast<std::size_t>(nr)];
      zapiszPole(r, p, p.przekodowanie & kWTxt ? zRaportu(wartosc) : std::string(wartosc), listy);
    } else if (nr == 45) {
      dodajUwagi(r, zRaportu(wartosc));
    }
  }
}

// ---- XML

// The tags of one line that the reader acts on.
struct Znaczniki {
  bool poczatekKarty = false, koniecKarty = false, koniecWykazu = false, uwagi = false;
  unsigned otwarte = 0, zamkniete = 0;
  std::string_view element;  // the first element of the table on the line
};

bool litera(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9'); }

Znaczniki znaczniki(std::string_view linia) {
  Znaczniki z;
  const Tabela& tb = tabela();
  for (std::size_t p = linia.find('<'); p != std::string_view::npos; p = linia.find('<', p + 1)) {
    const bool koniec = p + 1 < linia.size() && linia[p + 1] == '/';
    const std::size_t od = p + 1 + (koniec ? 1 : 0);
    std::size_t k = od;
    while (k < linia.size() && litera(linia[k])) ++k;
    const std::string_view nazwa = linia.substr(od, k - od);
    const char po = k < linia.size() ? linia[k] : '\0';
    // The card's and the list's tags count by their beginning, as the writers vary their ends.
    if (nazwa.substr(0, 7) == "kartaTr") {
      (koniec ? z.koniecKarty : z.poczatekKarty) = true;
      continue;
    }
    if (koniec && nazwa.substr(0, 7) == "wykazTr") {
      z.koniecWykazu = true;
      continue;
    }
    if (po != '>' && !(nazwa == "rodzDokTo" && !koniec && (po == ' ' || po == '\t'))) continue;
    bool sekcja = false;
    for (const NazwaSekcji& s : kSekcje)
      if (nazwa == s.nazwa) {
        (koniec ? z.zamkniete : z.otwarte) |= s.bit;
        sekcja = true;
      }
    if (sekcja || koniec) continue;
    if (nazwa == "Uwagi") z.uwagi = true;
    else if (z.element.empty() && tb.poElemencie.count(nazwa)) z.element = nazwa;
  }
  return z;
}

std::int32_t statusKarty(std::string_view linia) {
  // The attribute by its name; without it, as the line's first quoted value.
  std::size_t p = linia.find("Status=\"");
  p = p == std::string_view::npos ? linia.find('"') : p + 7;
  if (p == std::string_view::npos) return calkowita({});
  std::string_view w = linia.substr(p + 1);
  return calkowita(dekodujOdwolania(w.substr(0, w.find('"'))));
}

// How many times `co` stands in the file: room for the records before they are read, so that a
// large file's records are never moved while the list grows.
std::size_t ile(std::string_view plik, std::string_view co) {
  std::size_t n = 0;
  for (std::size_t p = plik.find(co); p != std::string_view::npos; p = plik.find(co, p + co.size())) ++n;
  return n;
}

WynikImportu wynik(const std::function<void(std::vector<R>&)>& czytaj) {
  WynikImportu w;
  try {
    czytaj(w.rekordy);
  } catch (const Odmowa& o) {
    w.rekordy.clear();
    w.blad = o.tekst;
  }
  return w;
}

}  // namespace

RodzajPliku rodzajPliku(const QString& sciezka) {
  const QString nazwa = QFileInfo(sciezka).fileName();
  const qsizetype kropka = nazwa.lastIndexOf(QLatin1Char('.'));
  if (kropka < 0) return RodzajPliku::Nieznany;
  const QString rozszerzenie = nazwa.mid(kropka + 1).toLower();
  if (rozszerzenie == QLatin1String("txt")) return RodzajPliku::Txt;
  if (rozszerzenie == QLatin1String("xml")) return RodzajPliku::Xml;
  return RodzajPliku::Nieznany;
}

std::string dekodujOdwolania(std::string_view t) {
  std::string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    if (t[i] == '&' && i + 1 < t.size() && t[i + 1] == '#') {
      std::size_t j = i + 2;
      int v = 0;
      while (j < t.size() && j < i + 5 && t[j] >= '0' && t[j] <= '9') v = v * 10 + (t[j++] - '0');
      if (j > i + 2 && j < t.size() && t[j] == ';' && v <= 255) {
        out += static_cast<char>(v);
        i = j + 1;
        continue;
      }
    }
    out += t[i++];
  }
  return out;
}

std::string tekstElementu(std::string_view linia) {
  linia = linia.substr(0, linia.find("</"));
  if (const std::size_t p = linia.find('>'); p != std::string_view::npos) linia.remove_prefix(p + 1);
  return dekodujOdwolania(linia);
}

std::string wartoscElementu(std::string_view linia) { return zRaportu(tekstElementu(linia)); }

void dodajUwagi(TRekordTransakcji& r, std::string_view uwagi) {
  std::string ogolne;
  bool saOgolne = false;
  while (!uwagi.empty()) {
    const std::size_t nawias = uwagi.find(']');
    std::string_view kawalek = uwagi.substr(0, nawias);  // without its "]"
    uwagi.remove_prefix(nawias == std::string_view::npos ? uwagi.size() : nawias + 1);
    const UwagaPola* m = kawalek.size() >= 4 && kawalek[3] == ':' ? uwagaPola(kawalek.substr(1, 2)) : nullptr;
    if (m) {
      r.*(m->pole) = bezSterujacych(std::string(kawalek.substr(4)), m->pojemnosc);
      continue;
    }
    if (!kawalek.empty() && kawalek.front() == '[') {
      kawalek.remove_prefix(1);
      // The one blank that the writers put in front of a general remark that reads as a field's.
      if (!kawalek.empty() && kawalek.front() == ' ' && jakUwagaPola(kawalek)) kawalek.remove_prefix(1);
    }
    if (saOgolne) ogolne += ' ';
    ogolne += kawalek;
    saOgolne = true;
  }
  if (saOgolne) r.uwInne = bezSterujacych(std::move(ogolne), 127);
}

WynikImportu czytajTxt(std::string_view plik, const KontekstImportu& k) {
  return wynik([&](std::vector<R>& rekordy) {
    Linie linie(plik);
    std::string_view linia;
    if (!linie.nastepna(linia) || linia.substr(0, 2) != "HE") odmow(kSkladnia);
    if (kawalek(linia, 16, std::string_view::npos) != k.NIPIO) odmow(kInnaInstytucja);
    rekordy.reserve(ile(plik, "\nDA;"));
    while (linie.nastepna(linia)) {
      if (linia.substr(0, 2) == "TR") break;
      if (linia.substr(0, 3) != "DA;") odmow(kSkladnia);
      R r = k.pusty;
      liniaDanych(linia.substr(3), r, k.listy);
      rekordy.push_back(std::move(r));
    }
  });
}

WynikImportu czytajXml(std::string_view plik, const KontekstImportu& k) {
  return wynik([&](std::vector<R>& rekordy) {
    const Tabela& tb = tabela();
    Linie linie(plik);
    std::string_view linia;
    bool nip = false, wKarcie = false;
    unsigned sekcje = 0;
    R r;
    while (linie.nastepna(linia)) {
      if (!nip) {
        const auto nipIO = atrybut(linia, "NipIO=\"");
        if (!nipIO) continue;
        if (*nipIO != k.NIPIO) odmow(kInnaInstytucja);
        nip = true;
        rekordy.reserve(ile(plik, "<kartaTr"));
      }
      const Znaczniki z = znaczniki(linia);
      if (z.poczatekKarty) {
        // A card whose end tag is missing still counts, as one at the end of the file does.
        if (wKarcie) rekordy.push_back(std::move(r));
        r = k.pusty;
        r.Status = statusKarty(linia);
        wKarcie = true;
        sekcje = 0;
      }
      if (wKarcie) {
        sekcje |= z.otwarte;
        if (!z.element.empty())
          for (const Pole* p : tb.poElemencie.find(z.element)->second) {
            if (p->sekcja != sekcje) continue;
            std::optional<std::string> kod;
            if (p->odczyt == Odczyt::Dokument) kod = atrybut(linia, "Rodz=\"");
            std::string wartosc;
            if (kod) wartosc = std::move(*kod);
            else wartosc = p->przekodowanie & kWXml ? wartoscElementu(linia) : tekstElementu(linia);
            zapiszPole(r, *p, std::move(wartosc), k.listy);
          }
        if (z.uwagi) dodajUwagi(r, wartoscElementu(linia));
        sekcje &= ~z.zamkniete;
        if (z.koniecKarty) {
          rekordy.push_back(std::move(r));
          wKarcie = false;
          sekcje = 0;
        }
      }
      if (z.koniecWykazu) break;
    }
    if (!nip) odmow(kSkladnia);
    if (wKarcie) rekordy.push_back(std::move(r));
  });
}

void importujPlik(Program& p, const QString& sciezka) {
  auto& dialogi = p.svc.dialogs;
  platform::guarded(dialogi, [&] {
    const RodzajPliku rodzaj = rodzajPliku(sciezka);
    if (rodzaj == RodzajPliku::Nieznany) {
      dialogi.showMessage(u("Nieznany rodzaj pliku - import możliwy z plików txt i xml"));
      return;
    }
    QByteArray bajty;
    {
      QFile plik(sciezka);
      if (!plik.open(QIODevice::ReadOnly))
        throw platform::IoError("Błąd odczytu pliku " + sciezka.toStdString() + ": " + plik.errorString().toStdString());
      bajty = plik.readAll();
      if (plik.error() != QFileDevice::NoError)
        throw platform::IoError("Błąd odczytu pliku " + sciezka.toStdString() + ": " + plik.errorString().toStdString());
    }
    p.czyscRekord();
    const KontekstImportu k{p.firma() ? p.firma()->dane().NIPIO : std::string(), p.listyKarty, p.aktualnyRekord};
    const std::string_view tresc(bajty.constData(), static_cast<std::size_t>(bajty.size()));
    WynikImportu w = rodzaj == RodzajPliku::Txt ? czytajTxt(tresc, k) : czytajXml(tresc, k);
    bajty.clear();
    if (w.blad) {
      dialogi.showMessage(*w.blad);
      return;
    }
    if (w.rekordy.empty()) return;

    qint64 pierwszy = 0;
    {
      PlikRejestru rejestr(p.transakDat());
      if (!rejestr.otworzDoZapisu()) {
        dialogi.showMessage(komunikatOtwarcia(rejestr.blad()));
        return;
      }
      pierwszy = rejestr.dopiszWszystkie(w.rekordy);
    }
    p.aktualnyRekord = w.rekordy.back();

    // The rows follow the records once they are all in the file; a deleted record has none.
    TglownyForm* glowny = p.glowny();
    if (!glowny) return;
    auto& lista = *glowny->lista;
    int wiersz = lista.RowCount();
    const auto zywe = std::count_if(w.rekordy.begin(), w.rekordy.end(), [](const R& r) { return !r.deleted(); });
    if (zywe > 0) lista.AddRows(static_cast<int>(zywe));
    for (std::size_t i = 0; i < w.rekordy.size(); ++i) {
      if (w.rekordy[i].deleted()) continue;
      const auto nr = static_cast<std::int32_t>(pierwszy + static_cast<qint64>(i));
      zapiszWiersz(lista, p.ukladListy, wiersz, nr, w.rekordy[i], p.listyKarty);
      // Filled in order: the rows up to this one are known.
      PlikRejestru::ustawWiersz(p.transakDat(), nr, wiersz, wiersz + 1);
      ++wiersz;
    }
  });
}

void ImpMenClick(Program& p) {
  platform::FileDialogRequest Import;
  Import.caption = u("Import danych");
  Import.filter = u("Wszystkie pliki danych (*.txt *.xml);;Pliki tekstowe (*.txt);;Pliki xml (*.xml)");
  Import.folder = p.KatEks;
  const auto plik = p.svc.dialogs.openFile(Import);
  if (!plik) return;
  importujPlik(p, *plik);
  if (TglownyForm* glowny = p.glowny()) glowny->ustawPrzyciski();
}

}  // namespace zelt
