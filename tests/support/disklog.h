#pragma once
// The register writer's calls on the disk, recorded in order through the record file's seam, and
// the order they must keep: a write is on the disk (synced) before the writer returns, and a
// journal is whole on the disk before the register is touched and gone only after it is synced.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <algorithm>
#include <QString>
#include <vector>

#include "platform/recordfile.h"

namespace testing_world {

struct DiskLog {
  std::vector<platform::DiskCall> calls;
  platform::DiskSeam seam{[this](const platform::DiskCall& c) {
    calls.push_back(c);
    return c.length;
  }};

  std::vector<int> indexes(platform::DiskOp op, const QString& path) const {
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(calls.size()); ++i)
      if (calls[i].op == op && calls[i].path == path) out.push_back(i);
    return out;
  }
  bool any(platform::DiskOp op, const QString& path, int after) const {
    for (int i : indexes(op, path))
      if (i > after) return true;
    return false;
  }
};

// `made`: the register did not exist before, so its name must reach the disk too.
inline void expectSyncedWrites(const DiskLog& log, const QString& rejestr, bool made = false) {
  using platform::DiskOp;
  const QString folder = QFileInfo(rejestr).absolutePath();
  const QString dziennik = rejestr + ".dziennik";
  std::vector<int> zmiany = log.indexes(DiskOp::Write, rejestr);
  for (int i : log.indexes(DiskOp::Truncate, rejestr)) zmiany.push_back(i);
  ASSERT_FALSE(zmiany.empty()) << "the register was written";
  for (int i : zmiany) {
    EXPECT_TRUE(log.any(DiskOp::Sync, rejestr, i)) << "change " << i << " of the register synced before the return";
  }
  if (made) {
    EXPECT_TRUE(log.any(DiskOp::SyncFolder, folder, zmiany.front())) << "the new register's name synced";
  }
  const auto zapisyDziennika = log.indexes(DiskOp::Write, dziennik);
  if (zapisyDziennika.empty()) return;
  const int pierwsza = *std::min_element(zmiany.begin(), zmiany.end());
  const auto sync = log.indexes(DiskOp::Sync, dziennik);
  ASSERT_FALSE(sync.empty()) << "the journal is synced";
  EXPECT_LT(sync.front(), pierwsza) << "before the register is touched";
  EXPECT_GT(sync.front(), zapisyDziennika.back());
  bool folderPrzed = false;
  for (int i : log.indexes(DiskOp::SyncFolder, folder)) folderPrzed |= i > sync.front() && i < pierwsza;
  EXPECT_TRUE(folderPrzed) << "the journal's name synced before the register is touched";
  const auto usuniecie = log.indexes(DiskOp::Remove, dziennik);
  ASSERT_EQ(usuniecie.size(), 1u) << "the journal is removed";
  const auto syncRejestru = log.indexes(DiskOp::Sync, rejestr);
  EXPECT_GT(usuniecie.front(), syncRejestru.back()) << "only after the register is synced";
  EXPECT_TRUE(log.any(DiskOp::SyncFolder, folder, usuniecie.front())) << "and its removal synced";
}

}  // namespace testing_world
