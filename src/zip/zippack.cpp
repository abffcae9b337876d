#include "zip/zippack.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <exception>
#include <map>
#include <memory>

#include "platform/busycursor.h"
#include "platform/cp1250.h"
#include "platform/cp852.h"
#include "platform/dialogs.h"
#include "platform/drives.h"
#include "platform/library.h"
#include "zip/passworddlg.h"
#include "zip/ziplayout.h"

namespace zip {

using namespace zpack;

QString zipMessageText(int id, const QString& extra) {
  return QStringLiteral("ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: ") +
         QString::number(id) + extra;
}

EZipPacker::EZipPacker(int id, const QString& extra)
    : std::runtime_error(zipMessageText(id, extra).toStdString()), id_(id) {}

namespace {

// The library, shared by every component.
struct LoadedLibrary {
  std::unique_ptr<platform::Library> lib;
  ExecFn exec = nullptr;
  VersionFn version = nullptr;
};
LoadedLibrary& library() {
  static LoadedLibrary l;
  return l;
}

const QString kLibraryFile = QStringLiteral("libzpack.so");

// The library calls back with the component's token; the token finds the component.
std::map<std::int32_t, TZipPacker*>& components() {
  static std::map<std::int32_t, TZipPacker*> m;
  return m;
}
std::int32_t nextToken() {
  static std::int32_t n = 0;
  return ++n;
}

std::int32_t zipCallback(unsigned char* record) {
  auto& m = components();
  auto it = m.find(getI32(record, cb::Caller));
  if (it == m.end()) return -1;  // no such component: stop the library
  return it->second->serveCallback(record);
}

// An exception raised by an event handler inside the callback, carried past the library.
std::exception_ptr& pendingException() {
  static std::exception_ptr e;
  return e;
}

using ziplayout::u16;
using ziplayout::u32;
bool signature(const unsigned char* p, std::uint8_t a, std::uint8_t b) {
  return p[0] == 'P' && p[1] == 'K' && p[2] == a && p[3] == b;
}

// A name not taken yet beside `target`, in the pattern of the program's temporary files (".",
// the name, ".", six letters or digits), which the start-up cleanup removes after a crash.
QString temporaryBeside(const QString& target) {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const QFileInfo t(target);
  for (;;) {
    QString tail;
    for (int i = 0; i < 6; ++i) tail += QLatin1Char(kChars[QRandomGenerator::global()->bounded(36)]);
    const QString name = t.absolutePath() + QStringLiteral("/.") + t.fileName() + QLatin1Char('.') + tail;
    if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink()) return name;
  }
}

// Gives a whole new file its name, never in place of a file that appeared meanwhile, and puts
// the name on the disk. 0, or the system's error.
int renameNew(const QString& from, const QString& to) {
  const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
  if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(f.constData(), t.constData()) != 0) return errno;  // no exclusive rename here
    ::unlink(f.constData());
  }
  const int dir = ::open(QFile::encodeName(QFileInfo(to).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 0;
}

}  // namespace

TZipPacker::TZipPacker(platform::DialogDriver& dialogs) : token_(nextToken()), dialogs_(dialogs) {
  components()[token_] = this;
}

TZipPacker::~TZipPacker() { components().erase(token_); }

void TZipPacker::setFSpecArgs(const QStringList& texts) {
  FSpecArgs.clear();
  for (const auto& t : texts) addFSpecArg(t);
}

void TZipPacker::addFSpecArg(const QString& text) { FSpecArgs.push_back(FileSpec::parse(text.toStdString())); }

void TZipPacker::addFileSpec(const QString& folder, const QString& mask) {
  FSpecArgs.push_back(FileSpec::plain(QDir(folder).filePath(mask).toStdString()));
}

void TZipPacker::setZipFileName(const QString& name) {
  zipFileName_ = name;
  List();
}

void TZipPacker::setPassword(const std::string& cp1250) { password_ = cp1250.substr(0, 80); }

void TZipPacker::setDLLDirectory(const QString& folder) {
  dllDirectory_ = folder;
  while (dllDirectory_.size() > 1 && (dllDirectory_.endsWith('/') || dllDirectory_.endsWith('\\')))
    dllDirectory_.chop(1);
}

void TZipPacker::setPasswordReqCount(int n) { passwordReqCount_ = std::min(n, 15); }

void TZipPacker::ShowZipMessage(int id, const QString& extra) {
  const QString text = zipMessageText(id, extra);
  ErrCode = id;
  Message = text;
  if (!Unattended) dialogs_.showMessage(text);
  if (OnMessage) OnMessage(0, text);
}

bool TZipPacker::LoadZPack() {
  LoadedLibrary& l = library();
  if (l.lib) return true;
  // Only the library folder the component is given, else the program's own folder: never the
  // working folder or a search path, where a planted file would be run.
  const QString folder = !dllDirectory_.isEmpty() && QFileInfo::exists(QDir(dllDirectory_).filePath(kLibraryFile))
                             ? dllDirectory_
                             : platform::Library::programFolder();
  auto lib = std::make_unique<platform::Library>(QStringLiteral("zpack"), folder);
  if (!lib->load()) {
    ShowZipMessage(10604);
    return false;
  }
  if (Trace) ShowZipMessage(10601);
  auto exec = reinterpret_cast<ExecFn>(lib->resolve("ZPackExec"));
  if (!exec) {
    ShowZipMessage(10602);
    return false;
  }
  auto version = reinterpret_cast<VersionFn>(lib->resolve("GetZPackVersion"));
  if (!version) {
    ShowZipMessage(10603);
    return false;
  }
  l.lib = std::move(lib);
  l.exec = exec;
  l.version = version;
  return true;
}

void TZipPacker::UnloadZPack() {
  LoadedLibrary& l = library();
  l.exec = nullptr;
  l.version = nullptr;
  l.lib.reset();
}

std::int32_t TZipPacker::ZPackVersion() {
  const bool here = !library().lib;
  if (here && !LoadZPack()) return 0;
  const std::int32_t v = library().version();
  if (here) UnloadZPack();
  return v;
}

ZipSwitches TZipPacker::switches() const {
  ZipSwitches sw;
  sw.attended = !Unattended;
  sw.caller = token_;
  sw.callback = reinterpret_cast<const void*>(&zipCallback);
  sw.trace = Trace;
  sw.verbose = Verbose;
  sw.password = password_;
  sw.suffixes = storeSuffixText(AddStoreSuffixes);
  sw.options = AddOptions;
  sw.level = AddCompLevel;
  sw.archiveName = zipFileName_.toStdString();
  sw.tempDir = TempDir.toStdString();
  sw.comment = ArchiveComment;
  sw.rootDir = RootDir.toStdString();
  for (const auto& x : FSpecArgsExcl) sw.exclusions.push_back(x.toStdString());
  return sw;
}

void TZipPacker::Add() {
  // A run is going on (its callback let this call through): nothing happens, and its lists stay.
  if (busy_) return;
  AddedCount = 0;
  lastError_.clear();
  bool loadedHere = false;
  // Whatever way the call ends, the lists are empty and the component is ready for the next.
  struct Cleanup {
    TZipPacker& z;
    bool& loadedHere;
    ~Cleanup() {
      z.FSpecArgs.clear();
      z.FSpecArgsExcl.clear();
      if (loadedHere) z.UnloadZPack();
      z.busy_ = false;
      z.cancel_ = false;
    }
  } cleanup{*this, loadedHere};

  if (FSpecArgs.empty()) return ShowZipMessage(10301);
  if (zipFileName_.isEmpty()) return ShowZipMessage(10102);
  if (Unattended && (AddOptions & AddEncrypt) && password_.empty()) return ShowZipMessage(10302);
  const bool exe = zipFileName_.toUpper().endsWith(QStringLiteral(".EXE"));
  if (AddOptions & (AddDiskSpan | AddDiskSpanErase)) {
    if (AddOptions & (AddFreshen | AddUpdate)) return ShowZipMessage(10303);
    if (exe) return ShowZipMessage(11041);
  }
  const bool span = AddOptions & (AddDiskSpan | AddDiskSpanErase);
  // Spanning: the library writes a temporary archive, which is copied onto the disks afterwards
  // and deleted in every case.
  struct Temporary {
    QString path;
    ~Temporary() {
      if (!path.isEmpty()) QFile::remove(path);
    }
  } temporary;
  if (span) {
    const QString folder = TempDir.isEmpty() ? QDir::tempPath() : TempDir;
    QTemporaryFile t(QDir(folder).filePath(QStringLiteral("zipXXXXXX.zip")));
    t.setAutoRemove(false);
    // An empty archive for the library to add to; its user's only.
    const std::string empty = ziplayout::emptyEndRecord(0);
    if (!t.open() || t.write(empty.data(), qint64(empty.size())) != qint64(empty.size()) || !t.flush())
      throw EZipPacker(11001, QStringLiteral("\n") + t.fileName());
    temporary.path = t.fileName();
    if (Verbose && OnMessage) OnMessage(0, QStringLiteral("Temporary zipfile: ") + temporary.path);
  }
  // A new self-extracting archive starts as the stub with an empty archive behind it, made under
  // a temporary name in its folder; the library adds to that, and only a whole program takes the
  // archive's name. A failure leaves nothing behind, a crash only that temporary.
  struct NewProgram {
    QString path;
    ~NewProgram() {
      if (!path.isEmpty()) QFile::remove(path);
    }
  } newProgram;
  if (exe && !QFileInfo::exists(zipFileName_)) {
    const QString made = temporaryBeside(zipFileName_);
    if (convertToSFX(true, made) != 0) throw EZipPacker(10304);
    newProgram.path = made;
  }

  if (!library().lib) {
    loadedHere = true;
    if (!LoadZPack()) return;
  }
  busy_ = true;
  cancel_ = false;
  const std::int32_t version = library().version();

  ZipSwitches sw = switches();
  // With spanning the sources are deleted only once the set is written, never before.
  collectMoved_ = span && (AddOptions & AddMove);
  moved_.clear();
  if (span) {
    sw.archiveName = temporary.path.toStdString();
    sw.options &= ~std::uint32_t(AddMove);
  }
  if (!newProgram.path.isEmpty()) sw.archiveName = newProgram.path.toStdString();
  BuiltRecord built = buildRecord(sw, FSpecArgs, version);
  if (!built.ok) return ShowZipMessage(10301);

  const Call call{built.record.data(), static_cast<std::uint32_t>(built.record.size()), built.table.entries().data(),
                  built.table.count()};
  pendingException() = nullptr;
  AddedCount = library().exec(&call);
  collectMoved_ = false;
  if (auto e = pendingException()) {
    pendingException() = nullptr;
    AddedCount = 0;
    std::rethrow_exception(e);
  }
  if (!newProgram.path.isEmpty() && AddedCount > 0) {
    if (const int err = renameNew(newProgram.path, zipFileName_)) {
      AddedCount = 0;
      lastError_ = QStringLiteral("Cannot write archive: ") + zipFileName_ + QStringLiteral(" (") +
                   QString::fromLocal8Bit(std::strerror(err)) + QLatin1Char(')');
    } else {
      newProgram.path.clear();
    }
  }
  if (span && AddedCount > 0) {
    try {
      WriteSpan(temporary.path, zipFileName_);
    } catch (...) {
      AddedCount = 0;
      throw;
    }
    for (const auto& file : moved_) QFile::remove(file);
  }
  if (AddedCount > 0) {
    List();
  } else if (!lastError_.isEmpty() && !Unattended) {
    // The library's own reason for adding nothing, which would otherwise go unseen.
    dialogs_.showMessage(lastError_);
  }
}

std::int32_t TZipPacker::serveCallback(unsigned char* rec) {
  try {
    QString text = QString::fromUtf8(callbackText(rec));
    while (text.endsWith(' ')) text.chop(1);
    const std::int32_t action = getI32(rec, cb::Action);
    const std::int32_t code = getI32(rec, cb::Error);
    const std::int32_t size = getI32(rec, cb::Size);
    switch (action) {
      case ActProgressStart:
        if (collectMoved_) moved_.push_back(text);
        if (OnProgress) OnProgress(0, text, size);
        break;
      case ActProgress:
        if (OnProgress) OnProgress(1, {}, size);
        break;
      case ActProgressEnd:
        if (OnProgress) OnProgress(2, {}, 0);
        break;
      case ActMessage:
      case ActSkipped:
        Message = text;
        if (code != 0) {
          ErrCode = code & 0xFF;
          FullErrCode = code;
          lastError_ = text;
        }
        if (action == ActMessage && OnMessage) OnMessage(code, text);
        if (action == ActSkipped && OnExtractSkipped) OnExtractSkipped(text, code);
        break;
      case ActTotalFiles:
        if (OnProgress) OnProgress(3, {}, size);
        break;
      case ActTotalSize:
        TotalSize = size;
        if (OnProgress) OnProgress(4, {}, size);
        break;
      case ActNewName: {
        bool changed = false;
        QString name = text;
        if (OnSetNewName) OnSetNewName(name, changed);
        if (changed) putCallbackText(rec, name.toStdString());
        putI32(rec, cb::Error, changed ? 1 : 0);
        break;
      }
      case ActPassword: {
        // The handler answers when there is one; otherwise the user, in the password window.
        QString answer;
        int repeat = passwordReqCount_;
        if (OnPasswordError) OnPasswordError(answer, repeat);
        else answer = cp1250::toQ(askPassword(true, true));
        const std::string pw = cp1250::fromUnicode(answer).substr(0, 80);
        if (!pw.empty()) putCallbackText(rec, pw);
        putI32(rec, cb::Error, pw.empty() ? 0 : 1);
        putI32(rec, cb::Size, std::clamp(repeat, 0, 15));
        break;
      }
      case ActCrcError: {
        bool doExtract = true;
        if (OnCRC32Error) {
          OnCRC32Error(text, doExtract);
          putI32(rec, cb::Error, doExtract ? 1 : 0);
        } else {
          putI32(rec, cb::Error, 2);
        }
        break;
      }
      case ActOverwrite: {
        std::int32_t answer = size;
        if (OnExtractOverwrite) OnExtractOverwrite(text, answer);
        putI32(rec, cb::Size, answer);
        break;
      }
      case ActComment: {
        bool changed = false;
        QString comment = text;
        if (OnFileComment) OnFileComment(comment, changed);
        if (changed) putCallbackText(rec, cp1250::fromUnicode(comment));
        break;
      }
      default:
        break;
    }
    // The window keeps painting, but no click or key reaches the program while the library runs.
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  } catch (...) {
    if (!pendingException()) pendingException() = std::current_exception();
    cancel_ = true;
  }
  return cancel_ ? -1 : 0;
}

void TZipPacker::List() {
  dir_.clear();
  TotalSize = 0;
  ArchiveComment.clear();
  if (zipFileName_.isEmpty() || !QFileInfo::exists(zipFileName_)) {
    if (OnDirUpdate) OnDirUpdate();
    return;
  }
  platform::BusyCursor hourglass;
  QFile f(zipFileName_);
  if (!f.open(QIODevice::ReadOnly)) throw EZipPacker(11008);
  const qint64 size = f.size();
  if (size < 22) throw EZipPacker(11008);
  auto readAt = [&](qint64 pos, qint64 n) {
    QByteArray b;
    if (pos < 0 || n < 0 || pos + n > size || !f.seek(pos)) return b;
    b = f.read(n);
    return b;
  };

  const ziplayout::EndRecord er = ziplayout::findEndRecord(
      [&](std::int64_t pos, void* out, std::size_t n) {
        const QByteArray b = readAt(pos, static_cast<qint64>(n));
        if (b.size() != static_cast<qint64>(n)) return false;
        std::memcpy(out, b.constData(), n);
        return true;
      },
      size);
  const qint64 eocd = er.pos;
  const std::uint32_t cdSize = er.cdSize, cdOffset = er.cdOffset;
  const std::uint16_t entries = er.entries, commentLen = er.commentLen;
  const bool zip64 = er.zip64;
  if (eocd < 0) {
    f.close();
    if (listSpanned()) return;
    throw EZipPacker(11008);
  }
  if (zip64) throw EZipPacker(11011);
  const QByteArray comment = readAt(eocd + 22, commentLen);
  ArchiveComment.assign(comment.constData(), static_cast<std::size_t>(comment.size()));
  if (eocd + 22 + commentLen < size) ShowZipMessage(10204);
  const qint64 cdStart = eocd - cdSize;
  if (cdStart != cdOffset) ShowZipMessage(10203);

  const QByteArray cd = readAt(cdStart, cdSize);
  if (cd.size() != static_cast<qint64>(cdSize)) throw EZipPacker(10201);
  const auto* c = reinterpret_cast<const unsigned char*>(cd.constData());
  std::size_t at = 0;
  const std::size_t end = cd.size();
  auto decode = [&](const std::string& bytes, std::uint16_t flag, std::uint16_t madeBy) {
    if (flag & 0x0800) return QString::fromUtf8(bytes);
    const int host = madeBy >> 8;
    const bool dos = host == 0 || host == 6 || host == 11 || host == 14;
    if (CodePage == TCodePage::cpOEM || (CodePage == TCodePage::cpAuto && dos)) return cp852::toUnicode(bytes);
    return cp1250::toQ(bytes);
  };
  std::vector<ZPackDirEntry> list;
  for (std::uint16_t i = 0; i < entries; ++i) {
    if (end - at < 46) throw EZipPacker(11013);
    const unsigned char* h = c + at;
    if (!signature(h, 1, 2)) throw EZipPacker(11015);
    ZPackDirEntry e;
    e.MadeByVersion = u16(h + 4);
    e.NeedVersion = u16(h + 6);
    e.Flag = u16(h + 8);
    e.ComprMethod = u16(h + 10);
    e.ModifTime = u16(h + 12);
    e.ModifDate = u16(h + 14);
    e.CRC32 = u32(h + 16);
    e.ComprSize = u32(h + 20);
    e.UncomprSize = u32(h + 24);
    e.FileNameLength = u16(h + 28);
    e.ExtraFieldLength = u16(h + 30);
    e.FileCommentLen = u16(h + 32);
    e.StartOnDisk = u16(h + 34);
    e.IntFileAttrib = u16(h + 36);
    e.ExtFileAttrib = u32(h + 38);
    e.RelOffLocalHdr = u32(h + 42);
    at += 46;
    if (end - at < e.FileNameLength) throw EZipPacker(11017);
    const std::string name(reinterpret_cast<const char*>(c + at), e.FileNameLength);
    at += e.FileNameLength;
    if (end - at < e.ExtraFieldLength) throw EZipPacker(10201);
    e.ExtraData.assign(reinterpret_cast<const char*>(c + at), e.ExtraFieldLength);
    at += e.ExtraFieldLength;
    if (end - at < e.FileCommentLen) throw EZipPacker(11022);
    const std::string fileComment(reinterpret_cast<const char*>(c + at), e.FileCommentLen);
    at += e.FileCommentLen;
    e.FileName = decode(name, e.Flag, e.MadeByVersion);
    e.FileComment = decode(fileComment, e.Flag, e.MadeByVersion);
    e.Encrypted = e.Flag & 1;
    TotalSize += e.UncomprSize;
    if (e.FileName.endsWith('/') && !UseDirOnlyEntries) continue;
    list.push_back(std::move(e));
  }
  f.close();
  dir_ = std::move(list);
  for (std::size_t i = 0; i < dir_.size(); ++i)
    if (OnNewName) OnNewName(static_cast<int>(i + 1), dir_[i]);
  if (OnDirUpdate) OnDirUpdate();
}

// A disk of a spanned set whose end record lies on another disk: the last disk is asked for
// and read instead.
bool TZipPacker::listSpanned() {
  platform::Drives& d = drives();
  if (d.kind(zipFileName_) != platform::DriveKind::Removable) return false;
  const auto label = d.volumeLabel(zipFileName_);
  if (!label || !label->startsWith(QStringLiteral("PKBACK# "))) return false;
  CheckForDisk(zipFileName_, 0, true);
  List();
  return true;
}

std::string TZipPacker::askPassword(bool add, bool inCallback) {
  if (Unattended) {
    ShowZipMessage(add ? 10150 : 10151);
    return {};
  }
  // The window's caption and prompts: the only message texts the component holds.
  auto ask = [this](const QString& prompt) -> QString {
    TPasswordDlg dlg(QStringLiteral("Password"), prompt);
    return dialogs_.showModal(dlg) == platform::mrOk ? dlg.password() : QString();
  };
  const QString first = ask(QStringLiteral("Enter password:"));
  if (first.isEmpty()) return {};
  if (add) {
    const QString second = ask(QStringLiteral("Confirm password:"));
    if (second.isEmpty()) return {};
    if (second != first) {
      ShowZipMessage(10104);
      return {};
    }
  }
  const std::string answer = cp1250::fromUnicode(first).substr(0, 80);
  if (!inCallback) setPassword(answer);
  return answer;
}

}  // namespace zip
