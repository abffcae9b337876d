// Disk spanning: a finished archive copied onto a set of disks, or onto numbered files beside the
// target on a fixed drive. Each disk starts whole: a local header with its name and extra field,
// and the central directory with the end record, never straddle two disks unless one disk cannot
// hold them at all; file data runs on across disks. Central entries are paired with their local
// headers by offset (names may repeat), sizes come from the central directory, and a data
// descriptor is recognised by its signature.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <thread>

#include <unistd.h>

#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/drives.h"
#include "zip/ziplayout.h"
#include "zip/zippack.h"

namespace zip {

namespace {

using ziplayout::put16;
using ziplayout::put32;
using ziplayout::u16;
using ziplayout::u32;

void serveOnlyPainting() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::atomic<bool> g_formatting{false};

}  // namespace

// The split writer: moves on to the next disk whenever the current one is full.
class SpanOut {
 public:
  SpanOut(std::function<std::pair<QString, std::int64_t>(int)> nextDisk) : nextDisk_(std::move(nextDisk)) {}

  // Makes room for n bytes that should stay on one disk; true when they will.
  void keepTogether(std::int64_t n) {
    if (disk_ == 0 || (onDisk_ > 0 && n > room_ - onDisk_)) next();
  }
  void write(const char* p, std::int64_t n, int failId) {
    if (disk_ == 0) next();
    while (n > 0) {
      if (onDisk_ >= room_) next();
      const std::int64_t k = std::min(n, room_ - onDisk_);
      if (file_.write(p, k) != k) throw EZipPacker(failId, QStringLiteral("\n") + file_.fileName());
      p += k;
      n -= k;
      onDisk_ += k;
    }
  }
  int diskIndex() const { return disk_ - 1; }  // from 0, as the headers count
  // The parts written as files beside the target in this run: a set that fails takes them away,
  // so that no incomplete set passes for a backup.
  void keepFiles(bool files) { files_ = files; }
  void discardWritten() {
    file_.close();
    for (const auto& p : written_) QFile::remove(p);
  }
  std::int64_t offset() const { return onDisk_; }
  // A finished part is on the disk before the next is asked for (a removable one is taken out).
  void finish() {
    if (file_.isOpen() &&
        (!file_.flush() || file_.error() != QFileDevice::NoError || ::fsync(file_.handle()) != 0))
      throw EZipPacker(11023, QStringLiteral("\n") + file_.fileName());
    file_.close();
  }

 private:
  void next() {
    finish();
    ++disk_;
    auto [path, room] = nextDisk_(disk_);
    file_.setFileName(path);
    // A part is its user's only.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
      throw EZipPacker(11012, QStringLiteral("\n") + path);
    if (files_) written_.push_back(path);
    room_ = std::max<std::int64_t>(room, 1);
    onDisk_ = 0;
  }

  std::function<std::pair<QString, std::int64_t>(int)> nextDisk_;
  QFile file_;
  bool files_ = false;
  std::vector<QString> written_;
  int disk_ = 0;
  std::int64_t room_ = 0, onDisk_ = 0;
};

bool FormatThread::run(platform::Drives& drives, const QString& path, const QString& label) {
  bool expected = false;
  if (!g_formatting.compare_exchange_strong(expected, true)) return false;
  std::atomic<bool> done{false};
  bool result = false;
  std::thread t([&] {
    result = drives.format(path, label);
    done = true;
  });
  while (!done) {
    serveOnlyPainting();
    QThread::msleep(5);
  }
  t.join();
  g_formatting = false;
  return result;
}

QString spanLabel(int number) { return QStringLiteral("PKBACK# %1").arg(number, 3, 10, QLatin1Char('0')); }

QString spanPartName(const QString& target, int number) {
  const QFileInfo fi(target);
  const QString name = fi.fileName();
  const int dot = name.lastIndexOf('.');
  QString stem = dot > 0 ? name.left(dot) : name;
  const QString ext = dot > 0 ? name.mid(dot) : QString();
  if (stem.size() >= 3) stem.chop(3);
  return QDir(fi.path()).filePath(stem + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')) + ext);
}

platform::Drives& TZipPacker::drives() {
  static platform::SystemDrives system;
  return drives_ ? *drives_ : system;
}

void TZipPacker::CheckForDisk(const QString& target, int disk, bool last) {
  serveOnlyPainting();
  platform::Drives& d = drives();
  if (d.kind(target) != platform::DriveKind::Removable) return;
  if (Unattended) throw EZipPacker(11025);
  const QString drive = d.driveName(target);
  for (;;) {
    QString text = last               ? QStringLiteral("Please insert last disk in set")
                   : spanTotal_ > 0   ? QStringLiteral("Please insert disk volume %1 of %2").arg(disk).arg(spanTotal_)
                                      : QStringLiteral("Please insert disk volume %1").arg(disk);
    text += QStringLiteral("\r\nin drive: %1").arg(drive);
    bool ok = false;
    if (OnGetNextDisk) {
      bool abort = false;
      OnGetNextDisk(disk, spanTotal_, drive, abort);
      ok = !abort;
    } else {
      ok = dialogs_.messageBox(text, QCoreApplication::applicationName(), platform::MsgButtons::OkCancel,
                               last ? platform::MsgIcon::Error : platform::MsgIcon::None) == platform::IdOk;
    }
    if (!ok) throw EZipPacker(11007);
    if (d.ready(target)) return;
  }
}

int TZipPacker::askOverwrite(int disk, const QString& file, const QString& question) {
  int answer = 0;
  if (OnStatusDisk) OnStatusDisk(disk, file, question, answer);
  if (answer != 0) return answer;
  if (Unattended) throw EZipPacker(11025);
  return dialogs_.messageBox(question, QStringLiteral("Confirm"), platform::MsgButtons::YesNoCancel,
                             platform::MsgIcon::Question);
}

TZipPacker::DiskSlot TZipPacker::GetNewDisk(const QString& target, int disk) {
  platform::Drives& d = drives();
  const bool removable = d.kind(target) == platform::DriveKind::Removable;
  for (;;) {
    if (cancel_) throw EZipPacker(11007);
    const QString path = removable ? target : spanPartName(target, disk);
    if (removable) {
      CheckForDisk(target, disk, false);
      if ((AddOptions & AddDiskSpanErase) && !FormatThread::run(d, target, spanLabel(disk)))
        throw EZipPacker(11005, QStringLiteral("\n") + d.driveName(target));
    }
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
      const auto label = removable ? d.volumeLabel(target) : std::nullopt;
      const bool ofSet = label && label->startsWith(QStringLiteral("PKBACK# "));
      const QString question = ofSet ? QStringLiteral("Overwrite previous disk no %1").arg(label->mid(8).toInt())
                                     : QStringLiteral("Overwrite previous file %1").arg(path);
      const int answer = askOverwrite(disk, path, question);
      if (answer == platform::IdNo && removable) continue;  // another disk
      if (answer != platform::IdYes) throw EZipPacker(11007);
      if (!QFile::remove(path)) throw EZipPacker(11012, QStringLiteral("\n") + path);
    }
    if (removable && !d.setVolumeLabel(target, spanLabel(disk))) throw EZipPacker(11005);
    const std::int64_t free = d.freeSpace(path) - (disk == 1 ? KeepFreeOnDisk1 : 0);
    if (free < MinFreeVolumeSize) {
      if (Unattended) throw EZipPacker(11025);
      const int answer =
          dialogs_.messageBox(QStringLiteral("This disk has not enough free space available"),
                              QCoreApplication::applicationName(), platform::MsgButtons::RetryCancel,
                              platform::MsgIcon::Warning);
      if (answer != platform::IdRetry) throw EZipPacker(11007);
      continue;
    }
    return {path, MaxVolumeSize > 0 ? std::min(free, MaxVolumeSize) : free};
  }
}

int TZipPacker::WriteSpan(const QString& temporary, const QString& target) {
  platform::BusyCursor hourglass;
  QFile in(temporary);
  if (!in.open(QIODevice::ReadOnly)) throw EZipPacker(11001, QStringLiteral("\n") + temporary);
  const std::int64_t size = in.size();
  const ziplayout::ReadAt read = [&](std::int64_t pos, void* out, std::size_t n) {
    return pos >= 0 && in.seek(pos) && in.read(static_cast<char*>(out), static_cast<qint64>(n)) == qint64(n);
  };
  const ziplayout::EndRecord end = ziplayout::findEndRecord(read, size);
  if (end.pos < 0) throw EZipPacker(11008);
  if (end.zip64) throw EZipPacker(11011);
  std::vector<ziplayout::CentralEntry> central;
  if (int err = ziplayout::readCentral(read, end, central)) throw EZipPacker(err);

  // The expected number of disks, rounded up; none when no space can be seen.
  platform::Drives& d = drives();
  std::int64_t space = d.freeSpace(target);
  if (MaxVolumeSize > 0 && (space < 0 || space > MaxVolumeSize)) space = MaxVolumeSize;
  spanTotal_ = space > 0 ? static_cast<int>((size + 4 + KeepFreeOnDisk1 + space - 1) / space) : 0;

  SpanOut out([this, &target](int disk) {
    DiskSlot slot = GetNewDisk(target, disk);
    return std::make_pair(slot.path, slot.room);
  });
  out.keepFiles(d.kind(target) != platform::DriveKind::Removable);
  try {
    writeSpanParts(read, end, central, out);
  } catch (...) {
    out.discardWritten();
    throw;
  }
  return 0;
}

void TZipPacker::writeSpanParts(const ziplayout::ReadAt& read,
                                const ziplayout::EndRecord& end, std::vector<ziplayout::CentralEntry>& central,
                                SpanOut& out) {
  auto report = [&](const QString& text) {
    if (Verbose && OnMessage) OnMessage(0, text);
    serveOnlyPainting();
  };
  unsigned char sig[4];
  put32(sig, ziplayout::kSpanSig);
  out.write(reinterpret_cast<const char*>(sig), 4, 11012);

  // Local entries in the order they lie, each remembered by its offset.
  std::vector<std::size_t> order(central.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return central[a].localOffset < central[b].localOffset; });
  struct Place {
    int disk = 0;
    std::int64_t offset = 0;
  };
  std::vector<Place> placed(central.size());
  std::string block(ziplayout::kBlock, '\0');
  for (std::size_t i : order) {
    const auto& e = central[i];
    const std::int64_t at = end.difference() + e.localOffset;
    unsigned char h[ziplayout::kLocalSize];
    if (!read(at, h, sizeof h)) throw EZipPacker(11013);
    if (u32(h) != ziplayout::kLocalSig) throw EZipPacker(11015);
    const std::size_t rest = u16(h + 26) + u16(h + 28);
    std::string head(reinterpret_cast<const char*>(h), sizeof h);
    head.resize(sizeof h + rest);
    if (!read(at + static_cast<std::int64_t>(sizeof h), head.data() + sizeof h, rest)) throw EZipPacker(11017);
    report(QStringLiteral("Copying: ") + QString::fromUtf8(e.name()));
    out.keepTogether(static_cast<std::int64_t>(head.size()));
    placed[i] = {out.diskIndex(), out.offset()};
    out.write(head.data(), static_cast<std::int64_t>(head.size()), 11012);
    std::int64_t pos = at + static_cast<std::int64_t>(head.size());
    for (std::int64_t left = e.compressedSize; left > 0;) {
      const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, ziplayout::kBlock));
      if (!read(pos, block.data(), n)) throw EZipPacker(11018);
      out.write(block.data(), static_cast<std::int64_t>(n), 11018);
      pos += static_cast<std::int64_t>(n);
      left -= static_cast<std::int64_t>(n);
      serveOnlyPainting();
      if (cancel_) throw EZipPacker(11007);
    }
    if (e.flag & 0x08) {
      unsigned char desc[16];
      if (!read(pos, desc, 12)) throw EZipPacker(11019);
      std::size_t n = 12;
      if (u32(desc) == ziplayout::kSpanSig) {
        if (!read(pos, desc, 16)) throw EZipPacker(11019);
        n = 16;
      }
      out.write(reinterpret_cast<const char*>(desc), static_cast<std::int64_t>(n), 11019);
    }
  }

  // The directory and the end record, together on the last disk.
  report(QStringLiteral("Central directory"));
  std::string comment(end.commentLen, '\0');
  if (!read(end.pos + static_cast<std::int64_t>(ziplayout::kEndSize), comment.data(), comment.size()))
    throw EZipPacker(11044);
  out.keepTogether(end.cdSize + ziplayout::kEndSize + end.commentLen);
  const int cdDisk = out.diskIndex();
  const std::int64_t cdOffset = out.offset();
  for (std::size_t i = 0; i < central.size(); ++i) {
    auto& e = central[i];
    auto* h = reinterpret_cast<unsigned char*>(e.header.data());
    put16(h + 34, static_cast<std::uint16_t>(placed[i].disk));
    put32(h + 42, static_cast<std::uint32_t>(placed[i].offset));
    out.write(e.header.data(), static_cast<std::int64_t>(ziplayout::kCentralSize), 11020);
    out.write(e.header.data() + ziplayout::kCentralSize,
              static_cast<std::int64_t>(e.header.size() - ziplayout::kCentralSize), 11022);
  }
  unsigned char rec[ziplayout::kEndSize];
  if (!read(end.pos, rec, sizeof rec)) throw EZipPacker(11008);
  const int lastDisk = out.diskIndex();
  put16(rec + 4, static_cast<std::uint16_t>(lastDisk));
  put16(rec + 6, static_cast<std::uint16_t>(cdDisk));
  put16(rec + 8, cdDisk == lastDisk ? end.entries : 0);
  put32(rec + 16, static_cast<std::uint32_t>(cdOffset));
  out.write(reinterpret_cast<const char*>(rec), sizeof rec, 11023);
  out.write(comment.data(), static_cast<std::int64_t>(comment.size()), 11044);
  out.finish();
}

}  // namespace zip
