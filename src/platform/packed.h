#pragma once
// Field helpers for the packed binary records: length-prefixed strings of fixed capacity,
// 16- and 32-bit little-endian integers, 8-byte little-endian doubles and single bytes. Strings are cut to
// their capacity on write with the rest zero-filled; a length byte beyond the capacity is clamped
// on read.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace packed {

// Into a string that keeps its storage (a pass over many records allocates nothing per record).
inline void getStr(const char* rec, std::size_t offset, std::size_t capacity, std::string& into) {
  std::size_t len = static_cast<unsigned char>(rec[offset]);
  if (len > capacity) len = capacity;
  into.assign(rec + offset + 1, len);
}

inline std::string getStr(const char* rec, std::size_t offset, std::size_t capacity) {
  std::string s;
  getStr(rec, offset, capacity, s);
  return s;
}

inline void putStr(char* rec, std::size_t offset, std::size_t capacity, std::string_view s) {
  std::size_t len = s.size() < capacity ? s.size() : capacity;
  rec[offset] = static_cast<char>(static_cast<unsigned char>(len));
  std::memcpy(rec + offset + 1, s.data(), len);
  std::memset(rec + offset + 1 + len, 0, capacity - len);
}

inline std::int32_t getI32(const char* rec, std::size_t offset) {
  const auto* p = reinterpret_cast<const unsigned char*>(rec + offset);
  return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                   std::uint32_t(p[3]) << 24);
}

inline void putI32(char* rec, std::size_t offset, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) rec[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

inline double getF64(const char* rec, std::size_t offset) {
  std::uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= std::uint64_t(static_cast<unsigned char>(rec[offset + i])) << (8 * i);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

inline void putF64(char* rec, std::size_t offset, double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, 8);
  for (int i = 0; i < 8; ++i) rec[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

inline std::uint16_t getU16(const char* rec, std::size_t offset) {
  const auto* p = reinterpret_cast<const unsigned char*>(rec + offset);
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline void putU16(char* rec, std::size_t offset, std::uint16_t v) {
  rec[offset] = static_cast<char>(v & 0xFF);
  rec[offset + 1] = static_cast<char>(v >> 8);
}

inline std::uint8_t getU8(const char* rec, std::size_t offset) { return static_cast<unsigned char>(rec[offset]); }
inline void putU8(char* rec, std::size_t offset, std::uint8_t v) { rec[offset] = static_cast<char>(v); }

}  // namespace packed
