// ZPACKSFX.BIN: the self-extractor stub. The zip component copies this program, appends the
// parameter block and the archive (offsets counted from the start of the whole file), and the
// result unpacks itself:
//
//   <program> [folder]
//
// into the folder given, else the block's default folder, else the current folder. Existing
// files are overwritten always, never, or after a question on the terminal (without a terminal:
// never), as the block says. A member whose name would leave the folder ("..", an absolute
// path), or whose path would pass through a link already in the folder, refuses the whole
// archive before anything is written; every part of a path is opened without following a link
// all the same. Files get their stored mode, never more than 0755 and less the umask (0644 for
// a member stored as anything but a plain file: a link is written as a plain file holding its
// target). Exit status 0 on success.
// The block's other options (asking for a command line or the files, running a program
// afterwards, the size check) are not honoured here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <elf.h>

#include "platform/cp1250.h"

namespace {

struct Block {
  unsigned flags = 0;
  std::string caption, defaultDir, commandLine, message;  // UTF-8
};

constexpr unsigned kOvrAlways = 0x08, kOvrNever = 0x10, kNoSuccessMsg = 0x80;

bool readAt(int fd, std::uint64_t pos, void* out, std::size_t n) {
  return pread(fd, out, n, static_cast<off_t>(pos)) == static_cast<ssize_t>(n);
}

// Where this program's own ELF image ends: past its headers, segments and sections.
template <typename Ehdr, typename Phdr, typename Shdr>
std::uint64_t imageEnd(int fd) {
  Ehdr eh;
  if (!readAt(fd, 0, &eh, sizeof eh)) return 0;
  std::uint64_t end = sizeof eh;
  end = std::max<std::uint64_t>(end, eh.e_phoff + std::uint64_t(eh.e_phnum) * eh.e_phentsize);
  end = std::max<std::uint64_t>(end, eh.e_shoff + std::uint64_t(eh.e_shnum) * eh.e_shentsize);
  for (unsigned i = 0; i < eh.e_phnum; ++i) {
    Phdr ph;
    if (!readAt(fd, eh.e_phoff + std::uint64_t(i) * eh.e_phentsize, &ph, sizeof ph)) return 0;
    end = std::max<std::uint64_t>(end, ph.p_offset + ph.p_filesz);
  }
  for (unsigned i = 0; i < eh.e_shnum; ++i) {
    Shdr sh;
    if (!readAt(fd, eh.e_shoff + std::uint64_t(i) * eh.e_shentsize, &sh, sizeof sh)) return 0;
    if (sh.sh_type != SHT_NOBITS) end = std::max<std::uint64_t>(end, sh.sh_offset + sh.sh_size);
  }
  return end;
}

bool readBlock(const char* self, Block& b) {
  const int fd = open(self, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char ident[EI_NIDENT] = {};
  std::uint64_t at = 0;
  if (readAt(fd, 0, ident, sizeof ident) && std::memcmp(ident, ELFMAG, SELFMAG) == 0)
    at = ident[EI_CLASS] == ELFCLASS64 ? imageEnd<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(fd)
                                       : imageEnd<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(fd);
  unsigned char head[8];
  bool ok = at > 0 && readAt(fd, at, head, sizeof head) && std::memcmp(head, "MPV", 3) == 0;
  if (ok) {
    const unsigned length = head[6] | head[7] << 8;
    std::string rest(length > 8 ? length - 8 : 0, '\0');
    ok = length >= 12 && readAt(fd, at + 8, rest.data(), rest.size());
    b.flags = head[3];
    std::size_t p = 0;
    for (std::string* s : {&b.caption, &b.defaultDir, &b.commandLine, &b.message}) {
      if (!ok || p >= rest.size() || p + 1 + static_cast<unsigned char>(rest[p]) > rest.size()) {
        ok = false;
        break;
      }
      const std::size_t n = static_cast<unsigned char>(rest[p]);
      *s = cp1250::toUnicode(std::string_view(rest).substr(p + 1, n)).toStdString();
      p += 1 + n;
    }
  }
  close(fd);
  return ok;
}

// A member name that stays inside the folder: relative, without a ".." part.
bool staysInside(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
  if (name.size() > 1 && name[1] == ':') return false;  // a drive letter
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

// The target folder itself, as the user names it (a link there is the user's own choice).
bool makeFolders(const std::string& path) {
  for (std::size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folders on a member's way (all of its parts for a folder member, whose name ends in "/"),
// and the name of its file ("" for a folder member).
struct MemberPath {
  std::vector<std::string> folders;
  std::string leaf;
};
MemberPath splitName(const std::string& name) {
  MemberPath p;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (!part.empty() && part != ".") p.folders.push_back(part);
    start = end + 1;
  }
  if (!name.empty() && name.back() != '/' && !p.folders.empty()) {
    p.leaf = p.folders.back();
    p.folders.pop_back();
  }
  return p;
}

// Opens a member's folder under the target folder one part at a time, never through a link,
// making the parts that are missing when `create`. On failure fd is -1, err the system's error,
// and link the parts up to a link found on the way.
struct Opened {
  int fd = -1;
  int err = 0;
  std::string link;
};
Opened openFolders(int root, const std::vector<std::string>& folders, bool create) {
  Opened o;
  int dir = fcntl(root, F_DUPFD_CLOEXEC, 0);
  if (dir < 0) {
    o.err = errno;
    return o;
  }
  std::string sofar;
  for (const auto& part : folders) {
    if (!sofar.empty()) sofar += '/';
    sofar += part;
    int next = openat(dir, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT && create) {
      if (mkdirat(dir, part.c_str(), 0755) == 0 || errno == EEXIST)
        next = openat(dir, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (next < 0) {
      o.err = errno;
      struct stat st;
      if (fstatat(dir, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) o.link = sofar;
      close(dir);
      return o;
    }
    close(dir);
    dir = next;
  }
  o.fd = dir;
  return o;
}

// The mode a member's file gets: its stored permissions when it was stored as a plain file on
// Unix, else 0644; never more than 0755, and the umask applies.
mode_t memberMode(zip_t* za, zip_uint64_t i, mode_t umaskBits) {
  mode_t mode = 0644;
  zip_uint8_t opsys = 0;
  zip_uint32_t attr = 0;
  if (zip_file_get_external_attributes(za, i, 0, &opsys, &attr) == 0 && opsys == ZIP_OPSYS_UNIX && (attr >> 16)) {
    const mode_t stored = attr >> 16;
    if ((stored & S_IFMT) == 0 || (stored & S_IFMT) == S_IFREG) mode = stored & 0777;
  }
  return mode & 0755 & ~umaskBits;
}

bool askOverwrite(const std::string& name) {
  if (!isatty(STDIN_FILENO)) return false;
  std::printf("Overwrite %s? [y/N] ", name.c_str());
  std::fflush(stdout);
  char line[16] = {};
  if (!std::fgets(line, sizeof line, stdin)) return false;
  return line[0] == 'y' || line[0] == 'Y';
}

// Writes one member through a temporary file beside its target in `dir`, which then takes its
// name; neither is opened through a link.
bool extract(zip_t* za, zip_uint64_t i, int dir, const std::string& leaf, const std::string& target, mode_t mode) {
  zip_file_t* zf = zip_fopen_index(za, i, 0);
  if (!zf) {
    std::fprintf(stderr, "Cannot read %s: %s\n", target.c_str(), zip_strerror(za));
    return false;
  }
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::string tmp;
  int out = -1;
  for (int attempt = 0; attempt < 100 && out < 0; ++attempt) {
    tmp = leaf + ".sfx-";
    for (int k = 0; k < 6; ++k) tmp += kChars[random() % 36];
    out = openat(dir, tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0 && errno != EEXIST) break;
  }
  bool ok = out >= 0;
  if (!ok) std::fprintf(stderr, "Cannot write %s: %s\n", target.c_str(), std::strerror(errno));
  char buf[65536];
  while (ok) {
    const zip_int64_t n = zip_fread(zf, buf, sizeof buf);
    if (n < 0) {
      std::fprintf(stderr, "Cannot read %s: %s\n", target.c_str(), zip_file_strerror(zf));
      ok = false;
      break;
    }
    if (n == 0) break;
    for (zip_int64_t done = 0; ok && done < n;) {
      const ssize_t w = write(out, buf + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        std::fprintf(stderr, "Cannot write %s: %s\n", target.c_str(), std::strerror(errno));
        ok = false;
      } else {
        done += w;
      }
    }
  }
  zip_fclose(zf);
  if (out >= 0) {
    if (ok && fchmod(out, mode) != 0) ok = false;
    if (close(out) != 0) ok = false;
    if (ok && renameat(dir, tmp.c_str(), dir, leaf.c_str()) != 0) {
      std::fprintf(stderr, "Cannot write %s: %s\n", target.c_str(), std::strerror(errno));
      ok = false;
    }
    if (!ok) unlinkat(dir, tmp.c_str(), 0);
  }
  return ok;
}

void refuseLink(const std::string& name, const std::string& link, const char* tail) {
  std::fprintf(stderr, "Refused: the member \"%s\" would pass through the link \"%s\"%s\n", name.c_str(),
               link.c_str(), tail);
}

}  // namespace

int main(int argc, char** argv) {
  const char* self = "/proc/self/exe";
  const mode_t umaskBits = umask(0);
  umask(umaskBits);
  Block block;
  if (!readBlock(self, block)) {
    std::fprintf(stderr, "No self-extractor parameter block in this program\n");
    return 2;
  }
  if (!block.caption.empty()) std::printf("%s\n", block.caption.c_str());

  std::string folder = argc > 1 ? argv[1] : block.defaultDir;
  for (auto& c : folder)
    if (c == '\\') c = '/';
  if (folder.empty()) folder.assign(1, '.');
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();

  int err = 0;
  zip_t* za = zip_open(self, ZIP_RDONLY, &err);
  if (!za) {
    zip_error_t ze;
    zip_error_init_with_code(&ze, err);
    std::fprintf(stderr, "Cannot open the archive: %s\n", zip_error_strerror(&ze));
    zip_error_fini(&ze);
    return 2;
  }
  const zip_int64_t count = zip_get_num_entries(za, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(za, static_cast<zip_uint64_t>(i), 0);
    if (!name || !staysInside(name)) {
      std::fprintf(stderr, "Refused: the member \"%s\" would leave the folder; nothing extracted\n", name ? name : "");
      zip_discard(za);
      return 3;
    }
  }
  if (!makeFolders(folder)) {
    std::fprintf(stderr, "Cannot create the folder %s: %s\n", folder.c_str(), std::strerror(errno));
    zip_discard(za);
    return 2;
  }
  const int root = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (root < 0) {
    std::fprintf(stderr, "Cannot open the folder %s: %s\n", folder.c_str(), std::strerror(errno));
    zip_discard(za);
    return 2;
  }
  std::vector<std::string> names;
  for (zip_int64_t i = 0; i < count; ++i) {
    std::string name = zip_get_name(za, static_cast<zip_uint64_t>(i), 0);
    for (auto& c : name)
      if (c == '\\') c = '/';
    names.push_back(name);
  }
  // A link already in the folder on a member's way refuses the archive before anything is written.
  for (const auto& name : names) {
    const Opened o = openFolders(root, splitName(name).folders, false);
    if (o.fd >= 0) close(o.fd);
    if (!o.link.empty()) {
      refuseLink(name, o.link, "; nothing extracted");
      close(root);
      zip_discard(za);
      return 3;
    }
  }
  bool ok = true;
  for (zip_int64_t i = 0; i < count; ++i) {
    const std::string& name = names[static_cast<std::size_t>(i)];
    const std::string target = folder + "/" + name;
    const MemberPath p = splitName(name);
    const Opened o = openFolders(root, p.folders, true);
    if (o.fd < 0) {
      if (!o.link.empty())
        refuseLink(name, o.link, "");
      else
        std::fprintf(stderr, "Cannot create the folder for %s: %s\n", name.c_str(), std::strerror(o.err));
      ok = false;
      continue;
    }
    if (p.leaf.empty()) {  // a folder member
      close(o.fd);
      continue;
    }
    struct stat st;
    if (fstatat(o.fd, p.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      const bool overwrite = (block.flags & kOvrAlways)  ? true
                             : (block.flags & kOvrNever) ? false
                                                         : askOverwrite(name);
      if (!overwrite) {
        std::printf("skipped: %s\n", name.c_str());
        close(o.fd);
        continue;
      }
    }
    const auto index = static_cast<zip_uint64_t>(i);
    if (extract(za, index, o.fd, p.leaf, target, memberMode(za, index, umaskBits)))
      std::printf("extracted: %s\n", name.c_str());
    else
      ok = false;
    close(o.fd);
  }
  close(root);
  zip_discard(za);
  if (!ok) return 1;
  if (!block.message.empty() && !(block.flags & kNoSuccessMsg)) std::printf("%s\n", block.message.c_str());
  return 0;
}
