#pragma once
// TZipPacker, the zip component: it compresses nothing itself. It loads the zip library at run
// time, hands it the parameter record with the file patterns and options, serves the
// library's callbacks while it runs, and reads the archive's central directory back into a
// list of entries. Its errors are EZipPacker exceptions and numbered messages whose texts the
// program does not hold: every message shows the fallback text with its number.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "zip/ziplayout.h"
#include "zip/zpackrecord.h"

namespace platform {
class DialogDriver;
class Drives;
class Shell;
}

namespace zip {

class SpanOut;

// The text of a message number, with the extra text after it.
QString zipMessageText(int id, const QString& extra = {});

class EZipPacker : public std::runtime_error {
 public:
  EZipPacker(int id, const QString& extra = {});
  int id() const { return id_; }
  QString text() const { return QString::fromUtf8(what()); }

 private:
  int id_;
};

enum class TCodePage { cpAuto, cpNone, cpOEM };

// One member of the archive: the 42 bytes after a central directory header's signature, and what follows.
struct ZPackDirEntry {
  std::uint16_t MadeByVersion = 0, NeedVersion = 0, Flag = 0, ComprMethod = 0, ModifTime = 0, ModifDate = 0;
  std::uint32_t CRC32 = 0, ComprSize = 0, UncomprSize = 0;
  std::uint16_t FileNameLength = 0, ExtraFieldLength = 0, FileCommentLen = 0, StartOnDisk = 0, IntFileAttrib = 0;
  std::uint32_t ExtFileAttrib = 0, RelOffLocalHdr = 0;
  QString FileName;  // forward slashes kept
  QString FileComment;
  bool Encrypted = false;
  std::string ExtraData;
};

// The self-extractor's options (a set).
enum SFXOption : std::uint32_t {
  SFXAskCmdLine = 1u << 0,
  SFXAskFiles = 1u << 1,
  SFXAutoRun = 1u << 2,
  SFXHideOverWriteBox = 1u << 3,
  SFXCheckSize = 1u << 4,
  SFXNoSuccessMsg = 1u << 5,
};
enum class TSFXOverWriteMode { OvrConfirm, OvrAlways, OvrNever };
// How the component deletes a file it replaces: for good, or to the trash.
enum class THowToDelete { htdFinal, htdAllowUndo };

// The icon image a self-extractor carries: a 32 x 32, 16-colour DIB of this size.
constexpr std::size_t kSFXIconSize = 744;

// An in-memory stream of the component (the stub it patches before writing).
class TZipStream {
 public:
  std::string& bytes() { return data_; }
  const std::string& bytes() const { return data_; }
  std::int64_t Size() const { return static_cast<std::int64_t>(data_.size()); }
  void Clear() { data_.clear(); }

 private:
  std::string data_;
};

// Formats one disk on a thread of its own while the calling (GUI) thread waits, serving only
// painting meanwhile. One runs at a time: a second request while one runs fails at once.
class FormatThread {
 public:
  static bool run(platform::Drives& drives, const QString& path, const QString& label);
};

// The volume label of disk `number` (from 1) of a spanned set: "PKBACK# 001".
QString spanLabel(int number);
// The file of part `number` of a set written as files: the last three characters before the
// extension become the number, or it is appended to a shorter name ("a.zip" -> "a001.zip").
QString spanPartName(const QString& target, int number);

class TZipPacker {
 public:
  explicit TZipPacker(platform::DialogDriver& dialogs);
  ~TZipPacker();
  TZipPacker(const TZipPacker&) = delete;
  TZipPacker& operator=(const TZipPacker&) = delete;

  static constexpr const char* VersionInfo = "1.60 L";

  // The file patterns: texts are parsed (">", "|", "<"); a structured one is not.
  std::vector<FileSpec> FSpecArgs;
  QStringList FSpecArgsExcl;
  void setFSpecArgs(const QStringList& texts);
  void addFSpecArg(const QString& text);
  void addFileSpec(const QString& folder, const QString& mask);

  const QString& ZipFileName() const { return zipFileName_; }
  // Stores the name and reads the archive's directory at once (EZipPacker when it is no archive).
  void setZipFileName(const QString& name);

  std::int32_t AddCompLevel = 9;
  std::uint32_t AddOptions = 0;
  std::uint32_t AddStoreSuffixes = kDefaultStoreSuffixes;
  bool Verbose = false, Trace = false, Unattended = false;
  const std::string& Password() const { return password_; }
  void setPassword(const std::string& cp1250);  // at most 80 characters
  const QString& DLLDirectory() const { return dllDirectory_; }
  void setDLLDirectory(const QString& folder);  // a trailing separator is removed
  QString TempDir, RootDir;
  bool UseDirOnlyEntries = false;
  TCodePage CodePage = TCodePage::cpAuto;
  int PasswordReqCount() const { return passwordReqCount_; }
  void setPasswordReqCount(int n);  // at most 15
  std::string ArchiveComment;       // Windows-1250 as the archive holds it

  // State of the last run.
  std::int32_t AddedCount = 0;
  int ErrCode = 0;           // the last message number, or the low byte of the library's error code
  std::int32_t FullErrCode = 0;
  QString Message;
  std::int64_t TotalSize = 0;
  bool Busy() const { return busy_; }
  void Cancel() { cancel_ = true; }
  const std::vector<ZPackDirEntry>& ZipContents() const { return dir_; }
  int Count() const { return static_cast<int>(dir_.size()); }

  // Events. Progress kinds: 0 a file begins (name, size), 1 bytes done, 2 file done, 3 (size),
  // 4 total size.
  std::function<void(int kind, const QString& name, std::int64_t size)> OnProgress;
  std::function<void(std::int32_t code, const QString& text)> OnMessage;
  std::function<void(QString& name, bool& changed)> OnSetNewName;
  std::function<void(QString& password, int& repeat)> OnPasswordError;
  std::function<void(const QString& name, bool& doExtract)> OnCRC32Error;
  std::function<void(const QString& name, std::int32_t& answer)> OnExtractOverwrite;
  std::function<void(const QString& name, std::int32_t code)> OnExtractSkipped;
  std::function<void(QString& comment, bool& changed)> OnFileComment;
  std::function<void(int number, const ZPackDirEntry& entry)> OnNewName;
  std::function<void()> OnDirUpdate;

  // Self-extracting archives.
  QString SFXPath = QStringLiteral("ZPackSFX.bin");
  std::uint32_t SFXOptions = SFXCheckSize;
  TSFXOverWriteMode SFXOverWriteMode = TSFXOverWriteMode::OvrConfirm;
  QString SFXCaption = QStringLiteral("Self-extracting Archive"), SFXDefaultDir, SFXCommandLine, SFXMessage;
  const std::string& SFXIcon() const { return sfxIcon_; }
  // Only a 32 x 32, 16-colour image of 744 bytes fits the stub's icon; others are refused (false),
  // and the icon stays as it was. Empty: no icon.
  bool setSFXIcon(const std::string& dib);
  THowToDelete HowToDelete = THowToDelete::htdAllowUndo;
  // Where the trash is; none: the desktop's.
  void setShell(platform::Shell* shell) { shell_ = shell; }

  // The parameter block between the stub and the archive.
  std::string SFXParameterBlock() const;
  // Makes ZipFileName (".ZIP") into a self-extracting program of the same name with ".exe".
  // 0 on success, else the number of the message shown.
  int ConvertToSFX();

  // Disk spanning.
  std::int64_t MaxVolumeSize = 0;  // bytes a disk; 0: as much as fits
  std::int64_t KeepFreeOnDisk1 = 0;
  std::int64_t MinFreeVolumeSize = 65536;
  bool ConfirmErase = true;
  // Asked for each disk in place of the message box; `abort` ends the run.
  std::function<void(int disk, int total, const QString& drive, bool& abort)> OnGetNextDisk;
  // Answers an overwrite question in place of the message box (IdYes, IdNo, IdCancel; 0 asks).
  std::function<void(int disk, const QString& file, const QString& question, int& answer)> OnStatusDisk;
  void setDrives(platform::Drives* drives) { drives_ = drives; }
  // Copies a finished archive onto a set of disks, or numbered files beside the target on a
  // fixed drive. 0 on success; failures raise EZipPacker.
  int WriteSpan(const QString& temporary, const QString& target);
  // Asks for disk `disk` of the set until a readable one is in the drive (nothing on a fixed one).
  void CheckForDisk(const QString& target, int disk, bool last);

  // The password prompts: for adding it asks twice and both answers must match; for extracting
  // once. The answer (Windows-1250), empty when there is none. Outside the library's callback a
  // confirmed answer also becomes Password.
  std::string GetAddPassword() { return askPassword(true, false); }
  std::string GetExtrPassword() { return askPassword(false, false); }

  void Add();
  void List();
  bool LoadZPack();
  void UnloadZPack();
  std::int32_t ZPackVersion();
  void ShowZipMessage(int id, const QString& extra = {});

  // What the parameter record is filled from: these settings and this component's callback.
  ZipSwitches switches() const;

  // The library's callback, for the one record pointer; exposed for tests of its actions.
  std::int32_t serveCallback(unsigned char* record);

 private:
  std::int32_t token_;
  platform::DialogDriver& dialogs_;
  QString zipFileName_;
  std::string password_;
  QString dllDirectory_;
  int passwordReqCount_ = 1;
  bool busy_ = false, cancel_ = false;
  QString lastError_;  // the last error message of the library in this run
  std::vector<ZPackDirEntry> dir_;
  std::string sfxIcon_;
  platform::Shell* shell_ = nullptr;
  TZipStream stream_;

  platform::Drives* drives_ = nullptr;
  int spanTotal_ = 0;                 // the expected number of disks, 0 unknown
  bool collectMoved_ = false;         // spanning with AddMove: the files to delete afterwards
  std::vector<QString> moved_;

  platform::Drives& drives();
  struct DiskSlot {
    QString path;
    std::int64_t room = 0;
  };
  DiskSlot GetNewDisk(const QString& target, int disk);
  int askOverwrite(int disk, const QString& file, const QString& question);
  bool listSpanned();
  void writeSpanParts(const ziplayout::ReadAt& read, const ziplayout::EndRecord& end,
                      std::vector<ziplayout::CentralEntry>& central, SpanOut& out);
  // From Add: the new program with an empty archive is made as `newProgram`.
  int convertToSFX(bool fromAdd, const QString& newProgram = {});
  std::string askPassword(bool add, bool inCallback);
  QString findStub() const;
  // Removes a file the component replaces, as HowToDelete says (to the trash when it can).
  void discard(const QString& path);
};

}  // namespace zip
