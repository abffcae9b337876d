#include "reports/raporttxt.h"

#include <algorithm>

#include "reports/konwersja.h"
#include "reports/uwagi.h"
#include "reports/wartosci.h"

namespace zelt {

namespace {

constexpr const char* kKoniecWiersza = "\r\n";

std::string tr(std::string_view tekst) { return wartoscRaportu(tekst, false); }

class Wiersz {
 public:
  explicit Wiersz(std::string& out) : out_(out) {}
  void pole(int nr, std::string_view wartosc) {
    out_ += static_cast<char>('0' + nr / 10);
    out_ += static_cast<char>('0' + nr % 10);
    out_ += ':';
    // A ";" would end the value for every reader: it is written as ",".
    const std::size_t od = out_.size();
    out_ += wartosc;
    std::replace(out_.begin() + static_cast<std::ptrdiff_t>(od), out_.end(), ';', ',');
    out_ += ';';
  }
  // Fields written only when their stored text is non-empty.
  void niepuste(int nr, const std::string& tekst, std::string (*rodzaj)(std::string_view)) {
    if (!tekst.empty()) pole(nr, rodzaj(tekst));
  }

 private:
  std::string& out_;
};

std::string raw(std::string_view t) { return surowa(t); }
std::string prawo2(std::string_view t) { return doPrawej(t, 2); }

struct Strona {
  int pierwsze;  // field number of the type
  std::int32_t typ;
  const ListyKarty::Lista& lista;
  const std::string &nz, &adrKr, &adrKod, &adrM, &adrUl;
};

// Fields of the party on whose behalf and of the beneficiary: type, name, address.
void strona(Wiersz& w, const Strona& s) {
  if (!obecny(s.typ, s.nz)) return;
  w.pole(s.pierwsze, kodTypu(s.lista, s.typ));
  w.pole(s.pierwsze + 1, tr(s.nz));
  w.niepuste(s.pierwsze + 2, s.adrKr, prawo2);
  w.niepuste(s.pierwsze + 3, s.adrKod, raw);
  w.niepuste(s.pierwsze + 4, s.adrM, tr);
  w.niepuste(s.pierwsze + 5, s.adrUl, tr);
}

}  // namespace

std::string naglowekTxt(const QDateTime& czas, std::string_view nip) {
  return "HE" + czas.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() + surowa(nip) + kKoniecWiersza;
}

std::string stopkaTxt(std::int32_t liczba) { return "TR" + uzupelnijZerami(8, std::to_string(liczba)) + kKoniecWiersza; }

std::string generujtxt(const TRekordTransakcji& r, const ListyKarty& listy) {
  std::string out = "DA;";
  Wiersz w(out);
  if (!r.nrEwT.empty()) w.pole(1, uzupelnijZerami(25, surowa(r.nrEwT)));
  w.pole(2, doPrawej(tr(r.nrRejDat), 12));
  w.pole(3, dataRaportu(r.rejDat));
  w.pole(4, uzupelnijZerami(8, surowa(r.jedIO)));
  w.pole(5, std::to_string(r.Status));

  const bool transakcja = !r.kRodzTr.empty();
  if (transakcja) {
    w.pole(6, doPrawej(r.kRodzTr, 4));
    if (ustawiony(r.kPwz)) w.pole(7, std::to_string(r.kPwz));
    if (r.kPdjrz != "    ") w.niepuste(8, r.kPdjrz, raw);
    if (ustawiony(r.spDysp)) w.pole(9, std::to_string(r.spDysp));
    w.niepuste(10, r.nrDokT, tr);
    w.pole(11, dataRaportu(r.tDat));
    w.niepuste(12, r.tM, tr);
    w.niepuste(13, r.tKw, raw);
    w.niepuste(14, r.tJ, raw);
    w.niepuste(15, r.tKwZ, raw);
    w.niepuste(16, r.tJZ, raw);
  }

  if (obecny(r.zTypPo, r.zNz)) {
    w.pole(17, kodTypu(listy.zTypPo, r.zTypPo));
    w.pole(18, tr(r.zNz));
    w.niepuste(19, r.zObyw, prawo2);
    w.niepuste(20, r.zAdrKr, prawo2);
    w.niepuste(21, r.zAdrKod, raw);
    w.niepuste(22, r.zAdrM, tr);
    w.niepuste(23, r.zAdrUl, tr);
    w.niepuste(24, r.zNrPes, [](std::string_view t) { return doPrawej(t, 11); });
    w.niepuste(25, r.zNrReg, [](std::string_view t) { return doPrawej(t, 9); });
    w.niepuste(26, r.zNrReS, raw);
    w.niepuste(27, r.zNrSwt, raw);
    w.niepuste(28, r.zNip, [](std::string_view t) { return doPrawej(t, 10); });
    if (const auto kod = kodDokumentu(listy.zRodzDokTo, r.zRodzDokTo)) w.pole(29, *kod);
    w.niepuste(30, r.zNrDokTo, raw);
  }
  strona(w, {31, r.pTypPo, listy.pTypPo, r.pNz, r.pAdrKr, r.pAdrKod, r.pAdrM, r.pAdrUl});
  strona(w, {37, r.bTypPo, listy.bTypPo, r.bNz, r.bAdrKr, r.bAdrKod, r.bAdrM, r.bAdrUl});

  if (transakcja) {
    w.niepuste(43, r.nrRachZ, raw);
    w.niepuste(44, r.nrRachN, raw);
  }
  const std::string uwagi = lancuchUwag(r, BramkiUwag::Raport, tr);
  if (!uwagi.empty()) w.pole(45, uwagi);
  out += kKoniecWiersza;
  return out;
}

}  // namespace zelt
