#pragma once
// The system's code-page converter (iconv), independent of our tables: the oracle for what a
// byte is in Windows-1250 and ISO-8859-2.
#include <iconv.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace tablice {

// None when the input holds a byte that the source code page does not define or the target
// cannot hold.
inline std::optional<std::string> iconvert(const char* from, const char* to, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv_open ") + from + " " + to);
  std::string src = in, out(in.size() * 4 + 8, '\0');
  char* ip = src.data();
  char* op = out.data();
  size_t il = src.size(), ol = out.size();
  const size_t rc = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return std::nullopt;
  out.resize(out.size() - ol);
  return out;
}

}  // namespace tablice
