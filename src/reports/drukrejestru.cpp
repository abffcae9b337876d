#include "reports/drukrejestru.h"

#include <algorithm>

#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "register/glownyform.h"
#include "register/polecenia.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "reports/uwagi.h"
#include "settings/kolumny.h"

namespace zelt {

KolumnaWydruku KolumnaWydruku::z(std::string kod, std::string nazwa, std::uint16_t szerokoscKod,
                                 int szerokoscStrony) {
  KolumnaWydruku k;
  k.kod = std::move(kod);
  k.nazwa = std::move(nazwa);
  k.pole = szerokoscKod / 2.0;
  k.doPrawej = zelt::doPrawej(szerokoscKod);
  // A column wider than the page prints page-wide, so that no text runs off the paper.
  const int strona = std::max(szerokoscStrony, 0);
  k.szerokosc = std::min(zelt::szerokosc(szerokoscKod), strona);
  k.zawijanie = std::min(k.pole, static_cast<double>(strona));
  return k;
}

std::vector<KolumnaWydruku> kolumnyWydruku(const DefinicjeKolumn& defs, int szerokoscStrony) {
  std::vector<KolumnaWydruku> k;
  for (int i : defs.wKolejnosci(Strona::Wydruk))
    k.push_back(KolumnaWydruku::z(defs[i].kod, defs[i].nazwa, defs[i].szerWyd, szerokoscStrony));
  return k;
}

std::vector<Pasmo> pasma(const std::vector<KolumnaWydruku>& kolumny, int szerokoscStrony) {
  std::vector<Pasmo> out;
  Pasmo p;
  for (std::size_t i = 0; i < kolumny.size(); ++i) {
    const KolumnaWydruku& k = kolumny[i];
    if (p.doo > p.od && p.szerokosc + k.pole > szerokoscStrony) {
      out.push_back(p);
      p = Pasmo{i, i, 0};
    }
    p.doo = i + 1;
    p.szerokosc += k.szerokosc;
  }
  if (p.doo > p.od) out.push_back(p);
  return out;
}

std::string literyPasma(int n) {
  std::string s;
  for (; n > 0; n = (n - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (n - 1) % 26));
  return s;
}

QString tytulArkusza(int p, int b, int P, int B) {
  return QStringLiteral("Rejestr transakcji strona %1%2 z %3%4")
      .arg(p)
      .arg(QString::fromLatin1(literyPasma(b)))
      .arg(P)
      .arg(QString::fromLatin1(literyPasma(B)));
}

int MiaraTekstu::znak(unsigned char z) {
  if (z < 0x20) z = ' ';
  if (!znany_[z]) {
    w_[z] = c_.textWidth(QString(QChar(cp1250::toUnicode(z))));
    znany_[z] = true;
  }
  return w_[z];
}

int MiaraTekstu::tekst(std::string_view t) {
  int w = 0;
  for (char z : t) w += znak(static_cast<unsigned char>(z));
  return w;
}

int zawin(std::string_view t, double zawijanie, MiaraTekstu& miara, const std::function<void(std::string_view)>& linia) {
  const double granica = zawijanie * miara.pikseliNaMm();
  int ile = 0;
  auto wydaj = [&](std::string_view l) {
    ++ile;
    if (linia) linia(l);
  };
  const std::size_t n = t.size();
  std::size_t i = 0;
  for (;;) {
    std::size_t e = i;
    while (e < n && t[e] != '\r' && t[e] != '\n') ++e;
    if (e == i) wydaj({});
    for (std::size_t s = i; s < e;) {
      // At least one character; then more while the line is narrower than the width.
      double w = miara.znak(static_cast<unsigned char>(t[s]));
      std::size_t k = s + 1;
      while (k < e && w < granica) w += miara.znak(static_cast<unsigned char>(t[k++]));
      if (w >= granica && k - s > 1) --k;
      wydaj(t.substr(s, k - s));
      s = k;
    }
    if (e >= n) break;
    i = e + (t[e] == '\r' && e + 1 < n && t[e + 1] == '\n' ? 2 : 1);
  }
  return ile;
}

std::vector<StronaWydruku> strony(const std::vector<int>& linie, int H, int wysokoscStrony) {
  std::vector<StronaWydruku> out;
  if (linie.empty()) return out;
  const int naglowek = kWysokoscLinii * H + kNadTabela;
  // The lines a sheet holds below its header; at least one, whatever the page.
  const int miesci = std::max(1, (wysokoscStrony - naglowek) / kWysokoscLinii);
  StronaWydruku s;
  bool pusta = true;
  int uzyte = naglowek;
  for (std::size_t i = 0; i < linie.size(); ++i) {
    const int n = std::max(1, linie[i]);
    if (!pusta && uzyte + kWysokoscLinii * n > wysokoscStrony) {
      out.push_back(s);
      s = StronaWydruku{i, i, 0, -1};
      uzyte = naglowek;
      pusta = true;
    }
    int od = 0;
    // A row taller than a page fills whole sheets of its own; its rest opens the next one.
    while (n - od > miesci) {
      out.push_back(StronaWydruku{i, i + 1, od, od + miesci});
      od += miesci;
    }
    if (od > 0) s = StronaWydruku{i, i, od, -1};
    s.doo = i + 1;
    uzyte += kWysokoscLinii * (n - od);
    pusta = false;
  }
  out.push_back(s);
  return out;
}

std::string tekstKomorkiWydruku(const std::string& kod, const TRekordTransakcji& r, std::int32_t nrRekordu,
                                const ListyKarty& listy) {
  if (kod == "Uwagi") return lancuchUwag(r, BramkiUwag::Rejestr, [](std::string_view t) { return std::string(t); });
  return tekstKomorki(kod, r, nrRekordu, listy);
}

namespace {

// One sheet's drawing in millimetres.
struct Arkusz {
  PlotnoWydruku& p;
  MiaraTekstu& miara;
  const std::vector<KolumnaWydruku>& kolumny;
  int H;

  // The lines [od, do) of a text wrapped in column k, from y (mm), one line-height apart.
  void tekstKolumny(const KolumnaWydruku& k, double x, std::string_view t, int od, int doo, double y) {
    int nr = 0;
    zawin(t, k.zawijanie, miara, [&](std::string_view l) {
      // An empty line draws nothing.
      if (nr >= od && nr < doo && !l.empty()) {
        const std::string widoczny = cp1250::bezSterujacych(l);
        double lx = x;
        if (k.doPrawej) lx = x + k.szerokosc - miara.tekst(widoczny) / miara.pikseliNaMm();
        p.tekst(lx, y + kWysokoscLinii * (nr - od), widoczny);
      }
      ++nr;
    });
  }

  void naglowek(const Pasmo& b) {
    const double dol = kWysokoscLinii * (H + 1);
    p.linia(0, kWysokoscLinii, b.szerokosc, kWysokoscLinii);
    p.linia(0, dol, b.szerokosc, dol);
    p.linia(0, kWysokoscLinii, 0, dol);
    double x = 0;
    for (std::size_t c = b.od; c < b.doo; ++c) {
      const KolumnaWydruku& k = kolumny[c];
      tekstKolumny(k, x, k.nazwa, 0, H, kWysokoscLinii);
      x += k.szerokosc;
      p.linia(x, kWysokoscLinii, x, dol);
    }
  }

  // A row's lines [od, do) from table line L; returns the lines drawn.
  int wiersz(const Pasmo& b, const std::vector<std::string>& teksty, int od, int doo, int L) {
    const int n = doo - od;
    const double gora = kWysokoscLinii * L, dol = kWysokoscLinii * (L + n);
    p.linia(0, gora, 0, dol);
    double x = 0;
    for (std::size_t c = b.od; c < b.doo; ++c) {
      const KolumnaWydruku& k = kolumny[c];
      tekstKolumny(k, x, teksty[c], od, doo, gora);
      x += k.szerokosc;
      p.linia(x, gora, x, dol);
    }
    p.linia(0, dol, b.szerokosc, dol);
    return n;
  }
};

}  // namespace

void rysujRejestr(platform::PrintJob& job, const DefinicjeKolumn& defs, const std::vector<std::int32_t>& numery,
                  const std::function<TRekordTransakcji(std::int32_t)>& czytaj, const ListyKarty& listy) {
  const GeometriaWydruku g = GeometriaWydruku::rejestr(job.resolutionX(), job.resolutionY());
  const int szerokoscStrony = zaokraglij(static_cast<long double>(job.pageWidth()) / g.skalaDrukuX);
  const int wysokoscStrony = zaokraglij(static_cast<long double>(job.pageHeight()) / g.skalaDrukuY);
  PlotnoWydruku p(job.canvas(), g);
  p.czcionka(kPunktyRejestru, false);
  MiaraTekstu miara(job.canvas(), g.skalaDrukuX);

  const std::vector<KolumnaWydruku> kolumny = kolumnyWydruku(defs, szerokoscStrony);
  if (kolumny.empty() || numery.empty()) return;
  int H = 1;
  for (const auto& k : kolumny) H = std::max(H, zawin(k.nazwa, k.zawijanie, miara));
  const std::vector<Pasmo> b = pasma(kolumny, szerokoscStrony);

  // The layout: each row's line count, the most lines of any of its cells.
  std::vector<int> linie;
  linie.reserve(numery.size());
  for (const std::int32_t nr : numery) {
    const TRekordTransakcji r = czytaj(nr);
    int n = 1;
    for (const auto& k : kolumny) n = std::max(n, zawin(tekstKomorkiWydruku(k.kod, r, nr, listy), k.zawijanie, miara));
    linie.push_back(n);
  }
  const std::vector<StronaWydruku> s = strony(linie, H, wysokoscStrony);

  // The sheets, page by page and band by band; a page's records are read once for its bands.
  Arkusz a{p, miara, kolumny, H};
  const int P = static_cast<int>(s.size()), B = static_cast<int>(b.size());
  std::vector<std::vector<std::string>> teksty;
  bool pierwszy = true;
  for (int pi = 0; pi < P; ++pi) {
    const StronaWydruku& st = s[static_cast<std::size_t>(pi)];
    teksty.clear();
    for (std::size_t w = st.od; w < st.doo; ++w) {
      const TRekordTransakcji r = czytaj(numery[w]);
      std::vector<std::string> t;
      t.reserve(kolumny.size());
      for (const auto& k : kolumny) t.push_back(tekstKomorkiWydruku(k.kod, r, numery[w], listy));
      teksty.push_back(std::move(t));
    }
    for (int bi = 0; bi < B; ++bi) {
      if (!pierwszy) job.newPage();
      pierwszy = false;
      const Pasmo& pasmo = b[static_cast<std::size_t>(bi)];
      p.tekst(5, 1, tytulArkusza(pi + 1, bi + 1, P, B).toLatin1().toStdString());
      a.naglowek(pasmo);
      int L = H + 1;
      for (std::size_t w = st.od; w < st.doo; ++w) {
        const int od = w == st.od ? st.odLinii : 0;
        const int doo = w + 1 == st.doo && st.doLinii >= 0 ? st.doLinii : linie[w];
        L += a.wiersz(pasmo, teksty[w - st.od], od, doo, L);
      }
    }
  }
}

QString drukujRejestr(platform::Printers& drukarki, const DefinicjeKolumn& defs, const std::vector<std::int32_t>& numery,
                      const std::function<TRekordTransakcji(std::int32_t)>& czytaj, const ListyKarty& listy) {
  auto job = drukarki.job();
  job->setTitle(tytulRejestru());
  // Landscape on this job only: the next job of any print starts portrait again.
  job->setOrientation(platform::PageOrientation::Landscape);
  if (!job->begin()) return QStringLiteral("Błąd w czasie drukowania: ") + job->error();
  try {
    rysujRejestr(*job, defs, numery, czytaj, listy);
  } catch (const platform::IoError& e) {
    job->abort();
    return QString::fromUtf8(e.what());
  }
  if (!job->end()) return QStringLiteral("Błąd w czasie drukowania: ") + job->error();
  return {};
}

void drukujRejestr(Program& program, const std::vector<std::int32_t>& numery) {
  if (numery.empty() || program.definicjeKolumn.wKolejnosci(Strona::Wydruk).empty()) return;
  PlikRejestru plik(program.transakDat());
  if (!plik.otworzDoOdczytu()) {
    program.svc.dialogs.showMessage(QStringLiteral("Brak pliku danych"));
    return;
  }
  if (!wybierzDrukarke(program)) return;
  const QString blad = drukujRejestr(program.svc.printers, program.definicjeKolumn, numery,
                                     [&plik](std::int32_t n) { return plik.czytaj(n); }, program.listyKarty);
  if (!blad.isEmpty()) program.svc.dialogs.showMessage(blad);
}

void DrukRejClick(Program& program) {
  TglownyForm* g = program.glowny();
  if (!g) return;
  platform::guarded(program.svc.dialogs, [&] {
    drukujRejestr(program, rekordyWierszy(*g->lista, program.ukladListy.kolumnaLp(), wybraneWiersze(*g->lista)));
  });
}

}  // namespace zelt
