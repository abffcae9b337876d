// Printing through a real print queue: a private CUPS server of the test's own with a PDF queue
// (cups-pdf), chosen on the settings' "Drukarka" page, takes two cards and the register; the
// queue's PDF files hold their pages in order.
//
// The server is the test's alone: its configuration, socket, spool, logs and the queue's output
// lie in the test's temporary folder, and it ends with the test. The queue's backend reads its
// settings from the system's folder (/etc/cups), so the server runs in a mount namespace of its
// own in which that folder is the test's. The printing itself runs in this test program started
// again with the server as its CUPS server, so that no other test has asked another one first.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/dialogs.h"
#include "platform/printers.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "settings/konfigform.h"
#include "../register/swiatrejestru.h"
#include "support/processes.h"

namespace {

constexpr char kDziecko[] = "ZELT_KOLEJKA_DZIECKO";
const QString kKolejka = QStringLiteral("ZELT-PDF");
constexpr int kWierszeRejestru = 70;  // more than one landscape page
const char kPpd[] = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

std::string numerKarty(int i) { return "KARTA" + std::to_string(i); }

// The child's work: the program prints through the queue that the settings offer.
void drukujPrzezKolejke() {
  swiat::SwiatRejestru w;
  std::vector<zelt::TRekordTransakcji> rekordy;
  for (int i = 0; i < kWierszeRejestru; ++i) {
    auto r = swiat::rekord(numerKarty(i), w.dzis(), std::to_string(i));
    r.kRodzTr = "0101";
    rekordy.push_back(r);
  }
  // Card 2 has remarks too long for its form: they go to an attachment page.
  rekordy[1].uwInne = std::string(127, 'u');
  rekordy[1].uwkRodzTr = std::string(255, 'w');
  w.zapisz(rekordy);

  platform::SystemPrinters druk(w.shell, w.clock);
  zelt::Program p(zelt::Services{w.reg(), w.dialogs, w.clock, w.shell, druk});
  p.logowanie = [] { return platform::mrOk; };
  p.zakoncz = [] {};
  ASSERT_TRUE(p.start());
  p.administrator = true;
  w.dialogs.onFailure = [](const QString& why) { ADD_FAILURE() << why.toStdString(); };

  w.dialogs.expectModal("KonfigForm", [&](platform::ModalForm&) {
    auto& k = *p.konfig();
    k.Konfig->setCurrentIndex(0);  // "Drukarka"
    QStringList oferowane;
    for (int i = 0; i < k.WybDruk->count(); ++i) oferowane << k.WybDruk->itemText(i);
    const int i = k.WybDruk->findText(kKolejka);
    EXPECT_GE(i, 0) << "the queue is offered: " << oferowane.join(", ").toStdString();
    k.WybDruk->setCurrentIndex(i);
    k.zapis->click();
    return platform::mrNone;
  });
  p.glowny()->konMenClick();
  ASSERT_EQ(p.konfig()->WybDruk->currentText(), kKolejka);

  // "Druk &Karty" of the first two rows, then "Druk &Rejstru" of every row.
  auto& lista = *p.glowny()->lista;
  ASSERT_EQ(lista.RowCount(), kWierszeRejestru);
  lista.SetDataRow(0);
  lista.MoveCurrent(0, 2, false);
  p.glowny()->DrukKar->click();
  lista.SetDataRow(0);
  for (int r = 1; r < kWierszeRejestru; ++r) lista.MoveCurrent(0, r + 1, false);
  p.glowny()->DrukRej->click();
  EXPECT_TRUE(w.dialogs.messages().isEmpty()) << w.dialogs.messages().join("\n").toStdString();
  EXPECT_TRUE(w.dialogs.scriptDone());
}

QString wpisz(const QString& plik, const QString& tresc) {
  QFile f(plik);
  if (!f.open(QIODevice::WriteOnly) || f.write(tresc.toUtf8()) < 0) return "cannot write " + plik;
  return {};
}

QString czytaj(const QString& plik) {
  QFile f(plik);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Runs a program to its end; its output, or empty with `ok` false.
QString uruchom(const QString& program, const QStringList& args, const QProcessEnvironment& env, bool* ok) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  *ok = p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  return QString::fromLocal8Bit(p.readAll());
}

// A PDF's pages as pdftotext reads them, one text per page.
QStringList strony(const QString& pdf) {
  bool ok = false;
  const QString info = uruchom("pdfinfo", {pdf}, QProcessEnvironment::systemEnvironment(), &ok);
  const auto m = QRegularExpression("Pages:\\s*(\\d+)").match(info);
  if (!ok || !m.hasMatch()) return {};
  QStringList out;
  for (int s = 1; s <= m.captured(1).toInt(); ++s) {
    QString t = uruchom("pdftotext", {"-f", QString::number(s), "-l", QString::number(s), pdf, "-"},
                        QProcessEnvironment::systemEnvironment(), &ok);
    out << t.simplified();
  }
  return out;
}

TEST(SystemPrinter, CardsAndTheRegisterThroughAPrivateCupsQueue) {
  if (qEnvironmentVariableIsSet(kDziecko)) return drukujPrzezKolejke();

  for (const char* program : {"cupsd", "lpadmin", "lpstat", "unshare", "pdfinfo", "pdftotext"})
    ASSERT_FALSE(QStandardPaths::findExecutable(program, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"}).isEmpty())
        << program << " is missing: scripts/deps.sh installs cups, printer-driver-cups-pdf and poppler-utils";
  ASSERT_TRUE(QFileInfo::exists(kPpd)) << kPpd << " is missing: scripts/deps.sh installs printer-driver-cups-pdf";

  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QDir d(tmp.path());
  // The server's filters run as the user lp: they may pass through the test's folder (not read it).
  QFile::setPermissions(d.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                      QFileDevice::ExeGroup | QFileDevice::ExeOther);
  const QString etc = d.filePath("etc"), etcCups = d.filePath("etc-cups"), spool = d.filePath("spool"),
                wyniki = d.filePath("wyniki"), log = d.filePath("log"), gniazdo = d.filePath("cups.sock");
  for (const QString& f : {etc, etcCups, wyniki, log, d.filePath("cache"), d.filePath("state")})
    ASSERT_TRUE(QDir().mkpath(f)) << f.toStdString();
  // The spool as the server wants it: its own and the lp group's.
  bool ok = false;
  const QString zakladanie = uruchom("sh", {"-c", "install -d -m 0710 -g lp \"$0\" && install -d -m 1770 -g lp \"$0/tmp\" && "
                                              "chgrp lp \"$1\" && chmod 0770 \"$1\"",
                                              spool, d.filePath("cache")},
                                     QProcessEnvironment::systemEnvironment(), &ok);
  ASSERT_TRUE(ok) << "the spool cannot be made for the user lp: " << zakladanie.toStdString();

  ASSERT_EQ(wpisz(etc + "/cupsd.conf", QStringLiteral("Listen %1\n"
                                                      "LogLevel info\n"
                                                      "WebInterface No\n"
                                                      "Browsing No\n"
                                                      "DefaultAuthType None\n"
                                                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                                      "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                                           .arg(gniazdo)),
            QString());
  ASSERT_EQ(wpisz(etc + "/cups-files.conf",
                  QStringLiteral("ServerRoot %1\nRequestRoot %2\nTempDir %2/tmp\nCacheDir %3\nStateDir %4\n"
                                 "AccessLog %5/access_log\nErrorLog %5/error_log\nPageLog %5/page_log\n"
                                 "User lp\nGroup lp\nSystemGroup root\n")
                      .arg(etc, spool, d.filePath("cache"), d.filePath("state"), log)),
            QString());
  ASSERT_EQ(wpisz(etcCups + "/cups-pdf.conf", QStringLiteral("Out %1\nAnonDirName %1\nSpool %2/cups-pdf\nLog %3\nGrp root\n")
                                                  .arg(wyniki, d.filePath("cups-pdf-spool"), log)),
            QString());

  // The server in a mount namespace of its own, where /etc/cups is the test's folder; sh gives way
  // to cupsd itself, so that ending the process ends the server.
  testing_world::OwnedProcess cupsd;
  cupsd.p.setProcessChannelMode(QProcess::MergedChannels);
  cupsd.p.start("unshare", {"--mount", "--propagation", "private", "sh", "-c",
                            "mount --bind \"$0\" /etc/cups && exec cupsd -f -c \"$1\" -s \"$2\"", etcCups,
                            etc + "/cupsd.conf", etc + "/cups-files.conf"});
  ASSERT_TRUE(cupsd.p.waitForStarted()) << "unshare could not be started";
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("CUPS_SERVER", gniazdo);
  const bool dziala = testing_world::waitUntil([&] {
    if (cupsd.p.state() == QProcess::NotRunning) return true;
    bool on = false;
    return uruchom("lpstat", {"-r"}, env, &on).contains("scheduler is running") && on;
  }, 10000);
  ASSERT_TRUE(dziala && cupsd.p.state() == QProcess::Running)
      << "the private CUPS server did not start: " << QString::fromLocal8Bit(cupsd.p.readAll()).toStdString() << "\n"
      << czytaj(log + "/error_log").toStdString();

  // PDF to PostScript through cairo keeps the texts readable in the queue's PDF.
  const QString kolejka = uruchom("lpadmin", {"-p", kKolejka, "-E", "-v", "cups-pdf:/", "-P", kPpd,
                                              "-o", "pdftops-renderer-default=pdftocairo"},
                                  env, &ok);
  ASSERT_TRUE(ok) << "the PDF queue could not be set up: " << kolejka.toStdString();

  env.insert(kDziecko, "1");
  const auto dziecko = testing_world::runTestAsChild("SystemPrinter.CardsAndTheRegisterThroughAPrivateCupsQueue", env, 60000);
  EXPECT_TRUE(dziecko.passed()) << dziecko.output;

  // Three jobs: two cards, then the register. Each is done when its file stands and no job waits.
  const QRegularExpression nr("job_(\\d+)\\.pdf$");
  QStringList pliki;
  const bool gotowe = testing_world::waitUntil([&] {
    pliki = QDir(wyniki).entryList({"*.pdf"}, QDir::Files);
    bool on = false;
    return pliki.size() >= 3 && uruchom("lpstat", {"-o", kKolejka}, env, &on).trimmed().isEmpty() && on;
  }, 30000);
  ASSERT_TRUE(gotowe) << "the queue wrote " << pliki.join(", ").toStdString() << "\n"
                      << czytaj(log + "/error_log").toStdString();
  std::sort(pliki.begin(), pliki.end(), [&](const QString& a, const QString& b) {
    return nr.match(a).captured(1).toInt() < nr.match(b).captured(1).toInt();
  });
  ASSERT_EQ(pliki.size(), 3) << pliki.join(", ").toStdString();

  // The pages' texts without blanks: a box holds one character.
  auto bezOdstepow = [](QStringList l) {
    for (QString& s : l) s.remove(QRegularExpression("\\s"));
    return l;
  };
  const QStringList karta1 = bezOdstepow(strony(wyniki + "/" + pliki[0]));
  const QStringList karta2 = bezOdstepow(strony(wyniki + "/" + pliki[1]));
  const QStringList rejestr = strony(wyniki + "/" + pliki[2]);
  ASSERT_EQ(karta1.size(), 1) << "the first card: one form";
  EXPECT_TRUE(karta1[0].contains("KARTATRANSAKCJI") && karta1[0].contains("KARTA0")) << karta1[0].toStdString();
  ASSERT_EQ(karta2.size(), 2) << "the second card: its form, then the attachment";
  EXPECT_TRUE(karta2[0].contains("KARTATRANSAKCJI") && karta2[0].contains("KARTA1")) << karta2[0].toStdString();
  // The queue's conversion keeps the glyphs of some Polish letters ("ą", "ł") but not their text.
  EXPECT_TRUE(karta2[0].contains(QRegularExpression(QString::fromUtf8("UWAGIWZAŁ?Ą?CZENIU")))) << karta2[0].toStdString();
  EXPECT_FALSE(karta2[1].contains("KARTATRANSAKCJI")) << karta2[1].toStdString();
  EXPECT_TRUE(karta2[1].contains("[" + QString(127, 'U') + "][06:" + QString(255, 'W') + "]")) << karta2[1].toStdString();
  // The register: two pages of rows, two bands each, sheet by sheet.
  QStringList tytuly;
  for (const QString& s : rejestr) {
    const auto m = QRegularExpression("Rejestr transakcji strona (\\S+ z \\S+)").match(s);
    tytuly << (m.hasMatch() ? m.captured(1) : "?");
  }
  EXPECT_EQ(tytuly.join(" | ").toStdString(), "1A z 2B | 1B z 2B | 2A z 2B | 2B z 2B");
  ASSERT_EQ(rejestr.size(), 4);
  EXPECT_TRUE(rejestr[0].startsWith("1 2 3 4 5")) << rejestr[0].left(200).toStdString();
  EXPECT_TRUE(rejestr[2].startsWith("65 66 67 68 69 70 ")) << rejestr[2].left(200).toStdString();

  if (!qEnvironmentVariableIsEmpty("ZELT_SHOT_DIR"))
    for (int i = 0; i < 3; ++i)
      QFile::copy(wyniki + "/" + pliki[i], qEnvironmentVariable("ZELT_SHOT_DIR") + "/kolejka-" + QString::number(i + 1) + ".pdf");
  cupsd.stop();
  EXPECT_EQ(cupsd.p.exitStatus(), QProcess::NormalExit) << "the server ended when asked";
}

}  // namespace
