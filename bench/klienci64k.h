#pragma once
// The benchmarks' parties file: klienci.dat at its limit of 65,536 records (71.6 MB), every 17th
// deleted. Polish names of persons and firms, towns, streets, NIPs, PESELs and documents vary
// with a seeded generator, so the file is the same on every run. Texts are Windows-1250.
#include <QFile>
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/cp1250.h"
#include "settings/rekordpodmiotu.h"

namespace bench {

constexpr int kPodmiotow = 65536;

// Party k of the file (its number); every 17th is deleted.
inline zelt::TRekordPodmiotu podmiotLosowy(std::uint32_t k) {
  std::uint32_t x = 20261210u ^ (k * 2654435761u);
  auto los = [&x](std::uint32_t n) {
    x = x * 1664525u + 1013904223u;
    return (x >> 8) % n;
  };
  static const char* const nazwiska[] = {"Kowalski", "Nowak", "Wiśniewski", "Wójcik", "Kamiński", "Lewandowski",
                                         "Zieliński", "Szymański", "Woźniak", "Dąbrowski", "Kozłowski", "Jankowski"};
  static const char* const imiona[] = {"Jan", "Stanisław", "Andrzej", "Józef", "Tadeusz", "Jerzy", "Zbigniew",
                                       "Krzysztof", "Henryk", "Ryszard", "Kazimierz", "Marek"};
  static const char* const firmy[] = {"Przedsiębiorstwo Handlowo-Usługowe", "Zakład Produkcyjny", "Spółdzielnia Mleczarska",
                                      "Hurtownia Spożywcza", "Biuro Rachunkowe"};
  static const char* const miasta[] = {"Kraków", "Łódź", "Gdańsk", "Poznań", "Wrocław", "Lublin", "Białystok",
                                       "Częstochowa", "Bielsko-Biała", "Zielona Góra"};
  static const char* const ulice[] = {"Długa", "Źródlana", "Żeromskiego", "Piłsudskiego", "Świętokrzyska", "Łąkowa"};
  zelt::TRekordPodmiotu r;
  const bool osoba = los(4) != 0;
  r.TypPo = osoba ? 1 : 11 + static_cast<std::int32_t>(los(5));
  if (osoba)
    r.Nz = cp1250::fromUtf8(nazwiska[los(12)]) + " " + cp1250::fromUtf8(imiona[los(12)]);
  else
    r.Nz = cp1250::fromUtf8(firmy[los(5)]) + " \"" + cp1250::fromUtf8(nazwiska[los(12)]) + "\" Sp. z o.o.";
  r.Nz += " " + std::to_string(k);
  r.Obyw = r.AdrKr = "PL";
  r.AdrKod = std::to_string(10 + los(90)) + "-" + std::to_string(100 + los(900));
  r.AdrM = cp1250::fromUtf8(miasta[los(10)]);
  r.AdrUl = cp1250::fromUtf8(ulice[los(6)]) + " " + std::to_string(1 + los(200)) + "/" + std::to_string(1 + los(40));
  if (osoba) {
    r.NrPes = std::to_string(40000000000ull + los(1000000) * 10000ull + los(10000));
    r.RodzDokTo = 1;
    r.NrDokTo = "ABC" + std::to_string(100000 + los(900000));
  } else {
    r.NrReg = std::to_string(100000000 + los(800000000));
    r.NrReS = "KRS" + std::to_string(1000000 + los(8000000));
  }
  r.Nip = std::to_string(1000000000ull + k * 131071ull % 9000000000ull);
  r.rolaPo = static_cast<std::uint8_t>(los(4));
  if (k % 17 == 16) r.TypPo = zelt::TRekordPodmiotu::kDeleted;
  return r;
}

// Writes the file of `ile` records (the whole file at once).
inline void zbudujKlientow(const QString& plik, int ile = kPodmiotow) {
  std::string bajty;
  bajty.reserve(static_cast<std::size_t>(ile) * zelt::TRekordPodmiotu::kSize);
  for (int k = 0; k < ile; ++k) {
    const auto e = podmiotLosowy(static_cast<std::uint32_t>(k)).encode();
    bajty.append(e.data(), e.size());
  }
  QFile f(plik);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(bajty.data(), static_cast<qint64>(bajty.size())) != static_cast<qint64>(bajty.size()))
    throw std::runtime_error("cannot write the parties file");
}

}  // namespace bench
