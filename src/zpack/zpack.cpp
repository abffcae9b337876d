// libzpack: the zip library that the zip component loads at run time, written over libzip.
// It exports only ZPackExec and GetZPackVersion. It reads the parameter record and its handle
// table, gathers the files the specifications name, and adds them to the archive in one write:
// the new archive is written to a temporary file in the archive's folder, synced, and only then
// takes the archive's name, so a failure or a crash leaves the old archive as it was (or none).
// It shows nothing itself; every warning and error goes back to the component as a message
// callback (action 4).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zip/ziplayout.h"
#include "zip/zpackabi.h"

#define ZPACK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace zpack;

constexpr std::uint64_t kProgressStep = 1u << 20;  // one progress report a MiB at most

// DOS wildcard matching: '*' any run, '?' one character, case-insensitive for ASCII letters;
// "*.*" matches every name, also one without a dot, and "name.*" matches "name".
bool wildMatch(const char* p, const char* s) {
  for (; *p; ++p, ++s) {
    if (*p == '*') {
      while (p[1] == '*') ++p;
      if (!p[1]) return true;
      for (const char* t = s; *t; ++t)
        if (wildMatch(p + 1, t)) return true;
      return wildMatch(p + 1, s + std::strlen(s));
    }
    if (!*s) return false;
    if (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) != std::tolower(static_cast<unsigned char>(*s)))
      return false;
  }
  return *s == 0;
}

bool dosMatch(const std::string& mask, const std::string& name) {
  if (mask.empty() || mask == "*.*" || mask == "*") return true;
  if (wildMatch(mask.c_str(), name.c_str())) return true;
  if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0)
    return wildMatch(mask.substr(0, mask.size() - 2).c_str(), name.c_str());
  return false;
}

std::string baseName(const std::string& path) {
  const auto p = path.rfind('/');
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string canonical(const std::string& path) {
  char buf[PATH_MAX];
  if (realpath(path.c_str(), buf)) return buf;
  // A file that does not exist yet: its folder's canonical path and its name.
  const auto p = path.rfind('/');
  const std::string dir = p == std::string::npos ? "." : (p == 0 ? "/" : path.substr(0, p));
  if (realpath(dir.c_str(), buf)) return std::string(buf) + "/" + baseName(path);
  return path;
}

bool endsWithNoCase(const std::string& s, const std::string& suffix) {
  if (suffix.size() > s.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) !=
        std::tolower(static_cast<unsigned char>(suffix[i])))
      return false;
  return true;
}

struct Source {
  std::string path;   // the file on disk
  std::string entry;  // its name in the archive
  std::uint64_t size = 0;
  time_t mtime = 0;
  mode_t mode = 0;
  bool store = false;
  std::string password;  // empty: not encrypted
};

// A temporary file in the archive's folder, named as the program's whole-file writer names its
// own (".<name>." and six letters or digits), so that the start-up cleanup of that pattern also
// removes one a crash left behind. Created with exactly `mode`, whatever the umask.
int createTemporary(const std::string& target, mode_t mode, std::string& name) {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const auto slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string tail;
    for (int i = 0; i < 6; ++i) tail += kChars[random() % 36];
    name = folder + "." + base + "." + tail;
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) {
      if (fchmod(fd, mode) == 0) return fd;
      const int err = errno;
      close(fd);
      unlink(name.c_str());
      errno = err;
      return -1;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

bool isTemporaryOf(const std::string& path, const std::string& target) {
  const auto slash = target.rfind('/');
  const std::string prefix = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".";
  return path.size() == prefix.size() + 6 && path.compare(0, prefix.size(), prefix) == 0;
}

// The archive file as libzip reads and writes it (a libzip source). It is read from the file
// that was checked, through the handle opened for the check. The new archive goes to a temporary
// file (above) that takes the archive's name only when whole and synced; an existing archive
// stays as it was until then. Data in front of the archive (a self-extractor's stub) is written
// into it first, so every offset libzip records counts it.
class ArchiveFile {
 public:
  std::string path;
  bool exists = false;
  int in = -1;
  std::uint64_t size = 0;
  time_t mtime = 0;
  mode_t mode = 0600;
  std::string prefix;

  ArchiveFile() { zip_error_init(&error_); }
  ~ArchiveFile() {
    dropTemporary();
    if (in >= 0) close(in);
    zip_error_fini(&error_);
  }
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  zip_int64_t serve(void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    switch (cmd) {
      case ZIP_SOURCE_OPEN:
        at_ = 0;
        return 0;
      case ZIP_SOURCE_READ: {
        if (at_ >= size) return 0;
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(len, size - at_));
        const ssize_t got = pread(in, data, n, static_cast<off_t>(at_));
        if (got < 0) return failed(ZIP_ER_READ);
        at_ += static_cast<std::uint64_t>(got);
        return got;
      }
      case ZIP_SOURCE_CLOSE:
        return 0;
      case ZIP_SOURCE_SEEK: {
        const zip_int64_t to = zip_source_seek_compute_offset(at_, size, data, len, &error_);
        if (to < 0) return -1;
        at_ = static_cast<std::uint64_t>(to);
        return 0;
      }
      case ZIP_SOURCE_TELL:
        return static_cast<zip_int64_t>(at_);
      case ZIP_SOURCE_STAT: {
        if (!exists) {  // libzip then starts a new archive
          zip_error_set(&error_, ZIP_ER_READ, ENOENT);
          return -1;
        }
        auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &error_);
        if (!st) return -1;
        zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        st->size = size;
        st->mtime = mtime;
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_BEGIN_WRITE:
        dropTemporary();
        out_ = createTemporary(path, mode, tmp_);
        if (out_ < 0) {
          tmp_.clear();
          return failed(ZIP_ER_TMPOPEN);
        }
        return put(prefix.data(), prefix.size()) ? 0 : -1;
      case ZIP_SOURCE_WRITE:
        return put(data, len) ? static_cast<zip_int64_t>(len) : -1;
      case ZIP_SOURCE_SEEK_WRITE: {
        auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &error_);
        if (!args) return -1;
        if (lseek(out_, static_cast<off_t>(args->offset), args->whence) < 0) return failed(ZIP_ER_SEEK);
        return 0;
      }
      case ZIP_SOURCE_TELL_WRITE: {
        const off_t at = lseek(out_, 0, SEEK_CUR);
        return at < 0 ? failed(ZIP_ER_TELL) : static_cast<zip_int64_t>(at);
      }
      case ZIP_SOURCE_COMMIT_WRITE:
        return commit() ? 0 : -1;
      case ZIP_SOURCE_ROLLBACK_WRITE:
      case ZIP_SOURCE_REMOVE:  // never the archive itself: only what this run wrote
        dropTemporary();
        return 0;
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&error_, data, len);
      case ZIP_SOURCE_FREE:
        dropTemporary();
        return 0;
      case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_WRITABLE;
      default:
        zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
  }

 private:
  zip_int64_t failed(int code) {
    zip_error_set(&error_, code, errno);
    return -1;
  }

  bool put(const void* data, std::size_t n) {
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
      const ssize_t w = ::write(out_, p, n);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        if (w == 0) errno = EIO;
        return failed(ZIP_ER_WRITE), false;
      }
      p += w;
      n -= static_cast<std::size_t>(w);
    }
    return true;
  }

  bool commit() {
    if (fsync(out_) != 0) return failed(ZIP_ER_WRITE), false;
    const int fd = out_;
    out_ = -1;
    if (close(fd) != 0) return failed(ZIP_ER_WRITE), false;
    // A new archive does not take the place of a file that appeared meanwhile.
    int moved = exists ? rename(tmp_.c_str(), path.c_str())
                       : renameat2(AT_FDCWD, tmp_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
    if (moved != 0 && !exists && (errno == EINVAL || errno == ENOSYS)) {
      moved = link(tmp_.c_str(), path.c_str());
      if (moved == 0) unlink(tmp_.c_str());
    }
    if (moved != 0) return failed(ZIP_ER_RENAME), false;
    tmp_.clear();
    // The new name on the disk too.
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return true;
  }

  void dropTemporary() {
    if (out_ >= 0) close(out_);
    out_ = -1;
    if (!tmp_.empty()) unlink(tmp_.c_str());
    tmp_.clear();
  }

  zip_error_t error_;
  std::uint64_t at_ = 0;
  int out_ = -1;
  std::string tmp_;
};

zip_int64_t archiveSourceCb(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
  return static_cast<ArchiveFile*>(state)->serve(data, len, cmd);
}

class Run;

// A libzip source over one file that reports its progress to the component while libzip reads it.
struct FileSource {
  Run* run;
  const Source* src;
  FILE* f = nullptr;
  std::uint64_t unreported = 0;
  zip_error_t error;
};

zip_int64_t fileSourceCb(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd);

class Run {
 public:
  explicit Run(const Call* call) : call_(call) {}

  std::int32_t exec() {
    if (!call_ || !call_->record || (!call_->table && call_->count)) return 0;
    rec_ = call_->record;
    if (call_->recordSize >= parms::kSize) {
      if (auto h = handle(getI32(rec_, parms::Callback)); h && h->address)
        callback_ = reinterpret_cast<Callback>(const_cast<void*>(h->address));
      caller_ = getI32(rec_, parms::Caller);
    }
    if (call_->recordSize != parms::kSize || getI32(rec_, parms::Seven) != 7)
      return fail(1, "Parameter record not supported (version " + std::to_string(kComponentVersion) + " expected)");
    if (!readRecord()) return 0;
    if (!gather()) return 0;
    return write();
  }

  // Calls the component; false when it asked to stop.
  bool report(std::int32_t action, std::int32_t error, std::int64_t size, const std::string& text,
              unsigned char* back = nullptr) {
    if (cancelled_ && action != ActMessage) return false;
    if (!callback_) return !cancelled_;
    unsigned char r[cb::kSize] = {};
    putI32(r, cb::Caller, caller_);
    putI32(r, cb::Action, action);
    putI32(r, cb::Error, error);
    putI32(r, cb::Size, static_cast<std::int32_t>(std::min<std::int64_t>(size, INT32_MAX)));
    putCallbackText(r, text);
    if (callback_(r) == -1) cancelled_ = true;
    if (back) std::memcpy(back, r, cb::kSize);
    return !cancelled_;
  }
  bool message(std::int32_t code, const std::string& text) { return report(ActMessage, code, 0, text); }
  bool cancelled() const { return cancelled_; }

 private:
  std::int32_t fail(std::int32_t code, const std::string& text) {
    message(code, text);
    return 0;
  }

  const Handle* handle(std::int32_t h) const {
    if (h <= 0 || static_cast<std::uint32_t>(h) > call_->count) return nullptr;
    return &call_->table[h - 1];
  }
  // A text behind a handle: 0 is none; an unknown handle or a text without its zero is an error.
  bool text(std::int32_t h, std::optional<std::string>& out) const {
    out.reset();
    if (h == 0) return true;
    const Handle* e = handle(h);
    if (!e || !e->address || e->size == 0) return false;
    const char* s = static_cast<const char*>(e->address);
    const void* nul = std::memchr(s, 0, e->size);
    if (!nul) return false;
    out = std::string(s, static_cast<const char*>(nul) - s);
    return true;
  }
  bool bad(const char* what) {
    message(2, std::string("Invalid parameter record: ") + what);
    return false;
  }

  struct Spec {
    std::string folder, mask, password;
    bool recurse = false, encrypt = false;
    std::string root;  // names of folders are relative to this
  };

  bool readRecord() {
    std::optional<std::string> t;
    if (!text(getI32(rec_, parms::ArchiveName), t) || !t || t->empty()) return bad("archive name");
    archive_ = *t;
    if (!text(getI32(rec_, parms::Password), t)) return bad("password");
    const std::string password = t.value_or("");
    if (!text(getI32(rec_, parms::Suffixes), t)) return bad("suffix list");
    if (t) {
      std::size_t start = 0;
      while (start <= t->size()) {
        auto end = t->find(':', start);
        if (end == std::string::npos) end = t->size();
        if (end > start) suffixes_.push_back(t->substr(start, end - start));
        start = end + 1;
      }
    }
    if (!text(getI32(rec_, parms::Comment), comment_)) return bad("comment");
    std::optional<std::string> root;
    if (!text(getI32(rec_, parms::TempDir), t)) return bad("temporary folder");  // libzip writes beside the archive
    hidden_ = getI32(rec_, parms::Hidden) != 0;
    dirNames_ = getI32(rec_, parms::NoDirNames) == 0;
    move_ = getI32(rec_, parms::Move) != 0;
    update_ = getI32(rec_, parms::Update) != 0;
    freshen_ = !update_ && getI32(rec_, parms::Freshen) != 0;
    level_ = std::clamp(getI32(rec_, parms::Level), 0, 9);

    const std::int32_t n = getI32(rec_, parms::SpecCount);
    const Handle* specs = handle(getI32(rec_, parms::Specs));
    if (n <= 0 || !specs || !specs->address || specs->size != static_cast<std::uint64_t>(n) * spec::kSize)
      return bad("file patterns");
    const auto* e0 = static_cast<const unsigned char*>(specs->address);
    for (std::int32_t i = 0; i < n; ++i) {
      const unsigned char* e = e0 + i * spec::kSize;
      Spec s;
      if (!text(getI32(e, spec::Text), t) || !t || t->empty()) return bad("file pattern");
      std::string path = *t;
      std::replace(path.begin(), path.end(), '\\', '/');
      if (!text(getI32(e, spec::RootDir), root)) return bad("root folder");
      if (root) {
        s.root = *root;
        std::replace(s.root.begin(), s.root.end(), '\\', '/');
        if (!path.empty() && path[0] != '/') path = s.root + "/" + path;
      }
      struct stat st;
      if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        s.folder = path;
        s.mask = "*.*";
      } else {
        const auto slash = path.rfind('/');
        s.folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        s.mask = slash == std::string::npos ? path : path.substr(slash + 1);
      }
      while (s.folder.size() > 1 && s.folder.back() == '/') s.folder.pop_back();
      if (s.root.empty()) s.root = s.folder;
      s.recurse = getU16(e, spec::Recurse) != 0;  // the record's word, or the entry's own
      if (!text(getI32(e, spec::Password), t)) return bad("password");
      s.password = t ? *t : password;
      s.encrypt = getI32(e, spec::Encrypt) != 0;  // the record's flag, or the entry's own
      specs_.push_back(std::move(s));
    }
    const std::int32_t nx = getI32(rec_, parms::ExclCount);
    if (nx < 0) return bad("exclusions");
    if (nx > 0) {
      const Handle* x = handle(getI32(rec_, parms::Excl));
      if (!x || !x->address || x->size != static_cast<std::uint64_t>(nx) * 4) return bad("exclusions");
      for (std::int32_t i = 0; i < nx; ++i) {
        if (!text(getI32(static_cast<const unsigned char*>(x->address), 4 * i), t) || !t) return bad("exclusion");
        std::string ex = *t;
        std::replace(ex.begin(), ex.end(), '\\', '/');
        excl_.push_back(ex);
      }
    }
    return true;
  }

  bool excluded(const std::string& path, const std::string& entry) const {
    for (const auto& x : excl_) {
      if (x.find('/') == std::string::npos ? dosMatch(x, baseName(path)) : (dosMatch(x, entry) || dosMatch(x, path)))
        return true;
    }
    return false;
  }

  // The archive itself and its temporary files (this run's, or one a crash left) are never sources.
  bool isTarget(const std::string& canon) const {
    return canon == targetCanon_ || isTemporaryOf(canon, targetCanon_);
  }

  bool scan(const Spec& s, const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (!d) {
      message(3, "Cannot read folder: " + folder + " (" + std::strerror(errno) + ")");
      return false;
    }
    std::vector<std::string> names;
    while (dirent* de = readdir(d)) {
      const std::string n = de->d_name;
      if (n == "." || n == "..") continue;
      if (!hidden_ && n[0] == '.') continue;
      names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());  // byte order: the archive does not depend on the file system
    for (const auto& n : names) {
      const std::string path = folder == "/" ? "/" + n : folder + "/" + n;
      struct stat lst, st;
      if (lstat(path.c_str(), &lst) != 0) continue;  // gone meanwhile
      if (S_ISDIR(lst.st_mode)) {
        if (s.recurse && !scan(s, path)) return false;
        continue;
      }
      if (!dosMatch(s.mask, n)) continue;
      if (stat(path.c_str(), &st) != 0) {
        message(3, "Cannot read file: " + path + " (" + std::strerror(errno) + ")");
        return false;
      }
      if (S_ISDIR(st.st_mode)) {  // a link to a folder is followed only when recursing
        if (s.recurse && !scan(s, path)) return false;
        continue;
      }
      if (!S_ISREG(st.st_mode)) continue;
      const std::string canon = canonical(path);
      if (isTarget(canon)) continue;
      std::string entry = n;
      if (dirNames_) {
        const std::string rootCanon = canonical(s.root);
        if (canon.compare(0, rootCanon.size() + 1, rootCanon + "/") == 0)
          entry = canon.substr(rootCanon.size() + 1);
        else if (path.compare(0, s.root.size() + 1, s.root + "/") == 0)
          entry = path.substr(s.root.size() + 1);
        while (!entry.empty() && entry[0] == '/') entry.erase(0, 1);
      }
      if (excluded(path, entry)) continue;
      // A source that cannot be read fails the run before anything is written.
      const int fd = open(path.c_str(), O_RDONLY);
      if (fd < 0) {
        message(3, "Cannot read file: " + path + " (" + std::strerror(errno) + ")");
        return false;
      }
      close(fd);
      Source src;
      src.path = path;
      src.entry = entry;
      src.size = static_cast<std::uint64_t>(st.st_size);
      src.mtime = st.st_mtime;
      src.mode = st.st_mode;
      src.store = level_ == 0;  // libzip's level 0 would be its default level
      for (const auto& suf : suffixes_)
        if (endsWithNoCase(n, suf)) src.store = true;
      if (s.encrypt) src.password = s.password;
      if (s.encrypt && s.password.empty()) {
        if (!askPassword(src.password)) return false;
      }
      auto at = byEntry_.find(entry);
      if (at != byEntry_.end()) {
        sources_[at->second] = std::move(src);
      } else {
        byEntry_[entry] = sources_.size();
        sources_.push_back(std::move(src));
      }
    }
    return true;
  }

  // Encryption without a password: the component is asked once; an empty answer adds nothing.
  bool askPassword(std::string& out) {
    if (!asked_) {
      asked_ = true;
      unsigned char back[cb::kSize];
      if (!report(ActPassword, 0, 1, "", back)) return false;
      if (getI32(back, cb::Error) == 1) answer_ = callbackText(back);
    }
    out = answer_;
    if (out.empty()) {
      message(4, "No password given: nothing added");
      return false;
    }
    return true;
  }

  bool gather() {
    targetCanon_ = canonical(archive_);
    for (const auto& s : specs_)
      if (!scan(s, s.folder)) return false;
    return true;
  }

  // The target: none yet, or a zip archive, read here through the handle libzip will read it
  // by. The archive may stand behind other data (a self-extractor's stub) when its offsets count
  // that data: it is kept and written in front of the new archive again.
  bool openTarget() {
    ArchiveFile& a = file_;
    a.path = archive_;
    struct stat st;
    if (stat(archive_.c_str(), &st) != 0) {
      if (errno == ENOENT && lstat(archive_.c_str(), &st) != 0) return true;
      return fail(5, "Cannot open archive: " + archive_ + " (" + std::strerror(errno) + ")"), false;
    }
    if (!S_ISREG(st.st_mode)) return notZip();
    a.in = open(archive_.c_str(), O_RDONLY | O_CLOEXEC);
    if (a.in < 0 || fstat(a.in, &st) != 0)
      return fail(5, "Cannot open archive: " + archive_ + " (" + std::strerror(errno) + ")"), false;
    a.exists = true;
    a.size = static_cast<std::uint64_t>(st.st_size);
    a.mtime = st.st_mtime;
    a.mode = (st.st_mode & S_IXUSR) | 0600;  // a self-extracting program stays one
    const int fd = a.in;
    const auto read = [fd](std::int64_t pos, void* out, std::size_t n) {
      return pread(fd, out, n, pos) == static_cast<ssize_t>(n);
    };
    end_ = ziplayout::findEndRecord(read, st.st_size);
    if (end_.pos < 0) return notZip();
    unsigned char sig[4] = {};
    if (read(0, sig, 4) && (ziplayout::u32(sig) == ziplayout::kLocalSig || ziplayout::u32(sig) == ziplayout::kEndSig))
      return true;
    std::vector<ziplayout::CentralEntry> entries;
    if (end_.zip64 || end_.difference() != 0 || ziplayout::readCentral(read, end_, entries) != 0) return notZip();
    const std::int64_t start = ziplayout::archiveStart(end_, entries);
    if (start <= 0) return notZip();
    a.prefix.assign(static_cast<std::size_t>(start), '\0');
    if (!read(0, a.prefix.data(), a.prefix.size())) return notZip();
    return true;
  }
  bool notZip() { return fail(5, "Not a zip archive: " + archive_), false; }

  std::int32_t write() {
    if (!openTarget()) return 0;
    if (sources_.empty()) return 0;
    return writeArchive();
  }

  std::int32_t writeArchive() {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_function_create(archiveSourceCb, &file_, &ze);
    zip_t* za = src ? zip_open_from_source(src, ZIP_CREATE, &ze) : nullptr;
    if (!za) {
      const std::string why = zip_error_strerror(&ze);
      zip_error_fini(&ze);
      if (src) zip_source_free(src);
      return fail(5, "Cannot open archive: " + archive_ + " (" + why + ")");
    }
    zip_error_fini(&ze);
    struct Discard {
      zip_t*& za;
      ~Discard() {
        if (za) zip_discard(za);
      }
    } discard{za};
    // libzip must have taken the archive that was checked, not another end record in the file.
    if (file_.exists && !end_.zip64 && zip_get_num_entries(za, 0) != end_.entries) return notZip();

    std::uint64_t total = 0;
    std::vector<const Source*> chosen;
    for (const auto& s : sources_) {
      const zip_int64_t idx = zip_name_locate(za, s.entry.c_str(), 0);
      if (idx >= 0 && (update_ || freshen_)) {
        zip_stat_t zs;
        // Zip times keep even seconds only.
        if (zip_stat_index(za, static_cast<zip_uint64_t>(idx), 0, &zs) == 0 && (zs.valid & ZIP_STAT_MTIME) &&
            (s.mtime & ~time_t(1)) <= zs.mtime)
          continue;
      }
      if (idx < 0 && freshen_) continue;
      chosen.push_back(&s);
      total += s.size;
    }
    if (chosen.empty()) return 0;
    if (!report(ActTotalSize, 0, static_cast<std::int64_t>(std::min<std::uint64_t>(total, INT32_MAX)), ""))
      return 0;

    const bool pkware = zip_encryption_method_supported(ZIP_EM_TRAD_PKWARE, 1) != 0;
    for (const Source* s : chosen) {
      auto* st = new FileSource{this, s, nullptr, 0, {}};
      zip_error_init(&st->error);
      zip_source_t* zs = zip_source_function(za, fileSourceCb, st);
      if (!zs) {
        delete st;
        return fail(6, "Out of memory");
      }
      const zip_int64_t idx = zip_file_add(za, s->entry.c_str(), zs, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
      if (idx < 0) {
        zip_source_free(zs);
        return fail(6, "Cannot add " + s->entry + " (" + zip_strerror(za) + ")");
      }
      const auto i = static_cast<zip_uint64_t>(idx);
      zip_set_file_compression(za, i, s->store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                               s->store ? 0 : static_cast<zip_uint32_t>(level_));
      zip_file_set_external_attributes(za, i, 0, ZIP_OPSYS_UNIX, static_cast<zip_uint32_t>((s->mode & 0777) | S_IFREG) << 16);
      if (!s->password.empty() &&
          zip_file_set_encryption(za, i, pkware ? ZIP_EM_TRAD_PKWARE : ZIP_EM_AES_256, s->password.c_str()) != 0)
        return fail(6, "Cannot encrypt " + s->entry + " (" + zip_strerror(za) + ")");
    }
    if (comment_ && zip_set_archive_comment(za, comment_->data(), static_cast<zip_uint16_t>(std::min<std::size_t>(comment_->size(), 0xFFFF))) != 0)
      return fail(6, std::string("Cannot set the archive comment (") + zip_strerror(za) + ")");
    zip_register_cancel_callback_with_state(
        za, [](zip_t*, void* self) { return static_cast<Run*>(self)->cancelled() ? 1 : 0; }, nullptr, this);

    if (zip_close(za) != 0) {
      const std::string why = zip_strerror(za);
      message(cancelled_ ? 9 : 7, cancelled_ ? "Cancelled: nothing written to " + archive_
                                            : "Cannot write archive: " + archive_ + " (" + why + ")");
      return 0;  // Discard drops what was prepared; the old archive stays as it was
    }
    za = nullptr;
    if (move_)
      for (const Source* s : chosen)
        if (unlink(s->path.c_str()) != 0)
          message(8, "Cannot delete file: " + s->path + " (" + std::strerror(errno) + ")");
    return static_cast<std::int32_t>(std::min<std::size_t>(chosen.size(), INT32_MAX));
  }

  const Call* call_;
  const unsigned char* rec_ = nullptr;
  Callback callback_ = nullptr;
  std::int32_t caller_ = 0;
  bool cancelled_ = false;
  std::string archive_, targetCanon_;
  ArchiveFile file_;
  ziplayout::EndRecord end_;
  std::vector<std::string> suffixes_, excl_;
  std::optional<std::string> comment_;
  bool hidden_ = false, dirNames_ = false, move_ = false, update_ = false, freshen_ = false;
  int level_ = 9;
  std::vector<Spec> specs_;
  std::vector<Source> sources_;
  std::map<std::string, std::size_t> byEntry_;
  bool asked_ = false;
  std::string answer_;
};

zip_int64_t fileSourceCb(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
  auto* fs = static_cast<FileSource*>(state);
  Run& run = *fs->run;
  const Source& s = *fs->src;
  auto flush = [&]() {
    if (fs->unreported == 0) return true;
    const auto n = fs->unreported;
    fs->unreported = 0;
    return run.report(ActProgress, 0, static_cast<std::int64_t>(n), s.path);
  };
  switch (cmd) {
    case ZIP_SOURCE_OPEN:
      fs->f = std::fopen(s.path.c_str(), "rb");
      if (!fs->f) {
        const int e = errno;
        run.message(3, "Cannot read file: " + s.path + " (" + std::strerror(e) + ")");
        zip_error_set(&fs->error, ZIP_ER_OPEN, e);
        return -1;
      }
      fs->unreported = 0;
      if (!run.report(ActProgressStart, 0, static_cast<std::int64_t>(s.size), s.path)) {
        zip_error_set(&fs->error, ZIP_ER_CANCELLED, 0);
        return -1;
      }
      return 0;
    case ZIP_SOURCE_READ: {
      const std::size_t n = std::fread(data, 1, len, fs->f);
      if (n < len && std::ferror(fs->f)) {
        const int e = errno;
        run.message(3, "Cannot read file: " + s.path + " (" + std::strerror(e) + ")");
        zip_error_set(&fs->error, ZIP_ER_READ, e);
        return -1;
      }
      fs->unreported += n;
      if (fs->unreported >= kProgressStep && !flush()) {
        zip_error_set(&fs->error, ZIP_ER_CANCELLED, 0);
        return -1;
      }
      return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE: {
      if (fs->f) std::fclose(fs->f);
      fs->f = nullptr;
      if (!flush() || !run.report(ActProgressEnd, 0, 0, s.path)) {
        zip_error_set(&fs->error, ZIP_ER_CANCELLED, 0);
        return -1;
      }
      return 0;
    }
    case ZIP_SOURCE_STAT: {
      auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &fs->error);
      if (!st) return -1;
      zip_stat_init(st);
      st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
      st->size = s.size;
      st->mtime = s.mtime;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&fs->error, data, len);
    case ZIP_SOURCE_FREE:
      if (fs->f) std::fclose(fs->f);
      zip_error_fini(&fs->error);
      delete fs;
      return 0;
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
      zip_error_set(&fs->error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

}  // namespace

ZPACK_EXPORT std::int32_t GetZPackVersion() { return kComponentVersion; }

ZPACK_EXPORT std::int32_t ZPackExec(const zpack::Call* call) {
  try {
    Run run(call);
    return run.exec();
  } catch (...) {
    return 0;  // nothing escapes into the caller
  }
}
