#pragma once
// The byte layout of a zip archive where the component and the zip library must agree on it:
// finding the end record, and copying an archive behind other data (a self-extractor's stub
// and parameter block) with every offset moved by the data now in front of it.
//
// Plain C++ without Qt: the zip library and the self-extractor stub build it too.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ziplayout {

constexpr std::uint32_t kLocalSig = 0x04034b50, kCentralSig = 0x02014b50, kEndSig = 0x06054b50,
                        kSpanSig = 0x08074b50;
constexpr std::size_t kLocalSize = 30, kCentralSize = 46, kEndSize = 22;
constexpr std::size_t kBlock = 8192;  // the copy block

inline std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t u32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
inline void put16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
inline void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Reads n bytes at pos; false when they are not all there.
using ReadAt = std::function<bool(std::int64_t pos, void* out, std::size_t n)>;
// Writes the bytes; false on failure.
using Write = std::function<bool(const void* data, std::size_t n)>;

struct EndRecord {
  std::int64_t pos = -1;  // -1: none found
  std::uint16_t entries = 0, commentLen = 0;
  std::uint32_t cdSize = 0, cdOffset = 0;
  bool zip64 = false;
  // Where the central directory really starts, and how far that is from where the record says
  // (data in front of an archive whose offsets were not moved).
  std::int64_t cdStart() const { return pos - static_cast<std::int64_t>(cdSize); }
  std::int64_t difference() const { return cdStart() - static_cast<std::int64_t>(cdOffset); }
};

// The end record: one whose comment fits in the file and whose central directory starts with a
// central header where its size says. The last one whose recorded offset agrees wins (a
// signature inside a comment does not); failing that, the last one that fits. An empty
// archive's record with another archive's record in front of it is none: either could be meant.
EndRecord findEndRecord(const ReadAt& read, std::int64_t size);

// The 22 bytes of an end record for an archive without entries whose (empty) central directory
// starts at `offset`.
std::string emptyEndRecord(std::uint32_t offset);

// One central directory header as it lies in the archive, with where its local header is.
struct CentralEntry {
  std::string header;  // the 46 bytes, then name, extra field and comment
  std::uint16_t flag = 0, nameLen = 0, extraLen = 0, commentLen = 0;
  std::uint32_t compressedSize = 0, localOffset = 0;
  std::string name() const { return header.substr(kCentralSize, nameLen); }
};

// Reads the central directory that `end` describes, which must end where `end` begins (nothing is
// allocated for a size beyond that). 0, or the message number of the fault:
// 11013 short header, 11015 wrong signature, 11042 name, extra field or comment cut off.
int readCentral(const ReadAt& read, const EndRecord& end, std::vector<CentralEntry>& out);

// Copies the archive that `end` describes so that its first byte (its first local header, or its
// central directory when it has no entries) lands at `newStart` of the output: the local entries
// as they are, each central header with its local-header offset moved, the end record with the
// directory's offset moved, and the comment. Data in front of the input is left behind, whether
// or not its offsets counted it. `afterBlock` runs after each block of the copy with the bytes
// done; returning false stops it (result -1). 0 on success, else the message number: those of
// readCentral, 11011 an offset beyond 4 GiB, 11029 a header not written, 11030 the end record
// not written or the copy's own end record not the one a reader would find in it (then nothing
// is written), 11044 the comment not copied, 11043 no end record.
int copyShifted(const ReadAt& read, std::int64_t size, std::int64_t newStart, const Write& write,
                const std::function<bool(std::int64_t done)>& afterBlock = {});

// Where the archive that `end` describes really begins in its file (see copyShifted).
std::int64_t archiveStart(const EndRecord& end, const std::vector<CentralEntry>& entries);

}  // namespace ziplayout
