#pragma once
// The exchange between the zip component and the zip library: the 216-byte parameter record,
// its 104-byte file pattern entries, the 16,520-byte record of libraries older than 1.51
// and the 540-byte callback record. Every record is a little-endian byte image at fixed offsets.
//
// The records were laid out for 32-bit addresses. No address is cut to 32 bits here: offset 0
// holds 1 for an attended run and 0 for an unattended one, offset 4 the component's token, and
// every other address field (and each exclusion item) holds a 1-based handle into a table that
// travels beside the record for the one call; 0 is "none". The library's export takes a pointer
// to a ZPackCall that carries the record and that table.
//
// Shared by the component and the library; plain C++ so the library needs nothing else.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zpack {

constexpr std::int32_t kComponentVersion = 160;
constexpr std::int32_t kYes = -1;
constexpr std::uint16_t kYesWord = 0xFFFF;

// The parameter record (libraries 1.51 and newer).
namespace parms {
constexpr std::size_t kSize = 216;
constexpr std::size_t Window = 0, Caller = 4, Version = 8, Callback = 12, Trace = 16, Password = 20,
                      Suffixes = 24, Encrypt = 28, Hidden = 32, Volume = 36, SeparateDirsOff = 44,
                      Verbose = 52, Fixed56 = 56, Level = 60, NoDirNames = 72, Recurse = 76, Fixed80 = 80,
                      ForceDos = 84, Move = 88, Update = 96, Freshen = 100, ZipTime = 108, SpecCount = 120,
                      ArchiveName = 124, TempDir = 128, Comment = 132, ArchiveOnly = 136, ResetArchive = 138,
                      Specs = 140, ExclCount = 148, Excl = 152, Seven = 212;
}  // namespace parms

// One file pattern entry.
namespace spec {
constexpr std::size_t kSize = 104;
constexpr std::size_t Text = 0, Password = 12, Encrypt = 16, Recurse = 20, RootDir = 36;
}  // namespace spec

// The record of libraries older than 1.51: offsets 0..127 as above, 7 at 128, then one text
// handle per pattern from 132 on.
namespace oldparms {
constexpr std::size_t kSize = 16520;
constexpr std::size_t Seven = 128, FirstSpec = 132;
constexpr std::size_t kMaxSpecs = (kSize - FirstSpec) / 4;  // 4,097
}  // namespace oldparms

// The callback record, filled by the library and partly written back by the component.
namespace cb {
constexpr std::size_t kSize = 540;
constexpr std::size_t Caller = 4, Action = 16, Error = 20, Size = 24, Text = 28;
constexpr std::size_t kTextSize = 512;
}  // namespace cb

// Callback actions.
enum Action : std::int32_t {
  ActProgressStart = 1,  // a file begins: name, size
  ActProgress = 2,       // bytes done since the last report
  ActProgressEnd = 3,    // the file is done
  ActMessage = 4,        // a message: error code (0 for information), text
  ActTotalFiles = 5,
  ActTotalSize = 6,      // before the first file: the bytes of all files
  ActNewName = 7,
  ActPassword = 8,
  ActCrcError = 9,
  ActOverwrite = 10,
  ActSkipped = 11,
  ActComment = 12,
};

// One entry of the per-call table: an address and the bytes behind it (a text's size counts
// its terminating zero).
struct Handle {
  const void* address;
  std::uint64_t size;
};

// The callback: one pointer to the 540-byte callback record; -1 asks the library to stop.
using Callback = std::int32_t (*)(unsigned char* record);

// What ZPackExec's one argument points at.
struct Call {
  const unsigned char* record;
  std::uint32_t recordSize;
  const Handle* table;
  std::uint32_t count;
};

using ExecFn = std::int32_t (*)(const Call*);
using VersionFn = std::int32_t (*)();

inline std::int32_t getI32(const unsigned char* p, std::size_t off) {
  return static_cast<std::int32_t>(std::uint32_t(p[off]) | std::uint32_t(p[off + 1]) << 8 |
                                   std::uint32_t(p[off + 2]) << 16 | std::uint32_t(p[off + 3]) << 24);
}
inline void putI32(unsigned char* p, std::size_t off, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[off + i] = static_cast<unsigned char>(u >> (8 * i));
}
inline std::uint16_t getU16(const unsigned char* p, std::size_t off) {
  return static_cast<std::uint16_t>(p[off] | p[off + 1] << 8);
}
inline void putU16(unsigned char* p, std::size_t off, std::uint16_t v) {
  p[off] = static_cast<unsigned char>(v);
  p[off + 1] = static_cast<unsigned char>(v >> 8);
}

// The zero-terminated text of the callback record, bounded by its field.
inline std::string callbackText(const unsigned char* rec) {
  const char* t = reinterpret_cast<const char*>(rec + cb::Text);
  return std::string(t, strnlen(t, cb::kTextSize));
}

// Writes a text into the callback record's field: at most 511 bytes and the zero, never a
// broken UTF-8 sequence at the cut.
inline void putCallbackText(unsigned char* rec, std::string_view text) {
  std::size_t n = text.size() < cb::kTextSize - 1 ? text.size() : cb::kTextSize - 1;
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(rec + cb::Text, text.data(), n);
  std::memset(rec + cb::Text + n, 0, cb::kTextSize - n);
}

}  // namespace zpack
