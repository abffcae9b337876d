#pragma once
// The printers installed on the system, the current one, and print jobs drawn straight on a canvas
// in device pixels, as the prints draw them: no preview, no dialog, no report engine.
//
// Backends: the system's printers through Qt, with a PDF printer last in the list that writes
// each job to a file; and FixedPrinters for tests, whose jobs record every call.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class Shell;
class Clock;

// A font as the prints ask for it. The angle is 0 or 90 (text running up the page).
struct PrintFont {
  QString face;
  double points = 10;
  bool bold = false;
  bool italic = false;
  int angle = 0;
  bool operator==(const PrintFont&) const = default;
};

// Device pixels; pixel 0 is the corner of the printable page. Text is placed by the top-left
// corner of its cell (for upward text the cell runs up from the point, glyph tops to the left)
// and never paints a background. Rectangles are outlines only.
class PrintCanvas {
 public:
  virtual ~PrintCanvas() = default;
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void setFont(const PrintFont& font) = 0;
  virtual const PrintFont& font() const = 0;
  virtual void text(int x, int y, const QString& text) = 0;
  // Width in pixels of the text in the current font.
  virtual int textWidth(const QString& text) = 0;
};

enum class PageOrientation { Portrait, Landscape };

// One document on the current printer. Set the title and orientation before begin(); draw between
// begin() and end(). A job dropped after begin() without end() is aborted: nothing comes out.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  virtual void setTitle(const QString& title) = 0;
  virtual void setOrientation(PageOrientation o) = 0;
  virtual int resolutionX() const = 0;  // pixels per inch
  virtual int resolutionY() const = 0;
  virtual int pageWidth() const = 0;  // printable page in pixels, for the orientation set
  virtual int pageHeight() const = 0;
  // False with error() set when the document cannot be started.
  virtual bool begin() = 0;
  virtual void newPage() = 0;
  // False with error() set when the document could not be finished; it is then aborted.
  virtual bool end() = 0;
  virtual void abort() = 0;
  virtual QString error() const = 0;
  virtual PrintCanvas& canvas() = 0;
};

class Printers {
 public:
  virtual ~Printers() = default;
  virtual QStringList names() const = 0;
  // The current printer as an index into names(): first the system's default; -1 for none.
  virtual int current() const = 0;
  virtual void select(int index) = 0;
  QString currentName() const;
  // A job on the current printer.
  virtual std::unique_ptr<PrintJob> job() = 0;
  // The folder into which a printer that writes files puts them; empty when there is none.
  virtual QString pdfFolder() const { return {}; }
};

// The system's printers, and "Zapis do pliku PDF" last: A4, 600 dpi, 5 mm margins, a file per
// job in the documents folder's ZELT/Wydruki, named by the job's title, date, time and a running
// number, so that the files sort in print order.
class SystemPrinters : public Printers {
 public:
  // The shell gives the documents folder; the clock's time names the files.
  SystemPrinters(const Shell& shell, const Clock& clock) : shell_(shell), clock_(clock) {}
  QStringList names() const override;
  int current() const override;
  void select(int index) override;
  std::unique_ptr<PrintJob> job() override;

  static QString pdfPrinterName();
  QString pdfFolder() const override;

 private:
  void scan() const;
  friend class PdfJob;
  QString nextPdfFile(const QString& title);
  const Shell& shell_;
  const Clock& clock_;
  mutable bool scanned_ = false;
  mutable QStringList names_;
  mutable int current_ = -1;
  int running_ = 0;  // last running number of a PDF file
};

// One call on a recorded job: coordinates in pixels, the font in force for a text.
struct PrintCall {
  enum class Kind { Title, Orientation, Begin, NewPage, End, Abort, Line, Rectangle, Text } kind = Kind::Line;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  QString text;     // the text, or the job's title
  PrintFont font;   // for Text
  int page = 0;     // 1-based page of a drawing call; 0 before begin
  int orientation = 0;
};

struct RecordedJob {
  QString printer;
  std::vector<PrintCall> calls;
  bool ended() const;   // ended successfully
  bool aborted() const;
  int pages() const;
  // The drawing calls only (lines, rectangles, texts), in order.
  std::vector<PrintCall> drawing() const;
};

// Replays the drawing and paging of a recorded job onto another (title, orientation, begin and
// end included). False when the target's begin or end fails.
bool replay(const RecordedJob& recorded, PrintJob& target);

// The test double: the printers a test says are installed. Its jobs record every call at the
// resolution and page a test sets, with a fixed text metric (each character `charWidth` pixels).
class FixedPrinters : public Printers {
 public:
  explicit FixedPrinters(QStringList names = {}) { set(std::move(names)); }
  QStringList names() const override { return names_; }
  // The list installed; the current printer becomes the first (the default), or none.
  void set(QStringList names);
  int current() const override { return current_; }
  void select(int index) override;
  std::unique_ptr<PrintJob> job() override;

  int dpiX = 600, dpiY = 600;
  int pageWidthPx = 4724, pageHeightPx = 6778;  // A4 less 5 mm margins at 600 dpi
  int charWidth = 50;
  // Failures injected: the next jobs whose begin (or end) is numbered here fail with this text.
  // Jobs are numbered from 1 in the order they were created.
  int failBeginOfJob = 0, failEndOfJob = 0;
  QString failureText = QStringLiteral("Drukarka niedostępna");
  // When false the jobs only count their calls (no texts or fonts kept).
  bool keepCalls = true;

  std::vector<RecordedJob> jobs;  // every job created, in order
  long long callCount = 0;        // calls over all jobs
  QStringList selections;         // names selected, in order

 private:
  QStringList names_;
  int current_ = -1;
};

}  // namespace platform
