#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

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

TEST(RecordFile, AWriteThatDoesNotReachTheDiskFails) {
  // A file-size limit stands for a full disk: the second record goes into the buffer at once and
  // is refused only when the bytes go out, which must fail that write, not a silent close.
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  RecordFile f(p, 4);
  ASSERT_TRUE(f.open(RecordFile::Mode::ReadWriteCreate));
  EXPECT_EQ(f.append("aaaa"), 0);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 6;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  std::string text;
  try {
    f.append("bbbb");
  } catch (const platform::IoError& e) {
    threw = true;
    text = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_TRUE(threw) << "the writer learns that its record was not stored";
  // The system's own reason, not a text that says nothing.
  EXPECT_NE(text.find(std::strerror(EFBIG)), std::string::npos) << text;
  EXPECT_EQ(text.find("Unknown error"), std::string::npos) << text;
  f.close();
  EXPECT_EQ(slurp(p).substr(0, 4), "aaaa") << "the record before stays";
}

}  // namespace
