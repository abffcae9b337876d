// The world of bench/realstart.sh, written for the real program: its registry file with the
// administrator's password and the main window's place, and a data folder with a register of the
// given number of records and the 65,536-record parties file.
//   swiat_startu <registry file> <data folder> <records> <password>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/geometry.h"
#include "platform/registry.h"
#include "settings/hasla.h"
#include "klienci64k.h"
#include "rejestr100k.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <registry file> <data folder> <records> <password>\n", argv[0]);
    return 2;
  }
  try {
    const QString baza = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(baza);
    bench::zbudujRejestr(baza + "/transak.dat", std::atoi(argv[3]));
    bench::zbudujKlientow(baza + "/klienci.dat");
    platform::RegistryStore reg(QString::fromLocal8Bit(argv[1]));
    reg.writeBinary(platform::RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\IO\\", "Opcje",
                    zelt::hasla::zakoduj(zelt::hasla::Rola::Administrator, argv[4]));
    // The main window over most of the screen, so that its list is where the script looks.
    const std::string okno = platform::geometryKey("Glowne");
    for (auto [nazwa, v] : {std::pair{"Left", 0}, {"Top", 0}, {"Width", 1200}, {"Height", 900}})
      reg.writeInteger(platform::RegRoot::CurrentUser, okno, nazwa, v);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
