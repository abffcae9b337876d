// Prints sample cards, a register print of two pages and two bands and the identification form
// (whole, with 60 units, and its contents alone) to the PDF printer and turns each page into a
// PNG, to be looked at: print_demo [folder]  (default /tmp/print_demo).
// Needs pdftoppm for the pictures.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/printers.h"
#include "platform/shell.h"
#include "register/listykarty.h"
#include "reports/drukkarty.h"
#include "reports/drukformularza.h"
#include "reports/drukrejestru.h"
#include "settings/kolumny.h"
#include "settings/konfigform.h"

namespace {

std::string u(const char* s) { return cp1250::fromUtf8(s); }

zelt::TRekordTransakcji karta() {
  zelt::TRekordTransakcji r;
  r.nrEwT = "2026/12/0001";
  r.nrRejDat = "17";
  r.rejDat = platform::dateToDays(QDate(2026, 12, 10));
  r.jedIO = "0002";
  r.Status = 1;
  r.kRodzTr = "0607";
  r.kPwz = 0;
  r.kPdjrz = "0000";
  r.spDysp = 1;
  r.nrDokT = "KP/2026/118";
  r.tDat = platform::dateToDays(QDate(2026, 12, 9));
  r.tM = u("Łódź");
  r.tKw = "150000,00";
  r.tJ = "EUR";
  r.tKwZ = "645000,00";
  r.tJZ = "PLN";
  r.zTypPo = 1;
  r.zNz = u("Żółkiewska-Wiśniewska Małgorzata Anna");
  r.zObyw = "PL";
  r.zAdrKr = "PL";
  r.zAdrKod = "90-001";
  r.zAdrM = u("Łódź");
  r.zAdrUl = u("Piotrkowska 104 m. 12");
  r.zNrPes = "44051401359";
  r.zNip = "1234563218";
  r.zRodzDokTo = 1;
  r.zNrDokTo = "ABC123456";
  r.pTypPo = 11;
  r.pNz = u("Przedsiębiorstwo Handlowo-Usługowe \"Gęś\" Spółka Akcyjna");
  r.pAdrKr = "PL";
  r.pAdrKod = "00-950";
  r.pAdrM = "Warszawa";
  r.pAdrUl = u("Aleje Jerozolimskie 1");
  r.bTypPo = 0;
  r.bNz = u("Bank Przykładowy");
  r.bAdrKr = "DE";
  r.bAdrM = "Berlin";
  r.nrRachZ = "PL61109010140000071219812874";
  r.nrRachN = "DE89370400440532013000";
  r.uwInne = u("Wpłata gotówkowa w kasie oddziału, klient okazał umowę sprzedaży");
  r.uwbTypPo = u("bank korespondent");
  r.Wprow = u("Jan;Kowalski;Kierownik działu zgodności");
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/print_demo");
  QDir().mkpath(out);
  QTemporaryDir docs;
  platform::RecordingShell shell(docs.path());
  platform::FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
  platform::SystemPrinters printers(shell, clock);
  printers.select(int(printers.names().size()) - 1);
  const auto listy = zelt::ListyKarty::wbudowane();
  const zelt::Kalibracja k{1, 1, 3, 0};

  struct Proba {
    const char* nazwa;
    zelt::TRekordTransakcji r;
    bool ramki, opisy, zawartosc;
  };
  auto zalacznik = karta();
  zalacznik.uwzObyw = std::string(200, 'x');
  zalacznik.uwkRodzTr = u("Transakcja rozłożona na raty, ") + std::string(180, '.');
  zalacznik.uwspDysp = std::string(250, '9');
  zalacznik.uwkPwz = std::string(255, 'z');
  zalacznik.uwkPdjrz = std::string(255, 'p');
  zalacznik.uwzTypPo = std::string(255, 't');
  zalacznik.uwzRodzDokTo = std::string(255, 'd');
  const Proba proby[] = {
      {"karta_pelna", karta(), true, true, true},
      {"karta_zawartosc", karta(), false, false, true},
      {"karta_zalacznik", zalacznik, true, true, true},
  };
  int rc = 0;
  // The newest PDF of the printer's folder under a name of the demo's, and its pages as PNG.
  auto odbierz = [&](const char* nazwa) {
    QDir wydruki(printers.pdfFolder());
    const QStringList pliki = wydruki.entryList({"*.pdf"}, QDir::Files, QDir::Name | QDir::Reversed);  // the newest first
    const QString pdf = QDir(out).filePath(QString::fromLatin1(nazwa) + ".pdf");
    QFile::remove(pdf);
    QFile::rename(wydruki.filePath(pliki.first()), pdf);
    QProcess::execute("pdftoppm", {"-r", "100", "-png", pdf, QDir(out).filePath(QString::fromLatin1(nazwa))});
    std::printf("%s\n", qPrintable(pdf));
  };
  for (const auto& p : proby) {
    zelt::UstawieniaWydruku w{"1,000", "1,000", "+3,000", "+0,000"};
    w.ramki = p.ramki;
    w.opisy = p.opisy;
    w.zawartosc = p.zawartosc;
    const auto wynik = zelt::drukujKarte(printers, p.r, listy, "5260250995", w, k);
    if (!wynik.wydrukowana) {
      std::fprintf(stderr, "%s: %s\n", p.nazwa, qPrintable(wynik.blad));
      rc = 1;
      continue;
    }
    odbierz(p.nazwa);
  }

  // The register with the default print columns: two bands; rows of one to four lines over two
  // pages, with a name that breaks at a CR LF, a long street and a record with no kind code.
  std::vector<zelt::TRekordTransakcji> rejestr;
  static const char* const nazwiska[] = {"Kowalski Jan", "Żółkiewska-Wiśniewska Małgorzata Anna",
                                         "Przedsiębiorstwo Handlowo-Usługowe \"Gęś\" Spółka Akcyjna", "Nowak Ewa"};
  for (int i = 0; i < 60; ++i) {
    auto r = karta();
    r.nrRejDat = std::to_string(i % 1000);
    r.tKw = std::to_string(1000 + 37 * i) + ",00";
    r.zNz = u(nazwiska[i % 4]);
    if (i % 7 == 3) r.zAdrUl = u("Aleja Marszałka Józefa Piłsudskiego 142 lok. 12, klatka B, piętro IV");
    if (i == 5) r.zNz = u("Spółdzielnia Mieszkaniowa\r\nw Łodzi");
    if (i == 9) r.kRodzTr = "    ";
    rejestr.push_back(r);
  }
  std::vector<std::int32_t> numery;
  for (int i = 0; i < 60; ++i) numery.push_back(i);
  const QString blad = zelt::drukujRejestr(
      printers, zelt::DefinicjeKolumn(), numery, [&](std::int32_t n) { return rejestr.at(std::size_t(n)); }, listy);
  if (!blad.isEmpty()) {
    std::fprintf(stderr, "rejestr: %s\n", qPrintable(blad));
    rc = 1;
  } else {
    odbierz("rejestr");
  }

  // The identification form: one page, and with 60 units over two further pages.
  zelt::DaneIO io;
  io.nazIO = u("Bank Spółdzielczy w Łodzi oddział Piotrkowska");
  io.NIPIO = "5260250995";
  io.RegIO = "012345678";
  io.WoIO = u("łódzkie");
  io.PoIO = u("Łódź");
  io.GmIO = u("Łódź");
  io.KodIO = "90-001";
  io.MieIO = u("Łódź");
  io.UlIO = "Piotrkowska";
  io.NrDIO = "12";
  io.NrLIO = "3";
  io.RoIO = 6;
  io.AkIO = true;
  io.UwIO = u("Zmiana osoby odpowiedzialnej");
  io.os[0] = {"Jan", "Kowalski", "Inspektor", "426301111", "426302222", "601111222", "jan.kowalski@bank-lodz.pl"};
  io.os[1] = {"Anna", "Nowak", u("Zastępca"), "426303333", "426304444", "602333444", "anna@bank.pl"};
  zelt::JednostkiIO jedn;
  for (int i = 1; i <= 60; ++i)
    jedn.dodaj({"", std::to_string(1000 + i), u("Oddział nr ") + std::to_string(i), u("ul. Długa ") + std::to_string(i),
                "90-0" + std::to_string(10 + i), u("Łódź"), u("łódzkie"), "42630" + std::to_string(1000 + i),
                "42640" + std::to_string(1000 + i)});
  // The whole form on one page and with the units; only the contents, as for a pre-printed form.
  struct ProbaIO {
    const char* nazwa;
    const zelt::JednostkiIO* j;
    bool ramki, opisy, zawartosc;
  };
  const zelt::JednostkiIO bezJednostek;
  const ProbaIO probyIO[] = {
      {"formularz_io", &bezJednostek, true, true, true},
      {"formularz_io_60", &jedn, true, true, true},
      {"formularz_io_zawartosc", &jedn, false, false, true},
  };
  for (const auto& p : probyIO) {
    zelt::UstawieniaWydruku wio{"1,000", "1,000", "+3,000", "+0,000"};
    wio.ramki = p.ramki;
    wio.opisy = p.opisy;
    wio.zawartosc = p.zawartosc;
    const auto w = zelt::drukujFormularzIO(printers, io, *p.j, clock.today(), wio, k);
    if (!w.wydrukowany) {
      std::fprintf(stderr, "%s: %s\n", p.nazwa, qPrintable(w.blad));
      rc = 1;
    } else {
      odbierz(p.nazwa);
    }
  }
  return rc;
}
