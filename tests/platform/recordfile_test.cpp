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

bool put(const QString& p, const char* bytes) {
  QFile f(p);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == qint64(std::strlen(bytes));
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

// Reads go straight to the record's place without asking the file's size first: a record the file
// does not hold in full is still reported, by its number, and nothing is made up for it.
TEST(RecordFile, AReadOfARecordNotInTheFileSaysWhichOne) {
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  ASSERT_TRUE(put(p, "aaaabbbbcc"));  // two records and two bytes of a third
  const struct {
    const char* name;
    qint64 first, n;  // n 0: a single read
    long missing;
  } cases[] = {
      {"the partial tail", 2, 0, 2},     {"beyond the end", 3, 0, 3},          {"far beyond", 1000000, 0, 1000000},
      {"negative", -1, 0, -1},           {"a block into the tail", 1, 2, 2}, {"a block beyond", 4, 1, 4},
  };
  for (const auto& c : cases) {
    for (auto mode : {RecordFile::Mode::Read, RecordFile::Mode::ReadWrite}) {
      RecordFile f(p, 4);
      ASSERT_TRUE(f.open(mode));
      char out[16];
      std::memset(out, '?', sizeof out);
      std::string text;
      try {
        if (c.n == 0) f.read(c.first, out);
        else f.read(c.first, c.n, out);
      } catch (const platform::IoError& e) {
        text = e.what();
      }
      EXPECT_EQ(text, "Błąd odczytu pliku " + p.toStdString() + ": brak rekordu " + std::to_string(c.missing)) << c.name;
    }
  }
  RecordFile f(p, 4);
  ASSERT_TRUE(f.open(RecordFile::Mode::Read));
  char two[8];
  f.read(0, 2, two);
  EXPECT_EQ(std::string(two, 8), "aaaabbbb");
  EXPECT_EQ(f.read(1), "bbbb");
  EXPECT_EQ(f.read(0), "aaaa") << "a read back needs no seek of the caller";
}

// Another object's writes to the same file are seen at once: nothing read before is kept aside.
TEST(RecordFile, AReaderSeesWhatAnotherObjectWrote) {
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  RecordFile w(p, 4);
  ASSERT_TRUE(w.open(RecordFile::Mode::ReadWriteCreate));
  w.append("aaaa");
  w.append("bbbb");
  RecordFile r(p, 4);
  ASSERT_TRUE(r.open(RecordFile::Mode::Read));
  EXPECT_EQ(r.read(0), "aaaa");
  w.write(1, "cccc");
  w.append("dddd");
  EXPECT_EQ(r.read(1), "cccc");
  EXPECT_EQ(r.read(2), "dddd");
  EXPECT_EQ(r.count(), 3);
}

// A counter raised in place: only its bytes are written, and only inside a record the file holds.
TEST(RecordFile, APartOfARecordIsWrittenAlone) {
  QTemporaryDir dir;
  const QString p = dir.filePath("f.dat");
  ASSERT_TRUE(put(p, "aaaabbbbcc"));
  {
    RecordFile f(p, 4);
    ASSERT_TRUE(f.open(RecordFile::Mode::ReadWrite));
    f.write(1, 2, "X", 1);
    f.write(0, 0, "YZ", 2);
    f.write(0, 3, "W", 1);
    EXPECT_EQ(f.read(1), "bbXb");
  }
  EXPECT_EQ(slurp(p), "YZaWbbXbcc");
  const struct {
    const char* name;
    qint64 n;
    std::size_t offset, length;
  } refused[] = {
      {"the partial tail", 2, 0, 1}, {"beyond the end", 3, 0, 1},          {"negative", -1, 0, 1},
      {"past the record's end", 1, 3, 2}, {"an offset past the record", 0, 5, 0},
  };
  for (const auto& c : refused) {
    RecordFile f(p, 4);
    ASSERT_TRUE(f.open(RecordFile::Mode::ReadWrite));
    std::string text;
    try {
      f.write(c.n, c.offset, "QQ", c.length);
    } catch (const platform::IoError& e) {
      text = e.what();
    }
    EXPECT_EQ(text, "Błąd zapisu pliku " + p.toStdString() + ": brak rekordu " + std::to_string(c.n)) << c.name;
    f.close();
    EXPECT_EQ(slurp(p), "YZaWbbXbcc") << c.name << ": nothing written";
  }
}

// A mark set on many records at once: the same bytes in each, and none written at all when one of
// the records is not in the file, whichever place it has in the list.
TEST(RecordFile, TheSameBytesInManyRecords) {
  const struct {
    const char* name;
    std::vector<qint64> records;
    std::string after;  // empty: refused, naming `missing`
    qint64 missing = 0;
  } cases[] = {
      {"three of four", {3, 0, 2}, "aXaabbbbcXccdXdde"},
      {"one twice", {1, 1}, "aaaabXbbccccdddde"},
      {"none", {}, "aaaabbbbccccdddde"},
      {"the last beyond the end", {0, 1, 4}, "", 4},
      {"the first the partial tail", {4, 0}, "", 4},
      {"a negative one among them", {2, -1, 3}, "", -1},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString p = dir.filePath("f.dat");
    ASSERT_TRUE(put(p, "aaaabbbbccccdddde"));
    std::string text;
    {
      RecordFile f(p, 4);
      ASSERT_TRUE(f.open(RecordFile::Mode::ReadWrite));
      try {
        f.writeEach(c.records, 1, "X", 1);
      } catch (const platform::IoError& e) {
        text = e.what();
      }
    }
    if (c.after.empty()) {
      EXPECT_EQ(text, "Błąd zapisu pliku " + p.toStdString() + ": brak rekordu " + std::to_string(c.missing)) << c.name;
      EXPECT_EQ(slurp(p), "aaaabbbbccccdddde") << c.name << ": nothing written";
    } else {
      EXPECT_EQ(text, "") << c.name;
      EXPECT_EQ(slurp(p), c.after) << c.name;
    }
  }
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
