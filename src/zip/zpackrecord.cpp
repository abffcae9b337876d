#include "zip/zpackrecord.h"

namespace zip {

using namespace zpack;

std::string storeSuffixText(std::uint32_t suffixes) {
  static const char* const names[] = {"gif", "png", "z", "zip", "zoo", "arc", "lzh", "arj", "taz", "tgz", "lha", "exe"};
  std::string out;
  for (int i = 0; i < 12; ++i)
    if (suffixes & (1u << i)) out += std::string(".") + names[i] + ":";
  if (!out.empty()) out.pop_back();
  return out;
}

FileSpec FileSpec::plain(const std::string& utf8) {
  FileSpec s;
  s.text = utf8;
  s.path = utf8;
  return s;
}

FileSpec FileSpec::parse(const std::string& utf8) {
  FileSpec s = plain(utf8);
  std::string rest = utf8;
  if (!rest.empty() && (rest[0] == '>' || rest[0] == '|')) {
    s.recurse = rest[0] == '>' ? 1 : 0;
    rest.erase(0, 1);
  }
  const auto lt = rest.find('<');
  if (lt != std::string::npos) {
    s.hasPassword = true;
    s.password = rest.substr(lt + 1);
    rest.erase(lt);
  }
  s.path = rest;
  return s;
}

std::int32_t HandleTable::text(const std::string& s) {
  std::vector<unsigned char> b(s.begin(), s.end());
  b.push_back(0);
  return bytes(std::move(b));
}

std::int32_t HandleTable::bytes(std::vector<unsigned char> b) {
  owned_.push_back(std::move(b));
  entries_.push_back({owned_.back().data(), owned_.back().size()});
  return static_cast<std::int32_t>(entries_.size());
}

std::int32_t HandleTable::address(const void* p) {
  entries_.push_back({p, 0});
  return static_cast<std::int32_t>(entries_.size());
}

unsigned char* HandleTable::data(std::int32_t h) {
  return const_cast<unsigned char*>(static_cast<const unsigned char*>(entries_.at(static_cast<std::size_t>(h - 1)).address));
}

namespace {

std::int32_t flag(bool b) { return b ? kYes : 0; }

// Offsets 0..127, the same in both layouts.
void fillCommon(unsigned char* r, const ZipSwitches& sw, HandleTable& t, std::int32_t specCount) {
  const auto has = [&](std::uint32_t o) { return (sw.options & o) != 0; };
  putI32(r, parms::Window, sw.attended ? 1 : 0);
  putI32(r, parms::Caller, sw.caller);
  putI32(r, parms::Version, kComponentVersion);
  putI32(r, parms::Callback, sw.callback ? t.address(sw.callback) : 0);
  putI32(r, parms::Trace, flag(sw.trace));
  if (!sw.password.empty()) putI32(r, parms::Password, t.text(sw.password));
  if (!sw.suffixes.empty()) putI32(r, parms::Suffixes, t.text(sw.suffixes));
  putI32(r, parms::Encrypt, flag(has(AddEncrypt)));
  putI32(r, parms::Hidden, flag(has(AddHiddenFiles)));
  putI32(r, parms::Volume, flag(has(AddVolume)));
  putI32(r, parms::SeparateDirsOff, has(AddSeparateDirs) ? 0 : kYes);
  putI32(r, parms::Verbose, flag(sw.verbose || sw.trace));
  putI32(r, parms::Fixed56, kYes);
  putI32(r, parms::Level, sw.level);
  putI32(r, parms::NoDirNames, has(AddDirNames) ? 0 : kYes);
  putU16(r, parms::Recurse, has(AddRecurseDirs) ? kYesWord : 0);
  putI32(r, parms::Fixed80, kYes);
  putI32(r, parms::ForceDos, flag(has(AddForceDOS)));
  putI32(r, parms::Move, flag(has(AddMove)));
  putI32(r, parms::Update, flag(has(AddUpdate)));
  putI32(r, parms::Freshen, flag(has(AddFreshen) && !has(AddUpdate)));
  putI32(r, parms::ZipTime, flag(has(AddZipTime)));
  putI32(r, parms::SpecCount, specCount);
  putI32(r, parms::ArchiveName, t.text(sw.archiveName));
}

}  // namespace

BuiltRecord buildRecord(const ZipSwitches& sw, const std::vector<FileSpec>& specs, std::int32_t libraryVersion) {
  BuiltRecord b;
  HandleTable& t = b.table;
  const auto n = static_cast<std::int32_t>(specs.size());
  if (libraryVersion < 151) {
    if (specs.size() > oldparms::kMaxSpecs) {
      b.ok = false;
      return b;
    }
    b.record.assign(oldparms::kSize, 0);
    unsigned char* r = b.record.data();
    fillCommon(r, sw, t, n);
    putI32(r, oldparms::Seven, 7);
    for (std::size_t i = 0; i < specs.size(); ++i) putI32(r, oldparms::FirstSpec + 4 * i, t.text(specs[i].text));
    return b;
  }

  b.record.assign(parms::kSize, 0);
  unsigned char* r = b.record.data();
  fillCommon(r, sw, t, n);
  if (!sw.tempDir.empty()) putI32(r, parms::TempDir, t.text(sw.tempDir));
  if (libraryVersion >= 160) {
    if (!sw.comment.empty()) putI32(r, parms::Comment, t.text(sw.comment));
    putU16(r, parms::ArchiveOnly, (sw.options & AddArchiveOnly) ? 1 : 0);
    putU16(r, parms::ResetArchive, (sw.options & AddResetArchive) ? 1 : 0);
  }

  std::vector<unsigned char> entries(specs.size() * spec::kSize, 0);
  const std::int32_t encrypt = getI32(r, parms::Encrypt);
  const std::uint16_t recurse = getU16(r, parms::Recurse);
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const FileSpec& s = specs[i];
    unsigned char* e = entries.data() + i * spec::kSize;
    putI32(e, spec::Text, t.text(s.path));
    if (s.hasPassword) {
      if (!s.password.empty()) putI32(e, spec::Password, t.text(s.password));
      putI32(e, spec::Encrypt, s.password.empty() ? 0 : kYesWord);
    } else {
      if (!sw.password.empty()) putI32(e, spec::Password, t.text(sw.password));
      putI32(e, spec::Encrypt, encrypt);
    }
    putU16(e, spec::Recurse, s.recurse < 0 ? recurse : (s.recurse ? kYesWord : 0));
    if (!sw.rootDir.empty()) putI32(e, spec::RootDir, t.text(sw.rootDir));
  }
  if (!specs.empty()) putI32(r, parms::Specs, t.bytes(std::move(entries)));
  if (libraryVersion >= 160 && !sw.exclusions.empty()) {
    std::vector<unsigned char> list(sw.exclusions.size() * 4, 0);
    for (std::size_t i = 0; i < sw.exclusions.size(); ++i)
      putI32(list.data(), 4 * i, t.text(sw.exclusions[i]));
    putI32(r, parms::ExclCount, static_cast<std::int32_t>(sw.exclusions.size()));
    putI32(r, parms::Excl, t.bytes(std::move(list)));
  }
  putI32(r, parms::Seven, 7);
  return b;
}

}  // namespace zip
