#pragma once
// The registry stand-in: HKEY_CURRENT_USER and HKEY_CLASSES_ROOT as one file-backed tree of keys
// holding typed values. Key and value names compare case-insensitively and keep the case they were
// created with. Every change is written to the backing file at once, through a temporary file and
// a rename, so the file is never left half-written; a batch groups several changes into one write.
// A file that is damaged, cut short or empty is refused (IoError "Uszkodzony plik rejestru ...")
// and left as it is, never loaded as a smaller store.
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RegRoot { CurrentUser, ClassesRoot };

struct RegValue {
  enum class Type { String, Integer, Binary };
  Type type = Type::String;
  std::string bytes;     // String (Windows-1250, or UTF-8 when `unicode`) and Binary
  std::int32_t integer = 0;
  // A String holding characters that Windows-1250 cannot (a folder named in another script),
  // kept as Unicode text.
  bool unicode = false;
};

class RegistryStore {
 public:
  // An empty path keeps the tree in memory only (for tests that need no file).
  explicit RegistryStore(QString filePath = {});
  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  // The store's file: ZELT_REGISTRY, else the user's configuration folder.
  static QString defaultLocation();
  const QString& filePath() const { return path_; }

  // Paths are backslash-separated ("\SOFTWARE\Tarvo\ZELT\IO\"); leading and trailing
  // separators do not matter.
  bool keyExists(RegRoot root, std::string_view path) const;
  bool valueExists(RegRoot root, std::string_view path, std::string_view name) const;
  std::optional<RegValue> value(RegRoot root, std::string_view path, std::string_view name) const;
  // A value of another type reads as missing. A Unicode String reads as its Windows-1250 form.
  std::optional<std::string> readString(RegRoot root, std::string_view path, std::string_view name) const;
  std::optional<std::int32_t> readInteger(RegRoot root, std::string_view path, std::string_view name) const;
  // A text of any characters (a folder's path): a value written by writeText() reads back exactly;
  // a Windows-1250 String reads as its characters.
  std::optional<QString> readText(RegRoot root, std::string_view path, std::string_view name) const;
  std::optional<std::string> readBinary(RegRoot root, std::string_view path, std::string_view name) const;
  std::vector<std::string> subkeyNames(RegRoot root, std::string_view path) const;
  std::vector<std::string> valueNames(RegRoot root, std::string_view path) const;

  // Writers create the key when it is missing. A failure to write the file throws
  // platform::IoError and leaves the tree as it was before the change.
  void createKey(RegRoot root, std::string_view path);
  void writeString(RegRoot root, std::string_view path, std::string_view name, std::string_view value);
  // A String of Windows-1250 bytes when the code page holds every character of `value` (so the
  // value keeps the bytes it always had), else of Unicode text.
  void writeText(RegRoot root, std::string_view path, std::string_view name, const QString& value);
  void writeInteger(RegRoot root, std::string_view path, std::string_view name, std::int32_t value);
  void writeBinary(RegRoot root, std::string_view path, std::string_view name, std::string_view value);
  bool deleteValue(RegRoot root, std::string_view path, std::string_view name);
  // Deletes the key with all its subkeys; false when it did not exist.
  bool deleteKey(RegRoot root, std::string_view path);

  // Saves a key with its subkeys to a file that is a whole store of that key alone, in the
  // store's own format (header and end line): named by ZELT_REGISTRY, or copied to the store's
  // place, it is the store of another installation.
  void saveKey(RegRoot root, std::string_view path, const QString& file) const;

  // Batches nest; the outermost commit writes the file once. A batch that ends without a commit
  // (an exception) puts the tree back as it was, and the file stays untouched; an inner batch
  // that ends so makes the outermost one end so too (its commit then throws IoError).
  void beginBatch();
  void commitBatch();
  void abandonBatch();

  // Shorthands for the program's own key "\SOFTWARE\Tarvo\ZELT\" under HKEY_CURRENT_USER.
  static constexpr std::string_view kProgramKey = "\\SOFTWARE\\Tarvo\\ZELT\\";

  // No key lies deeper than this under its root: the store's tree is walked, copied and freed
  // recursively, and a deeper store is damage.
  static constexpr size_t kMaxDepth = 32;
  // The file's first line, and its last: a file without the end line was cut short.
  static constexpr std::string_view kHeader = "ZELT-REGISTRY 2";
  static constexpr std::string_view kEndLine = "END";
  // Files written before the end line existed start so; they load, and are rewritten with it.
  static constexpr std::string_view kOlderHeader = "ZELT-REGISTRY 1";

 public:
  struct Key;   // the tree's nodes, public only for the file format's writer
  struct Tree;

 private:
  void persist() const;
  void load();

  QString path_;
  std::unique_ptr<Tree> tree_;
  std::unique_ptr<Tree> snapshot_;
  int batchDepth_ = 0;
  bool batchDirty_ = false;
  bool batchFailed_ = false;
};

// RAII batch: commits when commit() is called, abandons otherwise.
class RegistryBatch {
 public:
  explicit RegistryBatch(RegistryStore& store) : store_(store) { store_.beginBatch(); }
  ~RegistryBatch() {
    if (!done_) store_.abandonBatch();
  }
  void commit() {
    done_ = true;
    store_.commitBatch();
  }
  RegistryBatch(const RegistryBatch&) = delete;
  RegistryBatch& operator=(const RegistryBatch&) = delete;

 private:
  RegistryStore& store_;
  bool done_ = false;
};

// Joins registry path pieces with single backslashes.
std::string regPath(std::string_view a, std::string_view b);

}  // namespace platform
