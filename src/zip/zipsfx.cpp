// Self-extracting archives: the stub program, the parameter block behind it, and the archive
// copied after both with its offsets moved. The output is written whole or not at all: until the
// last byte is on the disk, the old output (if any) stays as it was.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "platform/busycursor.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/library.h"
#include "platform/shell.h"
#include "platform/wholefile.h"
#include "zip/ziplayout.h"
#include "zip/zippack.h"

namespace zip {

namespace {

using ziplayout::u16;
using ziplayout::u32;

const char kStubName[] = "ZPACKSFX.BIN";

// The offset of the stub's 744-byte icon image in a PE file's resources, or -1 when it has none.
std::int64_t iconImageOffset(const std::string& pe) {
  const auto* b = reinterpret_cast<const unsigned char*>(pe.data());
  const std::size_t n = pe.size();
  auto fits = [&](std::uint64_t at, std::uint64_t len) { return at <= n && len <= n - at; };
  if (!fits(0, 0x40) || b[0] != 'M' || b[1] != 'Z') return -1;
  const std::uint32_t peAt = u32(b + 0x3C);
  if (!fits(peAt, 24) || std::memcmp(b + peAt, "PE\0\0", 4) != 0) return -1;
  const std::uint16_t sections = u16(b + peAt + 6);
  const std::uint16_t optSize = u16(b + peAt + 20);
  const std::uint64_t opt = peAt + 24;
  if (!fits(opt, optSize) || optSize < 2) return -1;
  const std::uint16_t magic = u16(b + opt);
  const std::uint64_t dirs = opt + (magic == 0x20b ? 112 : 96);  // the data directories
  if (dirs + 3 * 8 > opt + optSize) return -1;
  const std::uint32_t resRva = u32(b + dirs + 2 * 8);  // the resource directory's entry
  if (resRva == 0) return -1;
  // Sections map relative addresses to file offsets.
  const std::uint64_t table = opt + optSize;
  if (!fits(table, std::uint64_t(sections) * 40)) return -1;
  auto fileOffset = [&](std::uint32_t rva) -> std::int64_t {
    for (std::uint16_t i = 0; i < sections; ++i) {
      const unsigned char* s = b + table + i * 40;
      const std::uint32_t va = u32(s + 12), vsize = std::max(u32(s + 8), u32(s + 16)), raw = u32(s + 20);
      if (rva >= va && rva - va < vsize) return std::int64_t(raw) + (rva - va);
    }
    return -1;
  };
  const std::int64_t root = fileOffset(resRva);
  if (root < 0) return -1;
  // A resource directory: 16 bytes, then named and numbered entries of 8 bytes.
  auto entries = [&](std::int64_t dir, auto&& each) {
    if (!fits(std::uint64_t(dir), 16)) return;
    const unsigned count = u16(b + dir + 12) + u16(b + dir + 14);
    for (unsigned i = 0; i < count && fits(std::uint64_t(dir) + 16 + i * 8, 8); ++i) {
      const unsigned char* e = b + dir + 16 + i * 8;
      if (each(u32(e), u32(e + 4))) return;
    }
  };
  std::int64_t found = -1;
  constexpr std::uint32_t kSub = 0x80000000u, kIconType = 3;
  entries(root, [&](std::uint32_t id, std::uint32_t to) {
    if (id != kIconType || !(to & kSub)) return false;
    entries(root + (to & ~kSub), [&](std::uint32_t, std::uint32_t byName) {
      if (!(byName & kSub)) return false;
      entries(root + (byName & ~kSub), [&](std::uint32_t, std::uint32_t data) {
        if (data & kSub || !fits(std::uint64_t(root) + data, 16)) return false;
        const unsigned char* d = b + root + data;
        if (u32(d + 4) != kSFXIconSize) return false;
        const std::int64_t at = fileOffset(u32(d));
        if (at < 0 || !fits(std::uint64_t(at), kSFXIconSize)) return false;
        found = at;
        return true;
      });
      return found >= 0;
    });
    return true;
  });
  return found;
}

// A file of this name in the folder, whatever the case of its letters.
QString inFolderIgnoringCase(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return {};
  const QDir d(folder);
  for (const auto& e : d.entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
    if (e.fileName().compare(name, Qt::CaseInsensitive) == 0) return e.absoluteFilePath();
  return {};
}

}  // namespace

bool TZipPacker::setSFXIcon(const std::string& dib) {
  if (dib.empty()) {
    sfxIcon_.clear();
    return true;
  }
  const auto* h = reinterpret_cast<const unsigned char*>(dib.data());
  // BITMAPINFOHEADER: an icon's image is twice its height (the picture and its mask).
  const bool fits = dib.size() == kSFXIconSize && u32(h) == 40 && u32(h + 4) == 32 && u32(h + 8) == 64 &&
                    u16(h + 12) == 1 && u16(h + 14) == 4;
  if (fits) sfxIcon_ = dib;
  return fits;
}

std::string TZipPacker::SFXParameterBlock() const {
  std::uint8_t flags = 0;
  const std::pair<std::uint32_t, std::uint8_t> bits[] = {
      {SFXAskCmdLine, 0x01}, {SFXAskFiles, 0x02},  {SFXHideOverWriteBox, 0x04},
      {SFXCheckSize, 0x20},  {SFXAutoRun, 0x40},   {SFXNoSuccessMsg, 0x80},
  };
  for (const auto& [option, bit] : bits)
    if (SFXOptions & option) flags |= bit;
  if (SFXOverWriteMode == TSFXOverWriteMode::OvrAlways) flags |= 0x08;
  if (SFXOverWriteMode == TSFXOverWriteMode::OvrNever) flags |= 0x10;
  std::string block = {'M', 'P', 'V', static_cast<char>(flags), 0, 1, 0, 0};
  for (const QString* s : {&SFXCaption, &SFXDefaultDir, &SFXCommandLine, &SFXMessage}) {
    const std::string bytes = cp1250::fromUnicode(*s);
    block += static_cast<char>(std::min<std::size_t>(bytes.size(), 255));
    block += bytes.substr(0, 255);
  }
  block[6] = static_cast<char>(block.size() & 0xFF);
  block[7] = static_cast<char>(block.size() >> 8);
  return block;
}

QString TZipPacker::findStub() const {
  const QString program = platform::Library::programFolder();
  if (!SFXPath.isEmpty()) {
    const QString path = QDir::isAbsolutePath(SFXPath) ? SFXPath : QDir(program).filePath(SFXPath);
    if (QFileInfo(path).isFile()) return path;
  }
  // Never the working folder: a file dropped there would ship inside the user's archive.
  for (const QString& folder : {program, dllDirectory_}) {
    const QString found = inFolderIgnoringCase(folder, QString::fromLatin1(kStubName));
    if (!found.isEmpty()) return found;
  }
  return {};
}

void TZipPacker::discard(const QString& path) {
  if (!QFileInfo::exists(path)) return;
  static platform::DesktopShell desktop;
  platform::Shell& shell = shell_ ? *shell_ : desktop;
  if (HowToDelete == THowToDelete::htdAllowUndo && shell.moveToTrash(path)) return;
  QFile::remove(path);
}

int TZipPacker::ConvertToSFX() { return convertToSFX(false); }

int TZipPacker::convertToSFX(bool fromAdd, const QString& newProgram) {
  for (const QString* s : {&SFXCaption, &SFXDefaultDir, &SFXCommandLine, &SFXMessage}) {
    if (s->size() > 255) {
      const std::size_t whole = 8 + 4 + SFXCaption.size() + SFXDefaultDir.size() + SFXCommandLine.size() +
                                SFXMessage.size();
      ShowZipMessage(10801, QStringLiteral("\r\nSFXCaption + SFXDefaultDir + SFXCommandLine + SFXMessage = ") +
                                QString::number(whole + 1));
      return 10801;
    }
  }
  const QString stub = findStub();
  if (stub.isEmpty()) {
    ShowZipMessage(10802);
    return 10802;
  }
  SFXPath = stub;
  const std::string block = SFXParameterBlock();
  QString output = fromAdd ? newProgram : zipFileName_;
  if (!fromAdd) {
    if (!zipFileName_.toUpper().endsWith(QStringLiteral(".ZIP"))) {
      ShowZipMessage(10803);
      return 10803;
    }
    output = zipFileName_.left(zipFileName_.size() - 4) + QStringLiteral(".exe");
  }

  platform::BusyCursor hourglass;
  QFile in(stub);
  if (!in.open(QIODevice::ReadOnly)) throw EZipPacker(11013, QStringLiteral("\n") + stub);
  const QByteArray stubBytes = in.readAll();
  in.close();
  stream_.bytes().assign(stubBytes.constData(), static_cast<std::size_t>(stubBytes.size()));
  if (!sfxIcon_.empty()) {
    const std::int64_t at = iconImageOffset(stream_.bytes());
    if (at >= 0) stream_.bytes().replace(static_cast<std::size_t>(at), kSFXIconSize, sfxIcon_);
  }
  const std::int64_t prefix = stream_.Size() + static_cast<std::int64_t>(block.size());

  try {
    platform::WholeFileWriter out(output, fromAdd ? platform::WriteMode::CreateOnly : platform::WriteMode::Replace,
                                  platform::FileAccess::OwnerOnlyProgram);
    out.write(stream_.bytes());
    stream_.Clear();
    out.write(block);
    if (fromAdd) {
      out.write(ziplayout::emptyEndRecord(static_cast<std::uint32_t>(prefix)));
    } else {
      QFile archive(zipFileName_);
      if (!archive.open(QIODevice::ReadOnly)) throw EZipPacker(11001, QStringLiteral("\n") + zipFileName_);
      const std::int64_t size = archive.size();
      if (OnProgress) OnProgress(0, zipFileName_, size);
      std::int64_t reported = 0;
      int err = ziplayout::copyShifted(
          [&](std::int64_t pos, void* to, std::size_t n) {
            return archive.seek(pos) && archive.read(static_cast<char*>(to), static_cast<qint64>(n)) == qint64(n);
          },
          size, prefix,
          [&](const void* data, std::size_t n) {
            out.write(std::string_view(static_cast<const char*>(data), n));
            return true;
          },
          [&](std::int64_t done) {
            if (OnProgress) OnProgress(1, {}, done - reported);
            reported = done;
            // The window keeps painting; no click or key reaches the program meanwhile.
            if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return true;
          });
      if (err) throw EZipPacker(err);
      if (OnProgress) OnProgress(2, {}, 0);
    }
    out.commit([&] { discard(output); });
  } catch (const platform::IoError& e) {
    stream_.Clear();
    throw EZipPacker(11029, QStringLiteral("\n") + QString::fromUtf8(e.what()));
  }
  return 0;
}

}  // namespace zip
