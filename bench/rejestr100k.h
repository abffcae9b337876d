#pragma once
// The benchmarks' register: cards of one to three records with typical fields, every 20th
// record deleted. Names, amounts, streets and identity numbers vary with a seeded generator, so
// the file compresses as a real register does and is the same on every run. Texts are
// Windows-1250, as the register holds them.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <vector>
#include <stdexcept>
#include <string>

#include "platform/cp1250.h"
#include "register/rejestr.h"

namespace bench {

inline void zbudujRejestr(const QString& plik, int rekordy) {
  zelt::PlikRejestru f(plik);
  if (!f.otworzDoZapisu()) throw std::runtime_error("cannot create the register");
  std::uint32_t x = 20261210;
  auto los = [&x](std::uint32_t n) {
    x = x * 1664525u + 1013904223u;
    return (x >> 8) % n;
  };
  static const char* const miasta[] = {"Kraków", "Łódź", "Gdańsk", "Poznań", "Wrocław", "Lublin", "Białystok"};
  static const char* const nazwiska[] = {"Kowalski", "Nowak", "Wiśniewski", "Wójcik", "Kamiński", "Lewandowski"};
  zelt::TRekordTransakcji r;
  std::vector<zelt::TRekordTransakcji> blok;  // appended a thousand at a time: one sync each
  r.kRodzTr = "0607";
  r.tJ = "PLN";
  r.tM = "Warszawa";
  r.zTypPo = 1;
  r.zObyw = r.zAdrKr = "PL";
  r.zRodzDokTo = 1;
  r.bTypPo = 11;
  r.bNz = cp1250::fromUtf8("Przedsiębiorstwo Handlowe S.A.");
  r.Wprow = "Jan;Kowalski;Kierownik";
  for (int i = 0; i < rekordy; ++i) {
    r.nrEwT = "2026" + std::to_string(i / 2);
    r.nrRejDat = std::to_string(i % 1000);
    r.rejDat = r.tDat = 46000 + i / 1000;
    r.tKw = std::to_string(100 + los(900000)) + "," + std::to_string(10 + los(90));
    r.zNz = cp1250::fromUtf8(nazwiska[los(6)]) + " Jan " + std::to_string(i);
    r.zAdrM = cp1250::fromUtf8(miasta[los(7)]);
    r.zAdrUl = cp1250::fromUtf8("Długa ") + std::to_string(1 + los(200)) + "/" + std::to_string(1 + los(40));
    r.zNrPes = std::to_string(40000000000ull + los(1000000) * 10000ull + los(10000));
    r.zNrDokTo = "ABC" + std::to_string(100000 + los(900000));
    r.nrRachZ = "PL611090101400000" + std::to_string(10000000000ull + los(1000000) * 10000ull + los(10000));
    r.ilWydrukow = i % 3 == 0;
    r.Status = i % 20 == 19 ? 99 : 1;
    blok.push_back(r);
    if (blok.size() == 1000 || i + 1 == rekordy) {
      f.dopiszWszystkie(blok);
      blok.clear();
    }
  }
}

// A data folder as the archive finds it: the register of `rekordy` records and this year's daily
// counter file.
inline void zbudujFolderDanych(const QString& baza, int rekordy) {
  QDir().mkpath(baza);
  zbudujRejestr(baza + "/transak.dat", rekordy);
  QFile licznik(baza + "/np2026.dat");
  if (!licznik.open(QIODevice::WriteOnly)) throw std::runtime_error("counter file");
  licznik.write(QByteArray(1488, '\0'));
}

}  // namespace bench
