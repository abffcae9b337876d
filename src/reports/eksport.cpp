#include "reports/eksport.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/registry.h"
#include "platform/wholefile.h"
#include "register/glownyform.h"
#include "register/polecenia.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "reports/raporttxt.h"
#include "reports/raportxml.h"
#include "settings/daneio.h"
#include "settings/firmaform.h"

namespace zelt {

namespace {

// The path with its links and its folder's links resolved; for a name that does not exist yet,
// its folder resolved and the name kept.
QString rozwiazana(const QString& sciezka) {
  QFileInfo f(sciezka);
  for (int i = 0; i < 16 && f.isSymLink() && !f.exists(); ++i) f = QFileInfo(f.symLinkTarget());
  if (f.exists()) return f.canonicalFilePath();
  const QString folder = QFileInfo(f.absolutePath()).canonicalFilePath();
  return (folder.isEmpty() ? f.absolutePath() : folder) + QLatin1Char('/') + f.fileName();
}

}  // namespace

std::string plikEksportu(const std::vector<TRekordTransakcji>& rekordy, const ListyKarty& listy, std::string_view nip,
                         const QDateTime& czas, bool xml) {
  const auto ilosc = static_cast<std::int32_t>(rekordy.size());
  std::string out = xml ? deklaracjaXml() + poczatekWykazuEksportu(nip, ilosc, czas) : naglowekTxt(czas, nip);
  for (const TRekordTransakcji& r : rekordy) out += xml ? generujxml(r, listy) : generujtxt(r, listy);
  out += xml ? koniecWykazu() : stopkaTxt(ilosc);
  return out;
}

QString nazwaEksportu(const QString& wybrana, bool xml) {
  if (QFileInfo(wybrana).fileName().contains(QLatin1Char('.'))) return wybrana;
  return wybrana + (xml ? QStringLiteral(".xml") : QStringLiteral(".txt"));
}

bool plikDanychProgramu(const Program& p, const QString& sciezka) {
  const QString cel = rozwiazana(sciezka);
  const QString dane[] = {p.plikDanych(QStringLiteral("transak.dat")), p.plikDanych(QStringLiteral("konfig")),
                          p.KatPod + QStringLiteral("/klienci.dat"), p.svc.reg.filePath()};
  for (const QString& d : dane)
    if (!d.isEmpty() && rozwiazana(d) == cel) return true;
  static const QRegularExpression np(QStringLiteral("^np\\d+\\.dat$"));
  const QFileInfo f(cel);
  return np.match(f.fileName()).hasMatch() && rozwiazana(p.KatDan) == f.path();
}

void ExpMenClick(Program& p) {
  TglownyForm* glowny = p.glowny();
  if (!glowny || glowny->lista->RowCount() == 0) return;
  auto& dialogi = p.svc.dialogs;
  platform::guarded(dialogi, [&] {
    platform::FileDialogRequest eksport;
    eksport.caption = QStringLiteral("Katalog eksportu");
    eksport.filter = QStringLiteral("Plik tekstowy (*.txt);;Plik xml (*.xml)");
    eksport.filterIndex = 2;
    eksport.folder = p.KatEks;
    if (TFirmaForm* f = p.firma(); f && !f->ekspdir.isEmpty()) eksport.folder = f->ekspdir;
    const auto wybor = dialogi.saveFileAs(eksport);
    if (!wybor) return;
    const bool xml = wybor->filter != 1;
    const QString cel = nazwaEksportu(wybor->path, xml);
    if (plikDanychProgramu(p, cel)) {
      dialogi.showMessage(QString::fromUtf8("Wskazany plik jest plikiem danych programu - wybierz inną nazwę"));
      return;
    }

    const auto numery = rekordyWierszy(*glowny->lista, p.ukladListy.kolumnaLp(), wybraneWiersze(*glowny->lista));
    std::vector<TRekordTransakcji> rekordy;
    rekordy.reserve(numery.size());
    {
      PlikRejestru plik(p.transakDat());
      if (!plik.otworzDoOdczytu()) {
        dialogi.showMessage(plik.bladOtwarcia());
        return;
      }
      for (const std::int32_t nr : numery) {
        p.aktualnyRekord = plik.czytaj(nr);
        rekordy.push_back(p.aktualnyRekord);
      }
    }
    const std::string nip = p.firma() ? p.firma()->dane().NIPIO : std::string();
    platform::writeWholeFile(cel, plikEksportu(rekordy, p.listyKarty, nip, p.svc.clock.now(), xml),
                             platform::WriteMode::Replace);
  });
}

}  // namespace zelt
