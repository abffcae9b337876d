// libzpack: the zip library that the zip component loads at run time, written over libzip.
// It exports only ZPackExec and GetZPackVersion. It reads the parameter record and its handle
// table, gathers the files the specifications name, and adds them to the archive in one write:
// libzip writes a temporary file beside the archive and renames it over the old one, so any
// failure leaves the old archive as it was. It shows nothing itself; every warning and error goes
// back to the component as a message callback (action 4).
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

  // The archive itself and libzip's temporary files beside it ("<archive>.XXXXXX") are never sources.
  bool isTarget(const std::string& canon) const {
    if (canon == targetCanon_) return true;
    const std::string prefix = targetCanon_ + ".";
    return canon.size() == prefix.size() + 6 && canon.compare(0, prefix.size(), prefix) == 0;
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

  // A file that exists must be a zip archive that starts with its first entry.
  bool targetAcceptable(bool& exists) {
    struct stat st;
    exists = stat(archive_.c_str(), &st) == 0;
    if (!exists) {
      if (errno == ENOENT && lstat(archive_.c_str(), &st) != 0) return true;
      return fail(5, "Cannot open archive: " + archive_ + " (" + std::strerror(errno) + ")"), false;
    }
    if (!S_ISREG(st.st_mode)) return fail(5, "Not a zip archive: " + archive_), false;
    FILE* f = std::fopen(archive_.c_str(), "rb");
    if (!f) return fail(5, "Cannot open archive: " + archive_ + " (" + std::strerror(errno) + ")"), false;
    unsigned char sig[4] = {};
    const std::size_t got = std::fread(sig, 1, 4, f);
    std::fclose(f);
    const bool local = got == 4 && sig[0] == 'P' && sig[1] == 'K' && sig[2] == 3 && sig[3] == 4;
    const bool empty = got == 4 && sig[0] == 'P' && sig[1] == 'K' && sig[2] == 5 && sig[3] == 6;
    if (!local && !empty && !readPrefix()) return fail(5, "Not a zip archive: " + archive_), false;
    return true;
  }

  // An archive behind other data (a self-extractor's stub): libzip writes the archive alone, so
  // that data is kept here and put back in front afterwards.
  bool readPrefix() {
    const int fd = open(archive_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0;
    const auto read = [fd](std::int64_t pos, void* out, std::size_t n) {
      return pread(fd, out, n, pos) == static_cast<ssize_t>(n);
    };
    ziplayout::EndRecord end;
    std::vector<ziplayout::CentralEntry> entries;
    if (ok) end = ziplayout::findEndRecord(read, st.st_size);
    ok = ok && end.pos >= 0 && !end.zip64 && end.difference() == 0 && ziplayout::readCentral(read, end, entries) == 0;
    const std::int64_t start = ok ? ziplayout::archiveStart(end, entries) : 0;
    ok = ok && start > 0;
    if (ok) {
      prefix_.assign(static_cast<std::size_t>(start), '\0');
      ok = read(0, prefix_.data(), prefix_.size());
    }
    close(fd);
    if (!ok) prefix_.clear();
    return ok;
  }

  // Puts the kept data back in front of the archive libzip wrote, every offset moved by its
  // size, through a temporary file beside it that then takes its name.
  bool restorePrefix() {
    const int in = open(archive_.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st;
    std::string tmp = archive_ + ".XXXXXX";
    int out = -1;
    bool ok = fstat(in, &st) == 0 && (out = mkostemp(tmp.data(), O_CLOEXEC)) >= 0;
    const auto put = [&out](const void* data, std::size_t n) {
      const char* p = static_cast<const char*>(data);
      while (n > 0) {
        const ssize_t w = ::write(out, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        p += w;
        n -= static_cast<std::size_t>(w);
      }
      return true;
    };
    ok = ok && fchmod(out, st.st_mode & 07777) == 0 && put(prefix_.data(), prefix_.size()) &&
         ziplayout::copyShifted(
             [in](std::int64_t pos, void* to, std::size_t n) { return pread(in, to, n, pos) == static_cast<ssize_t>(n); },
             st.st_size, static_cast<std::int64_t>(prefix_.size()), put) == 0 &&
         fsync(out) == 0;
    close(in);
    if (out >= 0 && close(out) != 0) ok = false;
    if (ok && rename(tmp.c_str(), archive_.c_str()) != 0) ok = false;
    if (!ok && out >= 0) unlink(tmp.c_str());
    return ok;
  }

  std::int32_t write() {
    bool exists = false;
    if (!targetAcceptable(exists)) return 0;
    if (sources_.empty()) return 0;
    if (exists) return writeArchive();
    // A new archive is its user's only. It starts as an empty archive made here owner-only:
    // libzip gives its temporary file the mode of the archive it replaces. Nothing added, or a
    // failure, leaves no file behind.
    static const char kEmpty[22] = {'P', 'K', 5, 6};
    const int fd = open(archive_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return fail(5, "Cannot create archive: " + archive_ + " (" + std::strerror(errno) + ")");
    const bool written = ::write(fd, kEmpty, sizeof kEmpty) == static_cast<ssize_t>(sizeof kEmpty);
    const int err = errno;
    close(fd);
    std::int32_t added = 0;
    if (written)
      added = writeArchive();
    else
      message(5, "Cannot create archive: " + archive_ + " (" + std::strerror(err) + ")");
    struct stat st;
    if (added <= 0 && stat(archive_.c_str(), &st) == 0 && st.st_size == sizeof kEmpty) unlink(archive_.c_str());
    return added;
  }

  std::int32_t writeArchive() {
    int err = 0;
    zip_t* za = zip_open(archive_.c_str(), ZIP_CREATE, &err);
    if (!za) {
      zip_error_t ze;
      zip_error_init_with_code(&ze, err);
      const std::string why = zip_error_strerror(&ze);
      zip_error_fini(&ze);
      return fail(5, "Cannot open archive: " + archive_ + " (" + why + ")");
    }
    struct Discard {
      zip_t*& za;
      ~Discard() {
        if (za) zip_discard(za);
      }
    } discard{za};

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
    if (!prefix_.empty() && !restorePrefix())
      message(7, "Cannot write archive: " + archive_ + " (the data in front of it could not be put back: " +
                     std::strerror(errno) + ")");
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
  std::string archive_, targetCanon_, prefix_;
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
