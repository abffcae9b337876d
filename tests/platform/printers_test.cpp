#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/printers.h"
#include "platform/shell.h"

using namespace platform;

namespace {

TEST(FixedPrinters, CurrentIsTheFirstAndSelectionIsByIndex) {
  FixedPrinters p({"HP", "PDF", "HP"});
  EXPECT_EQ(p.current(), 0);
  EXPECT_EQ(p.currentName(), "HP");
  p.select(2);
  EXPECT_EQ(p.current(), 2);
  p.select(7);  // no such printer: nothing changes
  EXPECT_EQ(p.current(), 2);
  EXPECT_EQ(p.selections, QStringList{"HP"});
  FixedPrinters none;
  EXPECT_EQ(none.current(), -1);
  EXPECT_EQ(none.currentName(), QString());
}

TEST(FixedPrinters, JobRecordsEveryCallAndIsAbortedWhenDroppedUnended) {
  FixedPrinters p({"HP"});
  p.dpiX = 300;
  {
    auto job = p.job();
    job->setTitle("T");
    EXPECT_EQ(job->resolutionX(), 300);
    EXPECT_EQ(job->resolutionY(), 600);
    ASSERT_TRUE(job->begin());
    job->canvas().setFont(PrintFont{"Arial Ce", 8, true, false, 0});
    job->canvas().text(10, 20, "ab");
    EXPECT_EQ(job->canvas().textWidth("abc"), 150);
    job->newPage();
    job->canvas().line(1, 2, 3, 4);
  }
  ASSERT_EQ(p.jobs.size(), 1u);
  const auto& calls = p.jobs[0].calls;
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].kind, PrintCall::Kind::Title);
  EXPECT_EQ(calls[2].kind, PrintCall::Kind::Text);
  EXPECT_EQ(calls[2].font.points, 8);
  EXPECT_EQ(calls[2].page, 1);
  EXPECT_EQ(calls[4].kind, PrintCall::Kind::Line);
  EXPECT_EQ(calls[4].page, 2);
  EXPECT_EQ(calls[5].kind, PrintCall::Kind::Abort);
  EXPECT_TRUE(p.jobs[0].aborted());
  EXPECT_FALSE(p.jobs[0].ended());
}

TEST(FixedPrinters, FailuresInjectedAtBeginOrEnd) {
  FixedPrinters p({"HP"});
  p.failBeginOfJob = 1;
  p.failEndOfJob = 2;
  auto a = p.job();
  EXPECT_FALSE(a->begin());
  EXPECT_EQ(a->error(), p.failureText);
  auto b = p.job();
  ASSERT_TRUE(b->begin());
  EXPECT_FALSE(b->end());
  EXPECT_EQ(b->error(), p.failureText);
  EXPECT_TRUE(p.jobs[1].aborted());
  auto c = p.job();
  ASSERT_TRUE(c->begin());
  EXPECT_TRUE(c->end());
  EXPECT_TRUE(p.jobs[2].ended());
}

TEST(FixedPrinters, LandscapeSwapsThePage) {
  FixedPrinters p({"HP"});
  auto j = p.job();
  const int w = j->pageWidth(), h = j->pageHeight();
  j->setOrientation(PageOrientation::Landscape);
  EXPECT_EQ(j->pageWidth(), h);
  EXPECT_EQ(j->pageHeight(), w);
}

// ---- the PDF printer, rasterised

bool havePdftoppm() { return !QStandardPaths::findExecutable("pdftoppm").isEmpty(); }

// The first page at 254 dpi: 10 pixels to the millimetre, from the paper's corner.
QImage rasterise(const QString& pdf, const QString& dir) {
  const QString base = dir + "/strona";
  QProcess::execute("pdftoppm", {"-aaVector", "no", "-r", "254", "-f", "1", "-l", "1", "-png", "-singlefile", pdf, base});
  return QImage(base + ".png");
}

bool dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

// The bounding box of the dark pixels inside an area, in pixels.
QRect inked(const QImage& img, QRect area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (dark(img, x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

struct PdfWorld {
  QTemporaryDir dir;
  RecordingShell shell{dir.path()};
  FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(13, 4, 5))};
  SystemPrinters printers{shell, clock};

  PdfWorld() { printers.select(printers.names().size() - 1); }
  QStringList files() const {
    return QDir(dir.path() + "/ZELT/Wydruki").entryList({"*.pdf"}, QDir::Files, QDir::Name);
  }
  QString file(const QString& name) const { return dir.path() + "/ZELT/Wydruki/" + name; }
};

TEST(PdfPrinter, IsLastInTheListWithA4At600Dpi) {
  PdfWorld w;
  EXPECT_EQ(w.printers.names().last(), "Zapis do pliku PDF");
  EXPECT_EQ(w.printers.currentName(), "Zapis do pliku PDF");
  auto j = w.printers.job();
  EXPECT_EQ(j->resolutionX(), 600);
  EXPECT_EQ(j->resolutionY(), 600);
  // 200 x 287 mm inside the margins
  EXPECT_NEAR(j->pageWidth(), 200 * 600 / 25.4, 5);
  EXPECT_NEAR(j->pageHeight(), 287 * 600 / 25.4, 5);
}

TEST(PdfPrinter, ShapesAndTextLandWhereAsked) {
  ASSERT_TRUE(havePdftoppm()) << "poppler-utils is missing (scripts/deps.sh installs it)";
  PdfWorld w;
  auto j = w.printers.job();
  j->setTitle("Próba");
  ASSERT_TRUE(j->begin());
  auto px = [](double mm) { return int(std::lround(mm * 600 / 25.4)); };
  auto& c = j->canvas();
  c.rectangle(px(20), px(30), px(60), px(50));
  c.setFont(PrintFont{"Arial Ce", 10, false, false, 0});
  c.text(px(100), px(100), "H");
  c.setFont(PrintFont{"Arial Ce", 10, true, false, 90});
  c.text(px(100), px(150), "HHH");
  ASSERT_TRUE(j->end()) << j->error().toStdString();
  ASSERT_EQ(w.files().size(), 1);
  EXPECT_TRUE(w.files()[0].startsWith("Próba 2026-12-10 13.04.05 ")) << w.files()[0].toStdString();

  const QImage img = rasterise(w.file(w.files()[0]), w.dir.path());
  ASSERT_FALSE(img.isNull());
  // The margin is 5 mm: the rectangle's corners at (25, 35) and (65, 55) mm of the paper.
  const QRect r = inked(img, QRect(200, 300, 500, 300));
  EXPECT_NEAR(r.left(), 250, 2);
  EXPECT_NEAR(r.top(), 350, 2);
  EXPECT_NEAR(r.right(), 650, 2);
  EXPECT_NEAR(r.bottom(), 550, 2);
  EXPECT_FALSE(dark(img, 450, 450)) << "the rectangle is not filled";
  // "H" at (105, 105) mm of the paper: its cell's corner; the letter about 2.5 mm tall, below
  // and right of that corner.
  const QRect h = inked(img, QRect(1000, 1000, 100, 100));
  ASSERT_FALSE(h.isEmpty());
  EXPECT_GE(h.left(), 1050);
  EXPECT_LE(h.left(), 1060);
  EXPECT_GT(h.top(), 1050);
  EXPECT_LE(h.top(), 1062);
  EXPECT_NEAR(h.height(), 25, 3);
  // Upward text from (105, 155) mm: it rises from its corner, the glyphs right of it.
  const QRect up = inked(img, QRect(1000, 1400, 150, 200));
  ASSERT_FALSE(up.isEmpty());
  EXPECT_LE(up.bottom(), 1550);
  EXPECT_GT(up.bottom(), 1540);
  EXPECT_GE(up.left(), 1050);
  EXPECT_LT(up.right(), 1050 + 40);
  EXPECT_GT(up.height(), up.width()) << "three letters run up the page";
}

TEST(PdfPrinter, FilesSortInPrintOrderAndAnAbortedJobLeavesNone) {
  PdfWorld w;
  auto druk = [](Printers& p, int pages, bool finish) {
    auto j = p.job();
    j->setTitle("ZELT - Karta Transakcji");
    ASSERT_TRUE(j->begin());
    for (int i = 1; i < pages; ++i) j->newPage();
    if (finish) {
      ASSERT_TRUE(j->end());
    }
  };
  QStringList order;
  for (int i = 1; i <= 3; ++i) {
    const QStringList before = w.files();
    druk(w.printers, i, true);
    for (const auto& f : w.files())
      if (!before.contains(f)) order << f;
  }
  druk(w.printers, 1, false);  // dropped unended
  ASSERT_EQ(order.size(), 3);
  EXPECT_EQ(w.files(), order);
  // A later run goes on after the files already there, even within the same second.
  SystemPrinters next(w.shell, w.clock);
  next.select(next.names().size() - 1);
  druk(next, 1, true);
  ASSERT_EQ(w.files().size(), 4);
  EXPECT_EQ(w.files().mid(0, 3), order);
  EXPECT_TRUE(w.files()[3].endsWith(" 000004.pdf")) << w.files()[3].toStdString();
}

TEST(PdfPrinter, ReplayDrawsTheRecordedCalls) {
  FixedPrinters rec({"HP"});
  {
    auto j = rec.job();
    j->setTitle("Powtórka");
    ASSERT_TRUE(j->begin());
    j->canvas().line(0, 0, 100, 100);
    j->canvas().setFont(PrintFont{"Arial Ce", 10, true, false, 0});
    j->canvas().text(10, 10, "A");
    j->newPage();
    j->canvas().rectangle(0, 0, 50, 50);
    ASSERT_TRUE(j->end());
  }
  FixedPrinters target({"X"});
  auto t = target.job();
  EXPECT_TRUE(replay(rec.jobs[0], *t));
  ASSERT_EQ(target.jobs[0].calls.size(), rec.jobs[0].calls.size());
  for (std::size_t i = 0; i < rec.jobs[0].calls.size(); ++i) {
    EXPECT_EQ(target.jobs[0].calls[i].kind, rec.jobs[0].calls[i].kind);
    EXPECT_EQ(target.jobs[0].calls[i].text, rec.jobs[0].calls[i].text);
    EXPECT_EQ(target.jobs[0].calls[i].x2, rec.jobs[0].calls[i].x2);
    EXPECT_EQ(target.jobs[0].calls[i].page, rec.jobs[0].calls[i].page);
  }
}

}  // namespace
