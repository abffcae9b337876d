#pragma once
// Archives put together byte by byte from the zip format's tables, with no zip tool and none of
// the code under test: stored members, their central directory and the end record.
#include <cstdint>
#include <string>
#include <vector>

namespace handzip {

inline void le16(std::string& s, std::uint16_t v) {
  s += char(v & 0xFF);
  s += char(v >> 8);
}
inline void le32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

inline std::uint32_t crc32(const std::string& data) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : data) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

struct Member {
  std::string name, data;
  std::uint16_t flags = 0;
  std::uint16_t madeBy = 0x0314;  // Unix, 2.0
  std::string extra = {}, comment = {};
  std::uint32_t external = 0;  // on Unix: the file's type and mode in the high half
};

// A stored archive: local headers with their data, the central directory, the end record.
// `recordedEntries` other than 0xFFFE is written in place of the true count; every offset is
// counted from `base` bytes before the archive (the data a caller puts in front of it).
inline std::string archive(const std::vector<Member>& members, const std::string& comment = "",
                           std::uint16_t recordedEntries = 0xFFFE, std::uint32_t base = 0) {
  std::string out, cd;
  for (const auto& m : members) {
    const auto offset = static_cast<std::uint32_t>(base + out.size());
    const std::uint32_t crc = crc32(m.data);
    le32(out, 0x04034b50);
    le16(out, 10);
    le16(out, m.flags);
    le16(out, 0);  // stored
    le16(out, 0);
    le16(out, 0x5921);
    le32(out, crc);
    le32(out, static_cast<std::uint32_t>(m.data.size()));
    le32(out, static_cast<std::uint32_t>(m.data.size()));
    le16(out, static_cast<std::uint16_t>(m.name.size()));
    le16(out, 0);
    out += m.name + m.data;
    le32(cd, 0x02014b50);
    le16(cd, m.madeBy);
    le16(cd, 10);
    le16(cd, m.flags);
    le16(cd, 0);
    le16(cd, 0);
    le16(cd, 0x5921);
    le32(cd, crc);
    le32(cd, static_cast<std::uint32_t>(m.data.size()));
    le32(cd, static_cast<std::uint32_t>(m.data.size()));
    le16(cd, static_cast<std::uint16_t>(m.name.size()));
    le16(cd, static_cast<std::uint16_t>(m.extra.size()));
    le16(cd, static_cast<std::uint16_t>(m.comment.size()));
    le16(cd, 0);
    le16(cd, 0);
    le32(cd, m.external);
    le32(cd, offset);
    cd += m.name + m.extra + m.comment;
  }
  const auto cdOffset = static_cast<std::uint32_t>(base + out.size());
  out += cd;
  const std::uint16_t n = recordedEntries == 0xFFFE ? static_cast<std::uint16_t>(members.size()) : recordedEntries;
  le32(out, 0x06054b50);
  le16(out, 0);
  le16(out, 0);
  le16(out, n);
  le16(out, n);
  le32(out, static_cast<std::uint32_t>(cd.size()));
  le32(out, cdOffset);
  le16(out, static_cast<std::uint16_t>(comment.size()));
  out += comment;
  return out;
}

// The end record of an archive without members whose (empty) directory is at `offset`.
inline std::string emptyEnd(std::uint32_t offset, const std::string& comment = "") {
  std::string out;
  le32(out, 0x06054b50);
  le32(out, 0);
  le32(out, 0);
  le32(out, 0);
  le32(out, offset);
  le16(out, static_cast<std::uint16_t>(comment.size()));
  return out + comment;
}

}  // namespace handzip
