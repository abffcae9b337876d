#pragma once
// Outside readers of what the zip component writes: Python's zipfile, unzip and zip. A test that
// needs one skips with a message when it is not on the machine.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "platform/library.h"

#define REQUIRE_TOOL(tool)                                                 \
  do {                                                                     \
    if (QStandardPaths::findExecutable(tool).isEmpty())                    \
      GTEST_SKIP() << tool << " is not installed (scripts/deps.sh adds it)"; \
  } while (0)

// Runs a Python script with arguments; its standard output, the test failing on an error.
inline QByteArray runPython(const QString& script, const QStringList& args = {}) {
  QProcess py;
  py.start("python3", QStringList{"-c", script} + args);
  py.waitForFinished(120000);
  EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
  return py.readAllStandardOutput();
}

// What Python's zipfile sees: one line per member "name method flags size", then "comment:<text>"
// and "test:<first bad member or None>".
inline QStringList inspect(const QString& archive) {
  return QString::fromUtf8(runPython("import sys, zipfile\n"
                                     "z = zipfile.ZipFile(sys.argv[1])\n"
                                     "for i in z.infolist():\n"
                                     "    print(i.filename, i.compress_type, i.flag_bits, i.file_size)\n"
                                     "print('comment:' + z.comment.decode('latin-1'))\n"
                                     "print('test:' + str(z.testzip() if not any(i.flag_bits & 1 for i in "
                                     "z.infolist()) else None))\n",
                                     {archive}))
      .split('\n', Qt::SkipEmptyParts);
}

inline QString member(const QString& archive, const QString& name) {
  return QString::fromUtf8(
      runPython("import sys, zipfile\nsys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))",
                {archive, name}));
}

// unzip -t: its exit code, and what it printed.
struct ToolRun {
  int code = -1;
  QString output;
};
inline ToolRun runTool(const QString& tool, const QStringList& args, const QString& folder = {}) {
  QProcess p;
  if (!folder.isEmpty()) p.setWorkingDirectory(folder);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(tool, args);
  p.closeWriteChannel();
  p.waitForFinished(120000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
}

inline int unzipTest(const QString& archive) { return runTool("unzip", {"-tqq", archive}).code; }

// The program folder, where the stub is looked for, for the length of a test.
struct ProgramFolder {
  explicit ProgramFolder(const QString& folder) { platform::Library::setProgramFolder(folder); }
  ~ProgramFolder() { platform::Library::setProgramFolder({}); }
};
