#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cctype>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/wholefile.h"

namespace platform {

struct RegistryStore::Key {
  std::string name;
  std::vector<std::pair<std::string, RegValue>> values;  // kept in creation order
  std::vector<Key> subkeys;
};

struct RegistryStore::Tree {
  Key roots[2];
  Key& root(RegRoot r) { return roots[r == RegRoot::CurrentUser ? 0 : 1]; }
  const Key& root(RegRoot r) const { return roots[r == RegRoot::CurrentUser ? 0 : 1]; }
};

namespace {

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::vector<std::string_view> splitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i < path.size()) {
    size_t j = path.find('\\', i);
    if (j == std::string_view::npos) j = path.size();
    if (j > i) parts.push_back(path.substr(i, j - i));
    i = j + 1;
  }
  return parts;
}

template <class K>
K* findChild(K& key, std::string_view name) {
  for (auto& k : key.subkeys)
    if (sameName(k.name, name)) return &k;
  return nullptr;
}

// Text form of bytes: printable ASCII but '%' and blank as they are, the rest as %XX.
std::string escape(std::string_view s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (c > 0x20 && c < 0x7F && c != '%') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out.empty() ? std::string("%") : out;  // a lone % is the empty text
}

bool unescape(std::string_view s, std::string& out) {
  out.clear();
  if (s == "%") return true;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out.push_back(s[i]);
      continue;
    }
    if (i + 2 >= s.size()) return false;
    auto hv = [](char c) -> int {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      return -1;
    };
    int h = hv(s[i + 1]), l = hv(s[i + 2]);
    if (h < 0 || l < 0) return false;
    out.push_back(static_cast<char>(h * 16 + l));
    i += 2;
  }
  return true;
}

}  // namespace

// Serialisation lives outside the anonymous namespace because Key is a private member type.
static void serialise(std::string& out, const std::string& path, const RegistryStore::Key& key,
                      bool isRoot) {
  if (!isRoot || !key.values.empty()) {
    out += "K " + escape(path) + "\n";
  }
  for (const auto& [name, v] : key.values) {
    switch (v.type) {
      case RegValue::Type::String:
        out += (v.unicode ? "U " : "S ") + escape(name) + " " + escape(v.bytes) + "\n";
        break;
      case RegValue::Type::Integer: out += "I " + escape(name) + " " + std::to_string(v.integer) + "\n"; break;
      case RegValue::Type::Binary: out += "B " + escape(name) + " " + escape(v.bytes) + "\n"; break;
    }
  }
  for (const auto& sub : key.subkeys) serialise(out, path + "\\" + sub.name, sub, false);
}

RegistryStore::RegistryStore(QString filePath) : path_(std::move(filePath)), tree_(std::make_unique<Tree>()) {
  tree_->roots[0].name = "HKEY_CURRENT_USER";
  tree_->roots[1].name = "HKEY_CLASSES_ROOT";
  if (!path_.isEmpty()) load();
}

RegistryStore::~RegistryStore() = default;

QString RegistryStore::defaultLocation() {
  QByteArray env = qgetenv("ZELT_REGISTRY");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (dir.isEmpty()) dir = QDir::homePath() + "/.config";
  return dir + "/tarvo-zelt/registry.txt";
}

namespace {
template <class K>
K* walk(K& root, std::string_view path) {
  K* k = &root;
  for (auto part : splitPath(path)) {
    k = findChild(*k, part);
    if (!k) return nullptr;
  }
  return k;
}
}  // namespace

bool RegistryStore::keyExists(RegRoot root, std::string_view path) const {
  return walk(tree_->root(root), path) != nullptr;
}

std::optional<RegValue> RegistryStore::value(RegRoot root, std::string_view path, std::string_view name) const {
  const Key* k = walk(tree_->root(root), path);
  if (!k) return std::nullopt;
  for (const auto& [n, v] : k->values)
    if (sameName(n, name)) return v;
  return std::nullopt;
}

bool RegistryStore::valueExists(RegRoot root, std::string_view path, std::string_view name) const {
  return value(root, path, name).has_value();
}

std::optional<std::string> RegistryStore::readString(RegRoot root, std::string_view path, std::string_view name) const {
  auto v = value(root, path, name);
  if (!v || v->type != RegValue::Type::String) return std::nullopt;
  if (v->unicode) return cp1250::fromUnicode(QString::fromUtf8(v->bytes.data(), qsizetype(v->bytes.size())));
  return v->bytes;
}

std::optional<QString> RegistryStore::readText(RegRoot root, std::string_view path, std::string_view name) const {
  auto v = value(root, path, name);
  if (!v || v->type != RegValue::Type::String) return std::nullopt;
  return v->unicode ? QString::fromUtf8(v->bytes.data(), qsizetype(v->bytes.size())) : cp1250::toQ(v->bytes);
}

std::optional<std::int32_t> RegistryStore::readInteger(RegRoot root, std::string_view path, std::string_view name) const {
  auto v = value(root, path, name);
  if (!v || v->type != RegValue::Type::Integer) return std::nullopt;
  return v->integer;
}

std::optional<std::string> RegistryStore::readBinary(RegRoot root, std::string_view path, std::string_view name) const {
  auto v = value(root, path, name);
  if (!v || v->type != RegValue::Type::Binary) return std::nullopt;
  return v->bytes;
}

std::vector<std::string> RegistryStore::subkeyNames(RegRoot root, std::string_view path) const {
  std::vector<std::string> out;
  if (const Key* k = walk(tree_->root(root), path))
    for (const auto& s : k->subkeys) out.push_back(s.name);
  return out;
}

std::vector<std::string> RegistryStore::valueNames(RegRoot root, std::string_view path) const {
  std::vector<std::string> out;
  if (const Key* k = walk(tree_->root(root), path))
    for (const auto& v : k->values) out.push_back(v.first);
  return out;
}

namespace {
template <class K>
K& walkCreate(K& root, std::string_view path) {
  const auto parts = splitPath(path);
  if (parts.size() > RegistryStore::kMaxDepth)
    throw IoError("Klucz rejestru zagnieżdżony głębiej niż " + std::to_string(RegistryStore::kMaxDepth) +
                  " poziomy: " + std::string(path.substr(0, 200)));
  K* k = &root;
  for (auto part : parts) {
    K* c = findChild(*k, part);
    if (!c) {
      k->subkeys.push_back(K{std::string(part), {}, {}});
      c = &k->subkeys.back();
    }
    k = c;
  }
  return *k;
}

template <class K>
void setValue(K& key, std::string_view name, RegValue v) {
  for (auto& [n, old] : key.values)
    if (sameName(n, name)) {
      old = std::move(v);
      return;
    }
  key.values.emplace_back(std::string(name), std::move(v));
}
}  // namespace

// Runs one change: keeps a copy of the tree, applies the change, persists, and puts the copy back
// when the file cannot be written.
#define REG_CHANGE(body)                                  \
  do {                                                    \
    std::unique_ptr<Tree> before;                         \
    if (batchDepth_ == 0) before = std::make_unique<Tree>(*tree_); \
    body;                                                 \
    if (batchDepth_ > 0) {                                \
      batchDirty_ = true;                                 \
    } else {                                              \
      try {                                               \
        persist();                                        \
      } catch (...) {                                     \
        tree_ = std::move(before);                        \
        throw;                                            \
      }                                                   \
    }                                                     \
  } while (0)

void RegistryStore::createKey(RegRoot root, std::string_view path) {
  if (keyExists(root, path)) return;
  REG_CHANGE(walkCreate(tree_->root(root), path));
}

void RegistryStore::writeString(RegRoot root, std::string_view path, std::string_view name, std::string_view value) {
  RegValue v{RegValue::Type::String, std::string(value), 0};
  REG_CHANGE(setValue(walkCreate(tree_->root(root), path), name, v));
}

void RegistryStore::writeText(RegRoot root, std::string_view path, std::string_view name, const QString& value) {
  RegValue v{RegValue::Type::String, cp1250::fromUnicode(value), 0};
  if (cp1250::toQ(v.bytes) != value) {
    const QByteArray utf8 = value.toUtf8();
    v.bytes.assign(utf8.constData(), size_t(utf8.size()));
    v.unicode = true;
  }
  REG_CHANGE(setValue(walkCreate(tree_->root(root), path), name, v));
}

void RegistryStore::writeInteger(RegRoot root, std::string_view path, std::string_view name, std::int32_t value) {
  RegValue v{RegValue::Type::Integer, {}, value};
  REG_CHANGE(setValue(walkCreate(tree_->root(root), path), name, v));
}

void RegistryStore::writeBinary(RegRoot root, std::string_view path, std::string_view name, std::string_view value) {
  RegValue v{RegValue::Type::Binary, std::string(value), 0};
  REG_CHANGE(setValue(walkCreate(tree_->root(root), path), name, v));
}

bool RegistryStore::deleteValue(RegRoot root, std::string_view path, std::string_view name) {
  if (!valueExists(root, path, name)) return false;
  REG_CHANGE({
    Key* k = walk(tree_->root(root), path);
    auto& vals = k->values;
    vals.erase(std::remove_if(vals.begin(), vals.end(), [&](const auto& p) { return sameName(p.first, name); }),
               vals.end());
  });
  return true;
}

bool RegistryStore::deleteKey(RegRoot root, std::string_view path) {
  auto parts = splitPath(path);
  if (parts.empty() || !keyExists(root, path)) return false;
  REG_CHANGE({
    Key* parent = &tree_->root(root);
    for (size_t i = 0; i + 1 < parts.size(); ++i) parent = findChild(*parent, parts[i]);
    auto& subs = parent->subkeys;
    subs.erase(std::remove_if(subs.begin(), subs.end(), [&](const Key& k) { return sameName(k.name, parts.back()); }),
               subs.end());
  });
  return true;
}

#undef REG_CHANGE

void RegistryStore::beginBatch() {
  if (batchDepth_++ == 0) {
    snapshot_ = std::make_unique<Tree>(*tree_);
    batchDirty_ = false;
    batchFailed_ = false;
  }
}

void RegistryStore::commitBatch() {
  if (batchDepth_ == 0) return;
  if (--batchDepth_ > 0) return;
  auto before = std::move(snapshot_);
  if (batchFailed_) {
    // A part of this batch was abandoned: none of it may land, and the caller must know.
    batchFailed_ = false;
    tree_ = std::move(before);
    throw IoError("Zmiany w rejestrze wycofane: część zapisu nie powiodła się");
  }
  if (!batchDirty_) return;
  try {
    persist();
  } catch (...) {
    tree_ = std::move(before);
    throw;
  }
}

void RegistryStore::abandonBatch() {
  if (batchDepth_ == 0) return;
  // An inner batch that fails abandons the whole outermost batch: the outer one stays open (its
  // later writes stay in it), and its end puts the tree back.
  if (--batchDepth_ > 0) {
    batchFailed_ = true;
    return;
  }
  if (snapshot_) tree_ = std::move(snapshot_);
  batchDirty_ = false;
  batchFailed_ = false;
}

static std::string serialiseTree(const RegistryStore::Key& root, const std::string& rootName) {
  std::string out;
  serialise(out, rootName, root, true);
  return out;
}

// The store holds the sign-in passwords, scrambled only: its folder and file are readable by
// their user alone.
static void writeStore(const QString& path, const std::string& bytes) {
  QString why;
  if (!makePrivatePath(QFileInfo(path).absolutePath(), &why))
    throw IoError("Błąd zapisu pliku " + path.toStdString() + ": " + why.toStdString());
  writeWholeFile(path, bytes, WriteMode::Replace, FileAccess::OwnerOnly);
}

// A whole store file: the header, the keys, and the end line that tells a whole file from one cut
// short.
static std::string storeFile(const std::string& keys) {
  std::string text(RegistryStore::kHeader);
  text += '\n';
  text += keys;
  text += RegistryStore::kEndLine;
  text += '\n';
  return text;
}

void RegistryStore::persist() const {
  if (path_.isEmpty()) return;
  writeStore(path_, storeFile(serialiseTree(tree_->roots[0], "HKCU") + serialiseTree(tree_->roots[1], "HKCR")));
}

void RegistryStore::saveKey(RegRoot root, std::string_view path, const QString& file) const {
  // The key's whole path with the names as the tree keeps them, so that the file, loaded as a
  // store, puts the key back where it was.
  std::string full = root == RegRoot::CurrentUser ? "HKCU" : "HKCR";
  const Key* k = &tree_->root(root);
  for (auto part : splitPath(path)) {
    k = findChild(*k, part);
    if (!k) throw IoError("Brak klucza rejestru " + std::string(path));
    full += "\\" + k->name;
  }
  std::string keys;
  serialise(keys, full, *k, false);
  writeStore(file, storeFile(keys));
}

void RegistryStore::load() {
  QFile f(path_);
  if (!f.exists()) return;
  if (!f.open(QIODevice::ReadOnly))
    throw IoError("Błąd odczytu pliku " + path_.toStdString() + ": " + f.errorString().toStdString());
  const QByteArray all = f.readAll();
  std::string_view text(all.constData(), static_cast<size_t>(all.size()));
  int lineNo = 0;
  auto damaged = [&](const std::string& why) {
    throw IoError("Uszkodzony plik rejestru " + path_.toStdString() + ": " + why);
  };
  auto bad = [&]() { damaged("wiersz " + std::to_string(lineNo)); };
  // A file cut short at any length must never load as a smaller store: the current format ends
  // with its end line. A file written before the end line existed has the older header; it loads,
  // and the next write gives it the end line.
  const size_t headerEnd = text.find('\n');
  const std::string_view header = text.substr(0, headerEnd);
  if (header == kHeader) {
    const std::string end = "\n" + std::string(kEndLine) + "\n";
    if (text.size() < end.size() || text.substr(text.size() - end.size()) != end) damaged("plik jest niepełny");
    text.remove_suffix(end.size() - 1);
  } else if (header == kOlderHeader) {
    if (text.back() != '\n') damaged("plik jest niepełny");
  } else {
    damaged(text.empty() ? "plik jest pusty" : "wiersz 1");
  }
  Key* current = nullptr;
  size_t pos = headerEnd + 1;
  lineNo = 1;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (line.empty()) continue;
    if (line.size() < 3 || line[1] != ' ') bad();
    char tag = line[0];
    std::string_view rest = line.substr(2);
    if (tag == 'K') {
      std::string p;
      if (!unescape(rest, p)) bad();
      auto parts = splitPath(p);
      if (parts.empty()) bad();
      // A deeper key than the program ever writes is damage (or an attack on the tree's walk).
      if (parts.size() - 1 > kMaxDepth)
        damaged("wiersz " + std::to_string(lineNo) + ": klucz zagnieżdżony głębiej niż " + std::to_string(kMaxDepth) +
                " poziomy");
      RegRoot r;
      if (sameName(parts[0], "HKCU")) r = RegRoot::CurrentUser;
      else if (sameName(parts[0], "HKCR")) r = RegRoot::ClassesRoot;
      else bad();
      std::string sub = p.substr(p.find('\\') == std::string::npos ? p.size() : p.find('\\'));
      current = &walkCreate(tree_->root(r), sub);
      continue;
    }
    if (!current) bad();
    size_t sp = rest.find(' ');
    if (sp == std::string_view::npos) bad();
    std::string name, val;
    if (!unescape(rest.substr(0, sp), name)) bad();
    std::string_view raw = rest.substr(sp + 1);
    RegValue v;
    if (tag == 'S' || tag == 'U' || tag == 'B') {
      if (!unescape(raw, val)) bad();
      v.type = tag == 'B' ? RegValue::Type::Binary : RegValue::Type::String;
      v.unicode = tag == 'U';
      v.bytes = std::move(val);
    } else if (tag == 'I') {
      try {
        v.type = RegValue::Type::Integer;
        v.integer = static_cast<std::int32_t>(std::stol(std::string(raw)));
      } catch (...) {
        bad();
      }
    } else {
      bad();
    }
    setValue(*current, name, std::move(v));
  }
}

std::string regPath(std::string_view a, std::string_view b) {
  std::string out(a);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  size_t i = 0;
  while (i < b.size() && b[i] == '\\') ++i;
  out += '\\';
  out += b.substr(i);
  return out;
}

}  // namespace platform
