#include "register/instytucje.h"

#include <QDir>
#include <algorithm>

#include "platform/cp1250.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace zelt {

using platform::RegRoot;
using platform::RegistryStore;

std::string podkluczIO(int n) {
  if (n <= 1) return "IO\\";
  std::string s = "IO";
  s += static_cast<char>('0' + n / 10 % 10);
  s += static_cast<char>('0' + n % 10);
  s += '\\';
  return s;
}

ListaInstytucji czytajInstytucje(const RegistryStore& reg) {
  ListaInstytucji l;
  const std::string prog(RegistryStore::kProgramKey);
  l.kluczProgramu = reg.keyExists(RegRoot::CurrentUser, prog);
  if (l.kluczProgramu) {
    if (auto v = reg.readInteger(RegRoot::CurrentUser, prog, "IloscIO")) l.IloscIO = std::clamp(*v, 1, kMaxInstytucji);
    if (auto v = reg.readInteger(RegRoot::CurrentUser, prog, "AktualIO")) l.wybor = *v;
  }
  for (int n = 1; n <= l.IloscIO; ++n) {
    const std::string key = platform::regPath(prog, podkluczIO(n));
    auto name = reg.readString(RegRoot::CurrentUser, key, "NazIO");
    if (name && !name->empty()) {
      l.nazwy.push_back(*name);
    } else {
      std::string sub = podkluczIO(n);
      sub.pop_back();
      l.nazwy.push_back(sub);
    }
  }
  l.wybor = std::clamp(l.wybor, 0, l.IloscIO - 1);
  return l;
}

Foldery folderyInstytucji(const RegistryStore& reg, int n, const QString& dokumenty) {
  Foldery f;
  const std::string prog(RegistryStore::kProgramKey);
  const std::string key = platform::regPath(prog, podkluczIO(n));
  auto read = [&](const std::string& k, const char* name, QString& into) {
    if (auto v = reg.readText(RegRoot::CurrentUser, k, name)) into = *v;
  };
  read(key, "KatDan", f.KatDan);
  read(key, "KatPod", f.KatPod);
  read(key, "KatEks", f.KatEks);
  if (n == 1 && f.KatDan.isEmpty() && f.KatEks.isEmpty()) {
    const std::string konfig = platform::regPath(prog, "Konfig");
    read(konfig, "katalog", f.KatDan);
    read(konfig, "eksport", f.KatEks);
  }
  const QString base = QDir::toNativeSeparators(dokumenty + "/ZELT/");
  if (f.KatDan.isEmpty()) {
    f.KatDan = base + "Baza";
    f.domyslnyDan = true;
  }
  if (f.KatEks.isEmpty()) {
    f.KatEks = base + "Przekaz";
    f.domyslnyEks = true;
  }
  if (f.KatPod.isEmpty()) {
    f.KatPod = f.KatDan;
    f.domyslnyPod = f.domyslnyDan;
  }
  return f;
}

QString folderDokumentow(const RegistryStore& reg, const platform::Shell& shell) {
  auto v = reg.readText(RegRoot::CurrentUser,
                        "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\", "Personal");
  if (v && !v->isEmpty()) return *v;
  QString d = shell.documentsFolder();
  return d.isEmpty() ? QDir::homePath() : d;
}

}  // namespace zelt
