#pragma once
// What the fuzz targets share: a property that does not hold aborts with its text (libFuzzer then
// keeps the input as a crash), the file's lines as the report readers see them, and a scratch
// folder in memory for the targets that go through files.
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace zeltfuzz {

[[noreturn]] inline void naruszenie(const char* plik, int linia, const char* warunek, const std::string& opis) {
  std::fprintf(stderr, "\n%s:%d: property violated: %s\n  %s\n", plik, linia, warunek, opis.c_str());
  std::abort();
}

// A property of the target: checked in every build of the target, never compiled out.
#define WYMAGANE(warunek, opis)                                                        \
  do {                                                                                 \
    if (!(warunek)) ::zeltfuzz::naruszenie(__FILE__, __LINE__, #warunek, (opis));      \
  } while (0)

inline std::string_view bajty(const std::uint8_t* dane, std::size_t rozmiar) {
  return {reinterpret_cast<const char*>(dane), rozmiar};
}

// Lines split at LF, one CR before it dropped; a last line without LF counts when it is not
// empty. Kept apart from the readers' own splitting: the targets judge the readers by it.
inline std::vector<std::string_view> linie(std::string_view plik) {
  std::vector<std::string_view> wynik;
  while (!plik.empty()) {
    const std::size_t lf = plik.find('\n');
    std::string_view l = plik.substr(0, lf);
    plik = lf == std::string_view::npos ? std::string_view() : plik.substr(lf + 1);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    wynik.push_back(l);
  }
  return wynik;
}

inline bool zaczynaSie(std::string_view t, std::string_view od) { return t.substr(0, od.size()) == od; }

// A folder of this process for the targets' files: in memory (/dev/shm) where there is one, so
// that millions of runs neither wear the disk nor wait for it. Removed at exit, and by the next
// start when a run was stopped on a finding.
const QString& katalogRoboczy();

// The bytes of a file (empty when it is missing), and a file written with exactly these bytes.
std::string czytajPlik(const QString& sciezka);
void zapiszPlik(const QString& sciezka, std::string_view tresc);
bool istnieje(const QString& sciezka);

}  // namespace zeltfuzz
