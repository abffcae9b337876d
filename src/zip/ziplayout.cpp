#include "zip/ziplayout.h"

#include <algorithm>
#include <cstring>

namespace ziplayout {

namespace {

bool signatureAt(const unsigned char* p, std::uint32_t sig) { return u32(p) == sig; }

bool readSig(const ReadAt& read, std::int64_t pos, std::uint32_t sig) {
  unsigned char b[4];
  return pos >= 0 && read(pos, b, 4) && u32(b) == sig;
}

}  // namespace

EndRecord findEndRecord(const ReadAt& read, std::int64_t size) {
  EndRecord none;
  if (size < static_cast<std::int64_t>(kEndSize)) return none;
  const std::int64_t tailLen = std::min<std::int64_t>(size, 65557);
  const std::int64_t base = size - tailLen;
  std::string tail(static_cast<std::size_t>(tailLen), '\0');
  if (!read(base, tail.data(), tail.size())) return none;
  const auto* t = reinterpret_cast<const unsigned char*>(tail.data());
  // The record at tail offset i if it can be an end record at all; `agreeing`: only one whose
  // recorded directory offset is where the directory lies.
  auto at = [&](std::int64_t i, bool agreeing, EndRecord& e) {
    const unsigned char* p = t + i;
    if (!signatureAt(p, kEndSig)) return false;
    const std::int64_t pos = base + i;
    e = EndRecord{};
    e.pos = pos;
    e.commentLen = u16(p + 20);
    if (pos + static_cast<std::int64_t>(kEndSize) + e.commentLen > size) return false;
    e.entries = u16(p + 10);
    e.cdSize = u32(p + 12);
    e.cdOffset = u32(p + 16);
    e.zip64 = e.entries == 0xFFFF || e.cdSize == 0xFFFFFFFF || e.cdOffset == 0xFFFFFFFF ||
              (pos >= 20 && readSig(read, pos - 20, 0x07064b50));
    if (e.zip64) return true;
    if (e.cdSize > pos) return false;
    if (e.entries > 0) {
      if (!readSig(read, pos - e.cdSize, kCentralSig)) return false;
    } else if (e.cdSize != 0) {
      return false;
    }
    return !agreeing || e.cdOffset == pos - e.cdSize;
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (std::int64_t i = tailLen - static_cast<std::int64_t>(kEndSize); i >= 0; --i) {
      EndRecord e;
      if (!at(i, pass == 0, e)) continue;
      // An empty archive's record behind another archive's: which one is meant cannot be told,
      // and writing to the empty one would drop the archive in front. Neither is taken.
      if (e.entries == 0 && !e.zip64) {
        for (std::int64_t j = i - 1; j >= 0; --j) {
          EndRecord other;
          if (at(j, false, other) && (other.entries > 0 || other.zip64)) return none;
        }
      }
      return e;
    }
  }
  return none;
}

std::string emptyEndRecord(std::uint32_t offset) {
  std::string r(kEndSize, '\0');
  auto* p = reinterpret_cast<unsigned char*>(r.data());
  put32(p, kEndSig);
  put32(p + 16, offset);
  return r;
}

int readCentral(const ReadAt& read, const EndRecord& end, std::vector<CentralEntry>& out) {
  out.clear();
  // The directory ends where the end record begins: a stated size beyond that is not read,
  // nor is room made for it.
  if (end.pos < 0 || end.cdSize > end.pos) return 11013;
  std::string cd(end.cdSize, '\0');
  if (!read(end.cdStart(), cd.data(), cd.size())) return 11013;
  const auto* c = reinterpret_cast<const unsigned char*>(cd.data());
  std::size_t at = 0;
  for (std::uint16_t i = 0; i < end.entries; ++i) {
    if (cd.size() - at < kCentralSize) return 11013;
    const unsigned char* h = c + at;
    if (!signatureAt(h, kCentralSig)) return 11015;
    CentralEntry e;
    e.flag = u16(h + 8);
    e.compressedSize = u32(h + 20);
    e.nameLen = u16(h + 28);
    e.extraLen = u16(h + 30);
    e.commentLen = u16(h + 32);
    e.localOffset = u32(h + 42);
    const std::size_t whole = kCentralSize + e.nameLen + e.extraLen + e.commentLen;
    if (cd.size() - at < whole) return 11042;
    e.header = cd.substr(at, whole);
    at += whole;
    out.push_back(std::move(e));
  }
  return 0;
}

std::int64_t archiveStart(const EndRecord& end, const std::vector<CentralEntry>& entries) {
  std::uint32_t first = end.cdOffset;
  for (const auto& e : entries) first = std::min(first, e.localOffset);
  return end.difference() + first;
}

int copyShifted(const ReadAt& read, std::int64_t size, std::int64_t newStart, const Write& write,
                const std::function<bool(std::int64_t)>& afterBlock) {
  const EndRecord end = findEndRecord(read, size);
  if (end.pos < 0) return 11043;
  if (end.zip64) return 11011;
  std::vector<CentralEntry> entries;
  if (int err = readCentral(read, end, entries)) return err;
  const std::int64_t start = archiveStart(end, entries);
  const std::int64_t cdStart = end.cdStart();
  if (start < 0 || start > cdStart) return 11013;
  // Offsets in the input count from start - first; in the output from newStart - first.
  const std::int64_t shift = newStart - start + end.difference();
  auto moved = [&](std::uint32_t offset, std::uint32_t& out) {
    const std::int64_t v = static_cast<std::int64_t>(offset) + shift;
    if (v < 0 || v > 0xFFFFFFFFll) return false;
    out = static_cast<std::uint32_t>(v);
    return true;
  };

  // What follows the local entries in the output: each central header with its offset moved,
  // the end record with the directory's, and the comment.
  std::string tail;
  for (auto& e : entries) {
    auto* h = reinterpret_cast<unsigned char*>(e.header.data());
    std::uint32_t offset = 0;
    if (!moved(e.localOffset, offset)) return 11011;
    put32(h + 42, offset);
    tail += e.header;
  }
  const std::size_t cdLen = tail.size();
  unsigned char rec[kEndSize];
  if (!read(end.pos, rec, kEndSize)) return 11043;
  std::uint32_t cdOffset = 0;
  if (!moved(end.cdOffset, cdOffset)) return 11011;
  put32(rec + 16, cdOffset);
  tail.append(reinterpret_cast<const char*>(rec), kEndSize);
  std::string comment(end.commentLen, '\0');
  if (!read(end.pos + static_cast<std::int64_t>(kEndSize), comment.data(), comment.size())) return 11044;
  tail += comment;

  // The copy must be an archive a reader finds: its own end record, where it is written, with
  // every header it announces (a directory larger than its headers, a signature in the comment
  // that would be taken instead). What goes in front of it is the caller's, read here as zeros.
  const std::int64_t outCd = newStart + (cdStart - start);
  const std::int64_t outSize = outCd + static_cast<std::int64_t>(tail.size());
  const ReadAt copy = [&](std::int64_t pos, void* to, std::size_t n) {
    if (pos < 0 || n > static_cast<std::size_t>(outSize) || pos > outSize - static_cast<std::int64_t>(n)) return false;
    auto* o = static_cast<char*>(to);
    while (n > 0) {
      std::size_t part;
      if (pos < newStart) {
        part = static_cast<std::size_t>(std::min<std::int64_t>(newStart - pos, static_cast<std::int64_t>(n)));
        std::memset(o, 0, part);
      } else if (pos < outCd) {
        part = static_cast<std::size_t>(std::min<std::int64_t>(outCd - pos, static_cast<std::int64_t>(n)));
        if (!read(start + (pos - newStart), o, part)) return false;
      } else {
        part = n;
        std::memcpy(o, tail.data() + (pos - outCd), part);
      }
      o += part;
      pos += static_cast<std::int64_t>(part);
      n -= part;
    }
    return true;
  };
  const EndRecord written = findEndRecord(copy, outSize);
  std::vector<CentralEntry> check;
  if (written.pos != outCd + static_cast<std::int64_t>(cdLen) || written.difference() != 0 ||
      readCentral(copy, written, check) != 0 || check.size() != entries.size())
    return 11030;

  // The local entries, block by block.
  std::string block(kBlock, '\0');
  std::int64_t done = 0;
  for (std::int64_t pos = start; pos < cdStart;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, cdStart - pos));
    if (!read(pos, block.data(), n)) return 11013;
    if (!write(block.data(), n)) return 11029;
    pos += static_cast<std::int64_t>(n);
    done += static_cast<std::int64_t>(n);
    if (afterBlock && !afterBlock(done)) return -1;
  }
  std::size_t at = 0;
  for (const auto& e : entries) {
    if (!write(tail.data() + at, kCentralSize)) return 11029;
    if (!write(tail.data() + at + kCentralSize, e.header.size() - kCentralSize)) return 11042;
    at += e.header.size();
  }
  if (!write(tail.data() + cdLen, kEndSize)) return 11030;
  if (!write(tail.data() + cdLen + kEndSize, comment.size())) return 11044;
  if (afterBlock && !afterBlock(done + static_cast<std::int64_t>(tail.size()))) return -1;
  return 0;
}

}  // namespace ziplayout
