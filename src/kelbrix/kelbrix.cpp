// The party-import library's stand-in. It chooses no party of its own: it copies into the record
// the first 1093 bytes of the file named by ZELT_KELBRIX_PODMIOT when that file holds that many,
// and otherwise leaves the record as it came (as a user who cancels inside the library would).
// Plain C input and output only, so that the library unloads when the program lets it go.
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t kRekord = 1093;

int kopiuj(void* rekord) {
  const char* plik = std::getenv("ZELT_KELBRIX_PODMIOT");
  if (!plik || !rekord) return 0;
  std::FILE* f = std::fopen(plik, "rb");
  if (!f) return 0;
  unsigned char bufor[kRekord];
  const std::size_t przeczytane = std::fread(bufor, 1, kRekord, f);
  std::fclose(f);
  if (przeczytane != kRekord) return 0;
  unsigned char* cel = static_cast<unsigned char*>(rekord);
  for (std::size_t i = 0; i < kRekord; ++i) cel[i] = bufor[i];
  return 1;
}

}  // namespace

#ifdef KELBRIX_BEZ_EKSPORTU
// The same work under another name: the program finds no "importpodmiot".
extern "C" __attribute__((visibility("default"))) int importuj_inaczej(void* rekord) { return kopiuj(rekord); }
#else
extern "C" __attribute__((visibility("default"))) int importpodmiot(void* rekord) { return kopiuj(rekord); }
#endif
