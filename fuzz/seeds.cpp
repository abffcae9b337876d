// Writes the targets' seed inputs into <folder>/<target>/: report files of the program's own
// writers and files laid out byte by byte, each small, so that the fuzzers start from inputs
// that reach deep into the readers. The seeds kept in fuzz/seeds are its output.
#include <QDateTime>
#include <QDir>
#include <cstdio>
#include <string>

#include "importwspolne.h"
#include "karty.h"
#include "reports/eksport.h"
#include "reports/numeracjadzienna.h"
#include "settings/rekordpodmiotu.h"
#include "zip/ziplayout.h"

using namespace zeltfuzz;

namespace {

QString folder;

void seed(const char* target, const char* name, const std::string& bytes) {
  const QString dir = folder + QLatin1Char('/') + QLatin1String(target);
  QDir().mkpath(dir);
  zapiszPlik(dir + QLatin1Char('/') + QLatin1String(name), bytes);
}

std::string bezOstatniejLinii(const std::string& t, const char* od) { return t.substr(0, t.rfind(od)); }

void importy() {
  const auto& k = kontekstImportu();
  const QDateTime czas(QDate(2025, 1, 2), QTime(9, 5, 7));
  const auto przyklady = przykladoweKarty();
  const std::vector<zelt::TRekordTransakcji> karty(przyklady.begin(), przyklady.end());
  const std::string txt = zelt::plikEksportu(karty, k.listy, kNip, czas, false);
  const std::string xml = zelt::plikEksportu(karty, k.listy, kNip, czas, true);
  seed("import_txt", "eksport.txt", txt);
  seed("import_txt", "bez-stopki.txt", bezOstatniejLinii(txt, "TR"));
  seed("import_txt", "pola.txt",
       std::string("HE20250102090507") + kNip + "\r\nDA;01:17;02:  1;03:20250102;05:1;45:[06:uwaga]\nDA;1:17\r\nTR00000002\r\n");
  seed("import_xml", "eksport.xml", xml);
  seed("import_xml", "urwany.xml", bezOstatniejLinii(xml, "</kartaTr"));
  seed("import_xml", "karta.xml",
       std::string("<wykazTr NipIO=\"") + kNip +
           "\">\n<kartaTr Status=\"1\">\n<identTr>\n<nrEwT>17</nrEwT>\n<rejDat>20250102</rejDat>\n</identTr>\n"
           "<Uwagi>[06:&#177;]</Uwagi>\n</kartaTr>\n<kartaTr Status=\"0\"></kartaTr>\n</wykazTr>\n");
}

void klienci() {
  zelt::TRekordPodmiotu a;
  a.TypPo = 2;
  a.Nz = "Kowalski Jan";
  a.Obyw = "PL";
  a.AdrM = "Krakow";
  a.NrPes = "44051401359";
  a.RodzDokTo = 0;
  a.uwRodzDokTo = "legitymacja";
  a.rolaPo = zelt::TRekordPodmiotu::Dysponent;
  zelt::TRekordPodmiotu usuniety = a;
  usuniety.TypPo = zelt::TRekordPodmiotu::kDeleted;
  zelt::TRekordPodmiotu b;
  b.Nz = std::string(140, 'N');
  b.uwObyw = std::string(255, 'o');
  const auto bajty = [](const zelt::TRekordPodmiotu& r) {
    const auto b = r.encode();
    return std::string(b.data(), b.size());
  };
  seed("klienci", "jeden.dat", bajty(a));
  std::string trzy = bajty(a) + bajty(usuniety) + bajty(b) + std::string(100, '\x07');
  seed("klienci", "trzy-i-ogon.dat", trzy);
  std::string dlugosci = bajty(b);
  dlugosci[4] = '\xFF';  // a length beyond its room
  seed("klienci", "dlugosc.dat", dlugosci);
}

void numeracja() {
  zelt::NumeracjaDzienna::Tabela t{};
  t[0][0] = 3;
  t[11][5] = 98;
  t[30][11] = 99;
  t[14][6] = -5;
  const auto b = zelt::NumeracjaDzienna::koduj(t);
  const std::string tabela(b.data(), b.size());
  seed("numeracja", "np.dat", tabela);
  seed("numeracja", "dluzszy.dat", tabela + "reszta");
  seed("numeracja", "krotki.dat", tabela.substr(0, 1000));
  t[1][1] = 2147483647;  // once overflowed the send's next number
  const auto najwiekszy = zelt::NumeracjaDzienna::koduj(t);
  seed("numeracja", "najwiekszy.dat", std::string(najwiekszy.data(), najwiekszy.size()));
}

// Zip files laid out byte by byte: stored members, their central headers, the end record.
std::string le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

std::string archiwum(const std::vector<std::pair<std::string, std::string>>& pliki, const std::string& komentarz,
                     std::size_t przod) {
  std::string lokalne, centralny;
  for (const auto& [nazwa, tresc] : pliki) {
    const auto offset = static_cast<std::uint32_t>(lokalne.size());
    const std::string wspolne = le16(10) + le16(0) + le16(0) + le16(0) + le16(0) + le32(0) +
                                le32(static_cast<std::uint32_t>(tresc.size())) +
                                le32(static_cast<std::uint32_t>(tresc.size())) +
                                le16(static_cast<unsigned>(nazwa.size())) + le16(0);
    lokalne += le32(ziplayout::kLocalSig) + wspolne + nazwa + tresc;
    centralny += le32(ziplayout::kCentralSig) + le16(20) + wspolne + le16(0) + le16(0) + le16(0) + le32(0) +
                 le32(offset) + nazwa;
  }
  const auto n = static_cast<unsigned>(pliki.size());
  return std::string(przod, 'S') + lokalne + centralny + le32(ziplayout::kEndSig) + le16(0) + le16(0) + le16(n) +
         le16(n) + le32(static_cast<std::uint32_t>(centralny.size())) +
         le32(static_cast<std::uint32_t>(lokalne.size())) + le16(static_cast<unsigned>(komentarz.size())) +
         komentarz;
}

void zip() {
  const std::vector<std::pair<std::string, std::string>> dwa = {{"transak.dat", "abc"}, {"np2025.dat", "0123456789"}};
  seed("ziplayout", "dwa.zip", archiwum(dwa, "", 0));
  seed("ziplayout", "pusty.zip", archiwum({}, "", 0));
  seed("ziplayout", "komentarz.zip", archiwum(dwa, "kopia", 0));
  seed("ziplayout", "z-przodu.zip", archiwum(dwa, "", 64));
  // An end record of the Zip64 kind: its sizes are the largest, whatever the file holds.
  seed("ziplayout", "zip64.zip", std::string(64, '\0') + le32(ziplayout::kEndSig) + le16(0) + le16(0) + le16(1) +
                                     le16(1) + le32(0xFFFFFFFF) + le32(0xFFFFFFFF) + le16(0));
}

// The card target's registers: how many records, the one opened, which get its number, then
// edits (a record, a field by its place: texts in the record's order, then Status, the codes,
// the dates and the counts).
void karta() {
  using namespace std::string_literals;
  seed("karta", "karta-programu", "\x01\x00\x00"s);
  seed("karta", "dwie-karty", "\x02\x00\x00"s);
  seed("karta", "wymiana", "\x02\x02\x00"s);
  seed("karta", "kwota-rekordu-2", "\x01\x00\x00\x01\x07\x06"s + "555,00");
  seed("karta", "podmiot-bez-nazwy", "\x01\x00\x00\x01\x0b\x00\x01\x1c\x00"s);
  seed("karta", "wydrukowany", "\x01\x00\x00\x01\x0b\x00\x01\x1c\x00\x01\x37\x01"s);
  seed("karta", "usuniety-i-dolaczony", "\x03\x00\x0c\x02\x2e\x63"s);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
    return 2;
  }
  folder = QString::fromLocal8Bit(argv[1]);
  importy();
  klienci();
  numeracja();
  zip();
  karta();
  return 0;
}
