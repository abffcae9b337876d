#pragma once
// The program object: the state that the windows share (the current record, the open card's
// working set, the institution and its folders, the signed-in person), the platform services,
// and the windows, each created once at start-up in a fixed order.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "register/karta.h"
#include "register/listykarty.h"
#include "register/rekordtransakcji.h"
#include "settings/kolumny.h"
#include "settings/kolumnygrid.h"
#include "register/weryfikacja.h"
#include "reports/numeracjadzienna.h"

namespace platform {
class RegistryStore;
class DialogDriver;
class Clock;
class Shell;
class Printers;
}  // namespace platform

namespace zelt {

class TwizytForm;
class TglownyForm;
class TedycjaForm;
class TFirmaForm;
class TJednForm;
class TAddIOForm;
class TpodpowForm;
class TKodwalutyForm;
class TKodykrajForm;
class TPodmiotForm;
struct WierszePodmiotowWTle;
class TKonfigForm;
class TWerForm;
class TWysylka;
class TEdPodmiotForm;
class PrzebiegRejestru;

struct Services {
  platform::RegistryStore& reg;
  platform::DialogDriver& dialogs;
  platform::Clock& clock;
  platform::Shell& shell;
  platform::Printers& printers;
};

// "Not found" for a record number.
constexpr std::int32_t kBrakRekordu = 16777215;
constexpr int kMaxRekordowKarty = 25;

// The open card's records (1-based, as the card's record index).
struct RekordyKarty {
  struct Pozycja {
    std::int32_t nrRekordu = kBrakRekordu;  // position in transak.dat
    std::int32_t wiersz = -1;               // row of the register list, -1 when it shows none
    std::string nrRejDat;
  };
  int k = 0;
  std::array<Pozycja, kMaxRekordowKarty + 1> r{};
};

struct LicznikiRekordow {
  struct Rekord {
    std::int32_t bledy = 0, ostrzezenia = 0, wydruki = 0, wyslania = 0;
  };
  std::int32_t bledow = 0, ostrzezen = 0;
  std::array<Rekord, kMaxRekordowKarty + 1> r{};
};

class Program {
 public:
  explicit Program(Services services);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Services svc;

  // Institution and folders, settled once at start-up.
  int IloscIO = 1;
  std::string aktualneIO = "IO\\";
  QString KatDan, KatPod, KatEks;
  // The daily file counters of the report files, kept in KatDan.
  NumeracjaDzienna numeracjaDzienna{KatDan};
  // The signed-in responsible person "first name;surname;position"; empty for the administrator.
  std::string zalogowany;
  std::uint8_t stanHasel = 0;
  // What the sign-in settled for the main window: its menus "&Jednostka Obowiązana" (JedMen) and
  // "&Konfiguracja" (konMen) are enabled only when the administrator signed in, and panel 1 of its
  // status bar shows panelZalogowany ("Zalogowany : " with "Admin " and/or the person's names).
  bool administrator = false;
  QString panelZalogowany;

  // The current record, through which every reader and writer of transak.dat goes.
  TRekordTransakcji aktualnyRekord;
  void czyscRekord();

  // The open card's working set.
  RekordyKarty rekordyKarty;
  LicznikiRekordow licznikiRekordow;
  int trybKarty = 1;  // 1 new card, 0 editing a stored card
  // Empties the working set: no records, every slot's counts 0 and record number "not found".
  void czyscKarte();
  // The card the editor shows, with its three party lists.
  Karta karta;
  // The findings of the last check (card, party, institution), counted into licznikiRekordow.
  ListyWeryfikacji listyWer{licznikiRekordow};

  // The card editor's item lists, read at its creation.
  ListyKarty listyKarty = ListyKarty::wbudowane();

  // The institution's registry key "\SOFTWARE\Tarvo\ZELT\" + aktualneIO.
  std::string kluczIO() const;
  QString plikDanych(const QString& name) const;  // KatDan + "/" + name
  QString transakDat() const { return plikDanych(QStringLiteral("transak.dat")); }

  // The register's column definitions, loaded with the settings and changed by the settings
  // window; and the main list's columns as they were built from them at start-up (the row
  // writer and the readers of the list place and find cells through it).
  DefinicjeKolumn definicjeKolumn;
  UkladListy ukladListy;

  // Bytes of a partial record at the end of transak.dat as the start-up found it (a crash during
  // an append); the next append writes over them. The user is told before the sign-in.
  qint64 niepelnyRekordRejestru = 0;
  // The system's reason when transak.dat is there but could not be opened at start-up; shown
  // after the splash, so that an unreadable register never passes for an empty one.
  QString bladOtwarciaRejestru;
  // The load found an unfinished write's journal and put the register back as it was before it.
  bool rejestrOdtworzony = false;
  // The register's pass, started with the journal's playback once the data folder is settled
  // and taken by the list's load (ladowanie.h).
  std::shared_ptr<PrzebiegRejestru> przebiegRejestru;
  bool rejestrRozpoczety = false;
  // The parties list's rows, read on a worker thread from the start (podmiotform.h).
  std::shared_ptr<WierszePodmiotowWTle> podmiotyWTle;

  // The splash's progress line; every line shown is also kept, in order.
  void akcja(const QString& line);
  QStringList splashLines;
  // The start-up as it ran: the class name of each window as it is created ("TglownyForm"),
  // between the splash lines of the windows' creations.
  QStringList przebiegStartu;

  // The windows, created by start() in their fixed order (null until created).
  TwizytForm* wizyt() const { return wizyt_.get(); }
  TglownyForm* glowny() const { return glowny_.get(); }
  TedycjaForm* edycja() const { return edycja_.get(); }
  TFirmaForm* firma() const { return firma_.get(); }
  TJednForm* jedn() const { return jedn_.get(); }
  TAddIOForm* addIO() const { return addIO_.get(); }
  // The code pickers; their lists are also the reference for typed codes.
  TpodpowForm* podpow() const { return podpow_.get(); }
  TKodwalutyForm* kodwaluty() const { return kodwaluty_.get(); }
  TKodykrajForm* kodykraj() const { return kodykraj_.get(); }
  TPodmiotForm* podmiot() const { return podmiot_.get(); }
  TKonfigForm* konfig() const { return konfig_.get(); }
  TWerForm* wer() const { return wer_.get(); }
  TWysylka* wysylka() const { return wysylka_.get(); }
  TEdPodmiotForm* edPodmiot() const { return edPodmiot_.get(); }

  // Start-up after the single-instance guard: creates the splash and every window in order, then
  // signs in. True when the program goes on to its message loop; false when it ends at once.
  bool start();

  // Opens the help file "zelt.hlp" at a topic (0: its contents); says so when it cannot.
  void pomoc(int temat);

  // Raises the window the user is in (the single-instance signal).
  void przywolaj();

  // The sign-in step, run on the splash after every window exists. Its result is a modal result;
  // only mrOk goes on. By default the splash's password dialogue; tests may replace it.
  std::function<int()> logowanie;

  // Ends the program (the message loop stops after the current handler); tests replace it.
  std::function<void()> zakoncz;
  // Set once the save-all step has run: the run is ending.
  bool zakonczony = false;

 private:
  // Creates a window into its slot and notes it in przebiegStartu.
  template <class T, class... A>
  T& utworz(std::unique_ptr<T>& slot, A&&... args);

  std::unique_ptr<TwizytForm> wizyt_;
  std::unique_ptr<TglownyForm> glowny_;
  std::unique_ptr<TedycjaForm> edycja_;
  std::unique_ptr<TFirmaForm> firma_;
  std::unique_ptr<TJednForm> jedn_;
  std::unique_ptr<TAddIOForm> addIO_;
  std::unique_ptr<TpodpowForm> podpow_;
  std::unique_ptr<TKodwalutyForm> kodwaluty_;
  std::unique_ptr<TKodykrajForm> kodykraj_;
  std::unique_ptr<TPodmiotForm> podmiot_;
  std::unique_ptr<TKonfigForm> konfig_;
  std::unique_ptr<TWerForm> wer_;
  std::unique_ptr<TWysylka> wysylka_;
  std::unique_ptr<TEdPodmiotForm> edPodmiot_;
};

}  // namespace zelt
