#include "register/program.h"

#include <QApplication>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/ladowanie.h"
#include "register/rejestr.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "register/wysylka.h"
#include "reports/drukkarty.h"
#include "reports/drukrejestru.h"
#include "reports/eksport.h"
#include "reports/generujpliki.h"
#include "reports/import.h"
#include "settings/addioform.h"
#include "settings/daneio.h"
#include "settings/edpodmiotform.h"
#include "settings/firmaform.h"
#include "settings/jednform.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podmiotform.h"
#include "settings/podpowform.h"

namespace zelt {

Program::Program(Services services) : svc(services), zakoncz([] { QCoreApplication::quit(); }) {
  logowanie = [this] { return wizyt_ ? wizyt_->zaloguj() : platform::mrCancel; };
}

Program::~Program() = default;

void Program::czyscRekord() {
  TRekordTransakcji r;  // all texts empty, the list indexes -1, Status 1, counters 0
  const double today = platform::dateToDays(svc.clock.today());
  r.rejDat = today;
  r.tDat = today;
  aktualnyRekord = r;
}

void Program::czyscKarte() {
  rekordyKarty = RekordyKarty{};
  licznikiRekordow = LicznikiRekordow{};
}

std::string Program::kluczIO() const {
  return kluczInstytucji(aktualneIO);
}

QString Program::plikDanych(const QString& name) const { return KatDan + QLatin1Char('/') + name; }

template <class T, class... A>
T& Program::utworz(std::unique_ptr<T>& slot, A&&... args) {
  slot = std::make_unique<T>(std::forward<A>(args)...);
  przebiegStartu << QString::fromLatin1(slot->metaObject()->className()).section(QStringLiteral("::"), -1);
  return *slot;
}

void Program::akcja(const QString& line) {
  splashLines << line;
  przebiegStartu << line;
  if (wizyt_) wizyt_->pokazAkcje(line);
}

bool Program::start() {
  QApplication::setApplicationName(QStringLiteral("Rejestr Transakcji"));
  // The help file "zelt.hlp" is named where help is opened (the shell service).
  utworz(wizyt_, *this);
  akcja(QStringLiteral("Rozpoczęto ładowanie danych"));
  wizyt_->show();
  wizyt_->repaint();

  // Every window, once, in this order; each creation loads its own data and writes its lines.
  if (!utworz(glowny_, *this).FormCreate()) return false;
  // The data folder is settled: the register is read while the other windows are made.
  rozpocznijLadowanieRejestru(*this);
  rozpocznijListePodmiotow(*this);
  utworz(edycja_, *this).FormCreate();
  dajListyLadowaniu(*this);
  // "&Dodaj" and "&Edytuj" open the card editor over the card they prepared.
  glowny_->pokazEdycje = [this] { return edycja_->pokaz(); };
  glowny_->ustawPrzyciski();
  // transaction-kind picker
  utworz(podpow_, *this).FormCreate();
  // settings (builds the register list's columns and loads the register)
  utworz(konfig_, *this).FormCreate();
  // verification dialog
  utworz(wer_, *this);
  // currency picker
  utworz(kodwaluty_, *this).FormCreate();
  // country picker
  utworz(kodykraj_, *this).FormCreate();
  // parties list
  utworz(podmiot_, *this).FormCreate();
  // institution data
  utworz(firma_, *this).FormCreate();
  // unit editor
  utworz(jedn_, *this).FormCreate();
  // dispatch report
  utworz(wysylka_);
  // party editor
  utworz(edPodmiot_, *this).FormCreate();
  // add-institution dialog
  utworz(addIO_);

  glowny_->drukujKarty = [this](const std::vector<std::int32_t>& numery) { drukujKarty(*this, numery); };
  glowny_->DrukRejClick = [this] { DrukRejClick(*this); };
  glowny_->generujPliki = [this](const std::vector<std::int32_t>& numery) { generujPliki(*this, numery); };
  glowny_->ExpMenClick = [this] { ExpMenClick(*this); };
  glowny_->ImpMenClick = [this] { ImpMenClick(*this); };
  // From the main menu the list is browsed and kept; nothing is taken over into a card.
  glowny_->pokazPodmioty = [this] { return podmiot_->pokaz(false); };
  glowny_->ustawPrzyciski();

  akcja(QStringLiteral("Program gotów do pracy wszystkie składniki wprowadzone poprawnie"));
  // The splash line of the load is overwritten at once; this must not pass unseen.
  if (rejestrOdtworzony)
    svc.dialogs.messageBox(QString::fromUtf8("Ostatni zapis do pliku rejestru transak.dat nie został dokończony - rejestr "
                                             "przywrócono do stanu sprzed tego zapisu"),
                           QApplication::applicationName(), platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  if (niepelnyRekordRejestru > 0)
    svc.dialogs.messageBox(QStringLiteral("Plik rejestru transak.dat kończy się niepełnym rekordem (%1 bajtów) - pominięto go.")
                               .arg(niepelnyRekordRejestru),
                           QApplication::applicationName(), platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  if (!bladOtwarciaRejestru.isEmpty())
    svc.dialogs.messageBox(komunikatOtwarcia(bladOtwarciaRejestru), QApplication::applicationName(),
                           platform::MsgButtons::Ok, platform::MsgIcon::Error);
  wizyt_->hide();
  if (logowanie() != platform::mrOk) return false;
  glowny_->poZalogowaniu();
  glowny_->show();
  return true;
}

void Program::pomoc(int temat) {
  if (!svc.shell.showHelp(QStringLiteral("zelt.hlp"), temat))
    svc.dialogs.messageBox(QStringLiteral("Brak pliku pomocy zelt.hlp"), QApplication::applicationName(),
                           platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

void Program::przywolaj() {
  // Never the main window before the sign-in: the window the user is in comes to the front.
  QWidget* w = QApplication::activeModalWidget();
  if (!w && glowny_ && glowny_->isVisible()) w = glowny_.get();
  if (!w && wizyt_ && wizyt_->isVisible()) w = wizyt_.get();
  if (!w) return;
  if (w->isMinimized()) w->showNormal();
  w->raise();
  w->activateWindow();
}

}  // namespace zelt
