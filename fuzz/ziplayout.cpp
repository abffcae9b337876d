// The zip layout reader over any bytes as the archive file: finding the end record, reading the
// central directory it describes and copying the archive with moved offsets. Whatever the
// records claim, the reader allocates nothing beyond what the file's size allows: no single
// allocation larger than twice the file (a buffer grown to the file's size by appending may
// have doubled) plus a small constant, and not more than a few times the file live at once (the
// directory read, its entries' copies and their list each fit in the file). It asks for no read
// larger than the file. A copy that reports success can be read back: its end record is found
// and its directory holds the same entries under the same names.
#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "wspolne.h"
#include "zip/ziplayout.h"

using namespace zeltfuzz;

namespace {

// A small constant for the reader's fixed buffers (the copy block, the search of the file's last
// 64 KiB) and each entry's bookkeeping.
constexpr std::size_t kStala = 80 * 1024;
// How many times the file may be live at once: the directory as read, the entries' own copies of
// their headers, and the list of entries (its growth doubles it).
constexpr std::size_t kKrotnosc = 5;

// The allocations of the call being measured; counted in this thread only.
struct Pomiar {
  std::size_t plik = 0;
  std::int64_t zywe = 0, szczyt = 0;
  std::size_t najwieksza = 0;
};
thread_local Pomiar* pomiar = nullptr;

void poAlokacji(const volatile void*, std::size_t ile) {
  Pomiar* p = pomiar;
  if (!p) return;
  pomiar = nullptr;  // what is reported here allocates
  if (ile > 2 * p->plik + kStala)
    naruszenie(__FILE__, __LINE__, "allocation within the file's size",
               std::to_string(ile) + " bytes allocated for a file of " + std::to_string(p->plik));
  p->najwieksza = std::max(p->najwieksza, ile);
  p->zywe += static_cast<std::int64_t>(ile);
  p->szczyt = std::max(p->szczyt, p->zywe);
  pomiar = p;
}

void przedZwolnieniem(const volatile void* ptr) {
  if (Pomiar* p = pomiar) p->zywe -= static_cast<std::int64_t>(__sanitizer_get_allocated_size(ptr));
}

// Runs `fn` with its allocations measured against a file of `rozmiar` bytes.
template <class F>
void zmierzone(std::size_t rozmiar, const char* co, F&& fn) {
  Pomiar p;
  p.plik = rozmiar;
  pomiar = &p;
  fn();
  pomiar = nullptr;
  WYMAGANE(p.szczyt <= static_cast<std::int64_t>(kKrotnosc * rozmiar + kStala),
           std::string(co) + " had " + std::to_string(p.szczyt) + " bytes live for a file of " + std::to_string(rozmiar));
}

ziplayout::ReadAt czytanie(std::string_view plik) {
  return [plik](std::int64_t pos, void* out, std::size_t n) {
    WYMAGANE(n <= plik.size(), "a read of " + std::to_string(n) + " bytes from a file of " + std::to_string(plik.size()));
    if (pos < 0 || static_cast<std::uint64_t>(pos) > plik.size() || n > plik.size() - static_cast<std::size_t>(pos))
      return false;
    std::memcpy(out, plik.data() + pos, n);
    return true;
  };
}

std::vector<std::string> nazwy(const std::vector<ziplayout::CentralEntry>& e) {
  std::vector<std::string> n;
  for (const auto& x : e) n.push_back(x.name());
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  __sanitizer_install_malloc_and_free_hooks(poAlokacji, przedZwolnieniem);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  const std::string_view plik = bajty(dane, rozmiar);
  const auto read = czytanie(plik);
  const auto size = static_cast<std::int64_t>(rozmiar);

  ziplayout::EndRecord end;
  zmierzone(rozmiar, "findEndRecord", [&] { end = ziplayout::findEndRecord(read, size); });
  std::vector<ziplayout::CentralEntry> entries;
  int blad = -1;
  // Every record found, a Zip64 one too: its sizes come from the file all the same, and the
  // reader must not take them on trust whatever its callers refuse later.
  if (end.pos >= 0) zmierzone(rozmiar, "readCentral", [&] { blad = ziplayout::readCentral(read, end, entries); });

  std::string kopia;
  kopia.reserve(rozmiar + 1024);  // grown by the copy: no allocation of ours in its measure
  const std::int64_t przod = static_cast<std::int64_t>(rozmiar % 7) * 100;  // data the copy lands behind
  kopia.assign(static_cast<std::size_t>(przod), 'S');
  int wynik = 0;
  zmierzone(rozmiar, "copyShifted", [&] {
    wynik = ziplayout::copyShifted(read, size, przod, [&](const void* d, std::size_t n) {
      kopia.append(static_cast<const char*>(d), n);
      return true;
    });
  });
  if (wynik != 0) return 0;

  WYMAGANE(end.pos >= 0 && !end.zip64 && blad == 0, "a copy done from an archive the reader refuses");
  const auto readKopia = czytanie(kopia);
  const ziplayout::EndRecord endKopii = ziplayout::findEndRecord(readKopia, static_cast<std::int64_t>(kopia.size()));
  WYMAGANE(endKopii.pos >= 0 && endKopii.entries == end.entries, "the copy's end record is not found");
  std::vector<ziplayout::CentralEntry> entriesKopii;
  WYMAGANE(ziplayout::readCentral(readKopia, endKopii, entriesKopii) == 0 && nazwy(entriesKopii) == nazwy(entries),
           "the copy's directory differs from the archive's");
  return 0;
}
