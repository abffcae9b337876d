#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/errors.h"
#include "platform/recordfile.h"

using platform::RecordFile;

namespace {

std::string slurp(const QString& p) {
  QFile f(p);
  if (!f.open(QIODevice::ReadOnly)) return {};
  auto b = f.readAll();
  return std::string(b.constData(), size_t(b.size()));
}

TEST(RecordFile, CountReadWriteAppend) {
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  RecordFile f(p, 4);
  EXPECT_FALSE(f.open(RecordFile::Mode::Read)) << "a missing file is not opened for reading";
  EXPECT_FALSE(f.open(RecordFile::Mode::ReadWrite)) << "nor created by a plain read-write open";
  EXPECT_FALSE(QFile::exists(p));
  ASSERT_TRUE(f.open(RecordFile::Mode::ReadWriteCreate));
  EXPECT_EQ(f.count(), 0);
  EXPECT_EQ(f.append("aaaa"), 0);
  EXPECT_EQ(f.append("bbbb"), 1);
  f.write(0, "cccc");
  EXPECT_EQ(f.read(1), "bbbb");
  EXPECT_THROW(f.read(2), platform::IoError);
  EXPECT_THROW(f.write(3, "dddd"), platform::IoError) << "no gap is ever written";
  f.close();
  EXPECT_EQ(slurp(p), "ccccbbbb");
}

TEST(RecordFile, PartialTailIsNotARecordAndIsOverwrittenByTheNextAppend) {
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  {
    QFile raw(p);
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write("aaaabbbbcc");
  }
  RecordFile f(p, 4);
  ASSERT_TRUE(f.open(RecordFile::Mode::ReadWriteCreate));
  EXPECT_EQ(f.count(), 2);
  EXPECT_TRUE(f.hasPartialTail());
  EXPECT_THROW(f.read(2), platform::IoError);
  EXPECT_EQ(f.append("dddd"), 2) << "record numbers stay size div record size";
  f.close();
  EXPECT_EQ(slurp(p), "aaaabbbbdddd");
}

TEST(RecordFile, OpeningForWriteNeverEmptiesAnExistingFile) {
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  {
    QFile raw(p);
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write("xxxxyyyy");
  }
  {
    RecordFile f(p, 4);
    ASSERT_TRUE(f.open(RecordFile::Mode::ReadWriteCreate));
  }
  EXPECT_EQ(slurp(p), "xxxxyyyy");
}

}  // namespace
