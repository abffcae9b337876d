#pragma once
// Filling the parameter record for one call of the zip library: the record's bytes, its file
// pattern entries and the table of handles behind every address field. The table owns
// the texts and arrays for the duration of the call.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "zip/zpackabi.h"

namespace zip {

// The component's options, bits 0-14 in this order.
enum AddOption : std::uint32_t {
  AddDirNames = 1u << 0,
  AddRecurseDirs = 1u << 1,
  AddMove = 1u << 2,
  AddFreshen = 1u << 3,
  AddUpdate = 1u << 4,
  AddZipTime = 1u << 5,
  AddForceDOS = 1u << 6,
  AddHiddenFiles = 1u << 7,
  AddArchiveOnly = 1u << 8,
  AddResetArchive = 1u << 9,
  AddEncrypt = 1u << 10,
  AddSeparateDirs = 1u << 11,
  AddVolume = 1u << 12,
  AddDiskSpan = 1u << 13,
  AddDiskSpanErase = 1u << 14,
};

// The already-compressed suffixes stored without compression, bits in this order.
enum StoreSuffix : std::uint32_t {
  assGIF = 1u << 0, assPNG = 1u << 1, assZ = 1u << 2, assZIP = 1u << 3, assZOO = 1u << 4, assARC = 1u << 5,
  assLZH = 1u << 6, assARJ = 1u << 7, assTAZ = 1u << 8, assTGZ = 1u << 9, assLHA = 1u << 10, assEXE = 1u << 11,
};
constexpr std::uint32_t kDefaultStoreSuffixes = 0x7FF;  // all but assEXE

// ".gif:.png:..." for the members of the set, in the set's order.
std::string storeSuffixText(std::uint32_t suffixes);

// One file pattern. A text given by a caller is parsed: a first ">" forces recursion, a
// first "|" forbids it, and a "<" splits off the entry's password. A structured one is taken as
// it stands, whatever characters its path holds.
struct FileSpec {
  std::string text;      // the whole text as given (UTF-8), for the older record
  std::string path;      // the file pattern (UTF-8)
  int recurse = -1;      // -1 as the options say, 0 no, 1 yes
  bool hasPassword = false;
  std::string password;  // Windows-1250
  static FileSpec parse(const std::string& utf8);
  static FileSpec plain(const std::string& utf8);
};

class HandleTable {
 public:
  // Each returns the 1-based handle of what it now keeps.
  std::int32_t text(const std::string& s);  // with its terminating zero
  std::int32_t bytes(std::vector<unsigned char> b);
  std::int32_t address(const void* p);  // not owned (the callback)
  // Only valid until the next addition.
  const std::vector<zpack::Handle>& entries() const { return entries_; }
  unsigned char* data(std::int32_t h);
  std::uint32_t count() const { return static_cast<std::uint32_t>(entries_.size()); }

 private:
  std::deque<std::vector<unsigned char>> owned_;
  std::vector<zpack::Handle> entries_;
};

// Everything that goes into the record, in the record's own encodings.
struct ZipSwitches {
  bool attended = true;  // offset 0: 1, or 0 when unattended
  std::int32_t caller = 0;
  const void* callback = nullptr;
  bool trace = false, verbose = false;
  std::string password;      // Windows-1250
  std::string suffixes;      // the store suffix text
  std::uint32_t options = 0;
  std::int32_t level = 9;
  std::string archiveName;   // UTF-8
  std::string tempDir;       // UTF-8
  std::string comment;       // Windows-1250
  std::string rootDir;       // UTF-8
  std::vector<std::string> exclusions;  // UTF-8
};

struct BuiltRecord {
  std::vector<unsigned char> record;
  HandleTable table;
  bool ok = true;  // false: too many specifications for the older record
};

// The record for a library of the given version (151 and above: the 216-byte layout).
BuiltRecord buildRecord(const ZipSwitches& sw, const std::vector<FileSpec>& specs, std::int32_t libraryVersion);

}  // namespace zip
