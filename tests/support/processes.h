#pragma once
// Outside programs a test starts (a virtual display, a window manager, a print server) and ends
// with itself, and the test program run again as a child for one of its tests, in another
// environment (another display, another print server).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <functional>
#include <string>

namespace testing_world {

// True once `condition` holds, polled until `ms` have passed.
inline bool waitUntil(const std::function<bool()>& condition, int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    if (condition()) return true;
    QThread::msleep(20);
  }
  return condition();
}

// A program that ends with the scope: asked to end, then killed when it does not.
struct OwnedProcess {
  QProcess p;
  OwnedProcess() = default;
  OwnedProcess(const OwnedProcess&) = delete;
  OwnedProcess& operator=(const OwnedProcess&) = delete;
  ~OwnedProcess() { stop(); }
  void stop() {
    if (p.state() == QProcess::NotRunning) return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
      p.kill();
      p.waitForFinished(3000);
    }
  }
};

struct ChildRun {
  bool finished = false;
  int exitCode = -1;
  std::string output;  // its standard output and error
  bool passed() const { return finished && exitCode == 0 && output.find("[  PASSED  ] 1 test") != std::string::npos; }
};

// Runs this test program again for the one test `suite.name`, in `env`, for at most `ms`.
inline ChildRun runTestAsChild(const QString& test, const QProcessEnvironment& env, int ms) {
  QProcess child;
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + test});
  ChildRun r;
  if (!child.waitForStarted()) return r;
  r.finished = child.waitForFinished(ms);
  if (!r.finished) {
    child.kill();
    child.waitForFinished();
  }
  r.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
  r.output = child.readAll().toStdString();
  return r;
}

}  // namespace testing_world
