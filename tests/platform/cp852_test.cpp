// The OEM code page 852 against the system's iconv, byte by byte.
#include <gtest/gtest.h>

#include <QProcess>

#include "platform/cp852.h"

TEST(Cp852, EveryByteAsIconvReadsIt) {
  QByteArray all;
  for (int b = 1; b < 256; ++b) all.append(char(b));
  QProcess iconv;
  iconv.start("iconv", {"-f", "CP852", "-t", "UTF-8"});
  ASSERT_TRUE(iconv.waitForStarted());
  iconv.write(all);
  iconv.closeWriteChannel();
  ASSERT_TRUE(iconv.waitForFinished());
  ASSERT_EQ(iconv.exitCode(), 0) << iconv.readAllStandardError().toStdString();
  const QString want = QString::fromUtf8(iconv.readAllStandardOutput());
  ASSERT_EQ(want.size(), 255);
  for (int b = 1; b < 256; ++b)
    EXPECT_EQ(int(cp852::toUnicode(static_cast<unsigned char>(b))), int(want[b - 1].unicode())) << "byte " << b;
  EXPECT_EQ(cp852::toUnicode(std::string_view("\x9D\xA2" "d\xAB", 4)), QString::fromUtf8("Łódź"));
}
