#include "register/listykarty.h"

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "register/program.h"
#include "reports/uwagi.h"
#include "settings/slownik.h"

namespace zelt {

namespace {

ListyKarty::Lista lista(std::initializer_list<const char*> utf8) {
  ListyKarty::Lista out;
  for (const char* s : utf8) out.push_back(cp1250::fromUtf8(s));
  return out;
}

ListyKarty::Lista typyPodmiotu(const char* first) {
  ListyKarty::Lista l = lista({first,
                               "01 - osoba fizyczna",
                               "02 - osoba fizyczna prowadząca działalność gospodarczą",
                               "03 - osoba fizyczna wykonująca wolny zawód",
                               "04 - spółka cywilna",
                               "05 - spółka jawna",
                               "06 - spółka partnerska",
                               "07 - spółka komandytowa",
                               "08 - spółka komandytowo-akcyjna",
                               "09 - spółka z ograniczoną odpowiedzialnością",
                               "10 - spółka z ograniczoną odpowiedzialnością w organizacji",
                               "11 - spółka akcyjna",
                               "12 - spółka akcyjna w organizacji",
                               "13 - spółdzielnia",
                               "14 - przedsiębiorstwo państwowe",
                               "15 - towarzystwo ubezpieczeń wzajemnych",
                               "16 - główny oddział zagranicznego zakładu ubezpieczeń",
                               "17 - jednostka badawczo-rozwojowa",
                               "18 - stowarzyszenie",
                               "19 - fundacja",
                               "20 - organizacja społeczna i zawodowa",
                               "21 - przedsiębiorca określony w przepisach o zasadach prowadzenia na terytorium "
                               "Rzeczypospolitej Polskiej działalności gospodarczej w zakresie drobnej wytwórczości "
                               "przez zagraniczne osoby prawne i fizyczne, zwany dalej \"przedsiębiorstwem "
                               "zagranicznym\"",
                               "22 - oddział przedsiębiorcy zagranicznego działającego na terytorium Rzeczypospolitej "
                               "Polskiej"});
  return l;
}

std::string data(double days, const QString& format, const char* brak) {
  auto d = platform::daysToDate(days);
  if (!d) return brak;
  return d->toString(format).toStdString();
}

std::string data(double days) { return data(days, QStringLiteral("yyyy/MM/dd"), ""); }

// v as `ile` digits with leading zeros.
void cyfry(std::string& out, int v, int ile) {
  char b[10];
  for (int i = ile - 1; i >= 0; --i, v /= 10) b[i] = static_cast<char>('0' + v % 10);
  out.append(b, static_cast<std::size_t>(ile));
}

}  // namespace

bool kolumnaTransakcji(std::string_view kod) {
  static const char* const kody[] = {"kRodzTr", "kPwz", "kPdjrz", "spDysp", "nrDokT", "tDat",
                                     "tM",      "tKw",  "tJ",     "tKwZ",   "tJZ"};
  for (const char* k : kody)
    if (kod == k) return true;
  return false;
}

ListyKarty ListyKarty::wbudowane() {
  ListyKarty l;
  l.Status = lista({"0 - korekta transakcji", "1 - nowa transakcja"});
  l.kPwz = lista({"0 - transakcja niepowiązana", "1 - transakcja powiązana"});
  l.kPdjrz = lista({"", "0000 - środki użyte mogą pochodzić z nielegalnych lub nieujawnionych źródeł",
                    "9000 - środki mogą służyć finansowaniu terroryzmu"});
  l.spDysp = lista({"0 - inne - w polu uwagi podać szczegóły", "1 - osobiście", "2 - telefonicznie (także faks)",
                    "3 - elektronicznie (także internet)", "4 - wrzutnia depozytowa, depozyt",
                    "5 - za pośrednictwem poczty"});
  l.zRodzDokTo = lista({"00 - inne - w polu uwagi podać szczegóły", "DO - dowód osobisty", "PA - paszport",
                        "DT - dowód tymczasowy", "KS - karta stałego pobytu", "KC - karta czasowego pobytu"});
  l.zTypPo = typyPodmiotu("00 - inne - w polu uwagi podać szczegóły");
  l.pTypPo = typyPodmiotu("00 - inne");
  l.bTypPo = l.pTypPo;
  return l;
}

std::string ListyKarty::kod(const Lista& lista, std::int32_t index) { return tekst(lista, index).substr(0, 2); }

std::string dataRaportu(double dni) {
  // Formatted by hand: a send writes two dates for each of a thousand records.
  const auto d = platform::daysToCivil(dni);
  if (!d) return "00000000";
  std::string b;
  cyfry(b, d->year, 4);
  cyfry(b, d->month, 2);
  cyfry(b, d->day, 2);
  return b;
}

void dopiszDateListy(double dni, std::string& out) {
  const auto d = platform::daysToCivil(dni);
  if (!d) return;
  cyfry(out, d->year, 4);
  out += '/';
  cyfry(out, d->month, 2);
  out += '/';
  cyfry(out, d->day, 2);
}

void wczytajListyKarty(Program& program, ListyKarty& listy) {
  auto q = [](const char* s) { return QString::fromUtf8(s); };
  zaladujSlownik(program, q("podejrza.txt"), q("ładowanie kodów transakcji podejrzanych"), listy.kPdjrz);
  zaladujSlownik(program, q("sposoby.txt"), q("ładowanie kodów sposobów wydania dyspozycji"), listy.spDysp);
  zaladujSlownik(program, q("dokument.txt"), q("ładowanie typów dokumentów"), listy.zRodzDokTo);
  if (zaladujSlownik(program, q("podmioty.txt"), q("ładowanie kodów podmiotów"), listy.zTypPo)) {
    listy.pTypPo = listy.zTypPo;
    listy.bTypPo = listy.zTypPo;
  }
}

std::string tekstKomorki(const std::string& kod, const TRekordTransakcji& r, std::int32_t nrRekordu,
                         const ListyKarty& listy) {
  if (kolumnaTransakcji(kod) && (r.kRodzTr.empty() || r.kRodzTr == "    ")) return {};
  if (kod == "Lp") return std::to_string(static_cast<std::int64_t>(nrRekordu) + 1);
  if (kod == "Info") {
    std::string s;
    if (r.ilBledow > 0) s += std::to_string(r.ilBledow) + "B;";
    if (r.ilOstrzezen > 0) s += std::to_string(r.ilOstrzezen) + "O;";
    if (r.ilWydrukow > 0) s += "D;";
    if (r.ilWyslan > 0) s += "W;";
    if (!s.empty()) s.pop_back();
    return s;
  }
  if (kod == "Uwagi") return lancuchUwag(r, BramkiUwag::Brak, [](std::string_view t) { return std::string(t); });
  if (kod == "rejDat") return data(r.rejDat);
  if (kod == "tDat") return data(r.tDat);
  if (kod == "Status") return ListyKarty::tekst(listy.Status, r.Status);
  if (kod == "kPwz") return ListyKarty::tekst(listy.kPwz, r.kPwz);
  if (kod == "spDysp") return ListyKarty::tekst(listy.spDysp, r.spDysp);
  if (kod == "zTypPo") return ListyKarty::tekst(listy.zTypPo, r.zTypPo);
  if (kod == "zRodzDokTo") return ListyKarty::tekst(listy.zRodzDokTo, r.zRodzDokTo);
  if (kod == "pTypPo") return ListyKarty::tekst(listy.pTypPo, r.pTypPo);
  if (kod == "bTypPo") return ListyKarty::tekst(listy.bTypPo, r.bTypPo);
  if (kod == "nrRachNa") return r.nrRachN;
  if (const PoleRekordu* p = poleTekstowe(kod)) return r.*(p->text);
  return {};
}

}  // namespace zelt
