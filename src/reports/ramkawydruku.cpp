#include "reports/ramkawydruku.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "register/program.h"
#include "settings/konfigform.h"

namespace zelt {

bool wybierzDrukarke(platform::Printers& drukarki, platform::DialogDriver& dialogi, const QString& wybrana) {
  if (wybrana.isEmpty()) {
    dialogi.showMessage(QStringLiteral("Brak wybranej drukarki w konfiguracji"));
    return false;
  }
  if (drukarki.currentName() == wybrana) return true;
  const QStringList nazwy = drukarki.names();
  for (int i = 0; i < nazwy.size(); ++i)
    if (nazwy[i] == wybrana) drukarki.select(i);
  return true;
}

bool wybierzDrukarke(Program& program) {
  return wybierzDrukarke(program.svc.printers, program.svc.dialogs, program.konfig()->drukarka());
}

std::optional<double> liczbaKalibracji(const QString& tekst) {
  static const QRegularExpression liczba(QStringLiteral("^([+-]?)(\\d*)(?:[.,](\\d*))?$"));
  const QString t = tekst.trimmed();
  const auto m = liczba.match(t);
  if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) return std::nullopt;
  // The C locale's reading of the same digits, so the user's locale never matters.
  const QString c = m.captured(1) + (m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2)) +
                    QLatin1Char('.') + (m.captured(3).isEmpty() ? QStringLiteral("0") : m.captured(3));
  bool ok = false;
  const double v = QLocale::c().toDouble(c, &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<Kalibracja> odczytajKalibracje(const UstawieniaWydruku& u, QString* blad) {
  Kalibracja k;
  struct Pole {
    const QString& tekst;
    double& wartosc;
    bool skala;
  } pola[] = {{u.skalaX, k.skalaX, true},
              {u.skalaY, k.skalaY, true},
              {u.polozenieX, k.przesuniecieX, false},
              {u.polozenieY, k.przesuniecieY, false}};
  for (auto& p : pola) {
    const auto v = liczbaKalibracji(p.tekst);
    if (!v || (p.skala && *v <= 0)) {
      if (blad) *blad = QStringLiteral("Błędna wartość skali lub położenia wydruku w konfiguracji: ") + p.tekst;
      return std::nullopt;
    }
    p.wartosc = *v;
  }
  return k;
}

std::int32_t zaokraglij(long double v) {
  // The default rounding: halves to even. rintl gives nearbyintl's value without saving and
  // restoring the floating-point environment, which is several times faster.
  const long double r = std::rintl(v);
  if (!(r >= std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
  if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(r) + 0;  // + 0 turns -0 into 0
}

GeometriaWydruku GeometriaWydruku::formularz(const Kalibracja& k, int dpiX, int dpiY, double bokKratki,
                                             double skokWiersza) {
  GeometriaWydruku g;
  g.skalaDrukuX = static_cast<double>(static_cast<long double>(dpiX) * k.skalaX / 25.4L);
  g.skalaDrukuY = static_cast<double>(static_cast<long double>(dpiY) * k.skalaY / 25.4L);
  g.przesuniecieX = k.przesuniecieX;
  g.przesuniecieY = k.przesuniecieY;
  g.bokKratki = bokKratki;
  g.skokWiersza = skokWiersza;
  return g;
}

GeometriaWydruku GeometriaWydruku::rejestr(int dpiX, int dpiY) {
  return formularz(Kalibracja{}, dpiX, dpiY, 0, 0);
}

std::int32_t GeometriaWydruku::mmNaPikselX(double mm) const {
  return zaokraglij((static_cast<long double>(przesuniecieX) + mm) * skalaDrukuX);
}

std::int32_t GeometriaWydruku::mmNaPikselY(double mm) const {
  return zaokraglij((static_cast<long double>(przesuniecieY) + mm) * skalaDrukuY);
}

void PlotnoWydruku::linia(double x1, double y1, double x2, double y2) {
  c.line(g.mmNaPikselX(x1), g.mmNaPikselY(y1), g.mmNaPikselX(x2), g.mmNaPikselY(y2));
}

void PlotnoWydruku::prostokat(double x1, double y1, double x2, double y2) {
  c.rectangle(g.mmNaPikselX(x1), g.mmNaPikselY(y1), g.mmNaPikselX(x2), g.mmNaPikselY(y2));
}

void PlotnoWydruku::czcionka(double punkty, bool pogrubiona, bool pochyla, const QString& kroj) {
  c.setFont(platform::PrintFont{kroj, punkty, pogrubiona, pochyla, 0});
}

void PlotnoWydruku::tekst(double x, double y, std::string_view t) {
  c.text(g.mmNaPikselX(x), g.mmNaPikselY(y), cp1250::toQ(t));
}

void PlotnoWydruku::rysujKratki(int n, int ogon, double x, double y) {
  const double b = g.bokKratki;
  linia(x, y, x - n * b, y);
  linia(x, y + b, x - n * b - 16 * ogon, y + b);
  if (ogon == 1) linia(x - n * b - 16, y + b, x - n * b - 16, y + b + 2);
  for (int i = 0; i <= n; ++i) linia(x - i * b, y, x - i * b, y + b);
}

void PlotnoWydruku::drukujWKratkach(int n, std::string_view t, double x, double y) {
  const double b = g.bokKratki;
  const std::size_t ile = std::min<std::size_t>(t.size(), n > 0 ? static_cast<std::size_t>(n) : 0);
  for (std::size_t i = 0; i < ile; ++i) {
    const char z = static_cast<char>(cp1250::toUpper(static_cast<unsigned char>(t[i])));
    tekst(x - n * b + 1 + static_cast<double>(i) * b, y + 0.7, std::string_view(&z, 1));
  }
}

void PlotnoWydruku::rysujLinie(double y, double szerokosc) { linia(0, y, szerokosc, y); }

void PlotnoWydruku::czcionkaPionowa() {
  platform::PrintFont f = c.font();
  f.angle = 90;
  f.bold = true;
  f.italic = false;
  c.setFont(f);
}

std::string PlotnoWydruku::przytnij(const std::string& t, double x0, double x) {
  const int szerokosc = g.mmNaPikselX(x) - g.mmNaPikselX(x0);
  std::string s = t;
  while (!s.empty() && c.textWidth(cp1250::toQ(s)) > szerokosc) s.pop_back();
  return s;
}

void rysujWarstwy(const UstawieniaWydruku& u, const std::function<void()>& ramki,
                  const std::function<void()>& opisy, const std::function<void()>& zawartosc) {
  if (u.ramki) ramki();
  if (u.opisy) opisy();
  if (u.zawartosc) zawartosc();
}

}  // namespace zelt
