#include "grid/kstrings.h"

namespace kgrid::KStrings {

namespace {

bool below33(char c) { return static_cast<unsigned char>(c) <= 32; }

bool needsQuotes(std::string_view line) {
  for (char c : line)
    if (below33(c) || c == '"' || c == ',') return true;
  return false;
}

void appendLine(std::string& out, std::string_view line) {
  if (!needsQuotes(line)) {
    out.append(line);
    return;
  }
  out.push_back('"');
  // The runs between double quotes are appended whole; each quote is doubled.
  for (std::size_t q; (q = line.find('"')) != std::string_view::npos; line.remove_prefix(q + 1)) {
    out.append(line.substr(0, q + 1));
    out.push_back('"');
  }
  out.append(line);
  out.push_back('"');
}

// Bytes 1..32; the text has already been cut at its first NUL.
void skipBlanks(std::string_view s, std::size_t& i) {
  while (i < s.size() && below33(s[i])) ++i;
}

}  // namespace

bool IsPlainText(std::string_view text) { return !needsQuotes(text); }

std::string LinesToCommaText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendLinesAsCommaText(out, text);
  return out;
}

void AppendLinesAsCommaText(std::string& out, std::string_view text) {
  while (!text.empty()) {
    std::size_t end = text.find('\r');
    if (end == std::string_view::npos) end = text.find('\n');
    appendLine(out, text.substr(0, end));
    if (end == std::string_view::npos) break;
    out.push_back(',');
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
}

std::string CommaTextToLines(std::string_view text) {
  // The text ends at a NUL byte, as it always did in zero-terminated form.
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  if (IsPlainText(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  skipBlanks(text, i);
  while (i < text.size()) {
    if (text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            out.push_back('"');
            i += 2;
            continue;
          }
          ++i;  // closing quote
          break;
        }
        out.push_back(text[i++]);
      }
    } else {
      while (i < text.size() && !below33(text[i]) && text[i] != ',') out.push_back(text[i++]);
    }
    skipBlanks(text, i);
    if (i < text.size() && text[i] == ',') {
      out.append("\r\n");
      ++i;
      skipBlanks(text, i);
    }
  }
  return out;
}

}  // namespace kgrid::KStrings
