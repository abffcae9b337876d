#include "platform/printers.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/shell.h"
#include "platform/wholefile.h"

namespace platform {

QString Printers::currentName() const {
  const int i = current();
  const QStringList n = names();
  return i >= 0 && i < n.size() ? n[i] : QString();
}

namespace {

// The old Windows faces of the forms are the plain ones here (metric twins where fonts-liberation
// is installed).
QString qtFace(const QString& face) {
  if (face.compare(QLatin1String("Arial Ce"), Qt::CaseInsensitive) == 0) return QStringLiteral("Arial");
  if (face.compare(QLatin1String("Times New Roman CE"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Times New Roman");
  return face;
}

// A canvas over a QPainter that draws on a printer or a PDF writer.
class PainterCanvas : public PrintCanvas {
 public:
  QPainter painter;

  void start() {
    // The thinnest line the device draws, as a printer's default pen.
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    applyFont();
  }
  void line(int x1, int y1, int x2, int y2) override { painter.drawLine(x1, y1, x2, y2); }
  void rectangle(int x1, int y1, int x2, int y2) override {
    painter.drawRect(QRectF(x1, y1, x2 - x1, y2 - y1));
  }
  void setFont(const PrintFont& font) override {
    font_ = font;
    if (painter.isActive()) applyFont();
  }
  const PrintFont& font() const override { return font_; }
  void text(int x, int y, const QString& text) override {
    const qreal ascent = painter.fontMetrics().ascent();
    if (font_.angle == 90) {
      // Up the page: the cell runs up from the point, the glyphs' tops to the left.
      painter.save();
      painter.translate(x, y);
      painter.rotate(-90);
      painter.drawText(QPointF(0, ascent), text);
      painter.restore();
    } else {
      painter.drawText(QPointF(x, y + ascent), text);
    }
  }
  int textWidth(const QString& text) override { return painter.fontMetrics().horizontalAdvance(text); }

 private:
  void applyFont() {
    QFont f(qtFace(font_.face));
    f.setPointSizeF(font_.points);
    f.setBold(font_.bold);
    f.setItalic(font_.italic);
    painter.setFont(f);
  }
  PrintFont font_{QStringLiteral("Arial Ce"), 10, false, false, 0};
};

// A job on one of the system's printers.
class QtPrinterJob : public PrintJob {
 public:
  explicit QtPrinterJob(const QString& name) : printer_(QPrinter::HighResolution), name_(name) {
    printer_.setPrinterName(name);
    printer_.setFullPage(false);
  }
  ~QtPrinterJob() override {
    if (begun_ && !done_) abort();
  }
  void setTitle(const QString& title) override { printer_.setDocName(title); }
  void setOrientation(PageOrientation o) override {
    printer_.setPageOrientation(o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  }
  int resolutionX() const override { return printer_.logicalDpiX(); }
  int resolutionY() const override { return printer_.logicalDpiY(); }
  int pageWidth() const override { return printer_.pageLayout().paintRectPixels(printer_.resolution()).width(); }
  int pageHeight() const override { return printer_.pageLayout().paintRectPixels(printer_.resolution()).height(); }
  bool begin() override {
    if (!canvas_.painter.begin(&printer_)) {
      error_ = QStringLiteral("Nie można rozpocząć wydruku na drukarce ") + name_;
      return false;
    }
    begun_ = true;
    canvas_.start();
    return true;
  }
  void newPage() override { printer_.newPage(); }
  bool end() override {
    done_ = true;
    const bool ok = canvas_.painter.end() && printer_.printerState() != QPrinter::Error;
    if (!ok) {
      error_ = QStringLiteral("Nie można zakończyć wydruku na drukarce ") + name_;
      printer_.abort();
    }
    return ok;
  }
  void abort() override {
    done_ = true;
    printer_.abort();
    if (canvas_.painter.isActive()) canvas_.painter.end();
  }
  QString error() const override { return error_; }
  PrintCanvas& canvas() override { return canvas_; }

 private:
  QPrinter printer_;
  QString name_, error_;
  PainterCanvas canvas_;
  bool begun_ = false, done_ = false;
};

}  // namespace

// A job of the PDF printer: drawn into memory, written as a new file when it ends.
class PdfJob : public PrintJob {
 public:
  explicit PdfJob(SystemPrinters& owner) : owner_(owner), writer_(&buffer_) {
    buffer_.open(QIODevice::WriteOnly);
    writer_.setResolution(600);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                      QPageLayout::Millimeter));
    writer_.setCreator(QStringLiteral("ZELT"));
  }
  ~PdfJob() override {
    if (begun_ && !done_) abort();
  }
  void setTitle(const QString& title) override {
    title_ = title;
    writer_.setTitle(title);
  }
  void setOrientation(PageOrientation o) override {
    writer_.setPageOrientation(o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  }
  int resolutionX() const override { return writer_.resolution(); }
  int resolutionY() const override { return writer_.resolution(); }
  int pageWidth() const override { return writer_.pageLayout().paintRectPixels(writer_.resolution()).width(); }
  int pageHeight() const override { return writer_.pageLayout().paintRectPixels(writer_.resolution()).height(); }
  bool begin() override {
    if (!canvas_.painter.begin(&writer_)) {
      error_ = QStringLiteral("Nie można rozpocząć zapisu wydruku do pliku PDF");
      return false;
    }
    begun_ = true;
    canvas_.start();
    return true;
  }
  void newPage() override { writer_.newPage(); }
  bool end() override {
    done_ = true;
    if (!canvas_.painter.end()) {
      error_ = QStringLiteral("Nie można zakończyć zapisu wydruku do pliku PDF");
      return false;
    }
    buffer_.close();
    const QString folder = owner_.pdfFolder();
    // Printed cards carry personal identity numbers: the folder and its files are the user's alone.
    if (!makePrivatePath(folder)) {
      error_ = QStringLiteral("Nie można utworzyć folderu ") + QDir::toNativeSeparators(folder);
      return false;
    }
    const QString path = owner_.nextPdfFile(title_);
    const QByteArray& bytes = buffer_.data();
    try {
      writeWholeFile(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                     WriteMode::CreateOnly);
    } catch (const IoError& e) {
      error_ = QString::fromUtf8(e.what());
      return false;
    }
    return true;
  }
  void abort() override {
    done_ = true;
    if (canvas_.painter.isActive()) canvas_.painter.end();
  }
  QString error() const override { return error_; }
  PrintCanvas& canvas() override { return canvas_; }

 private:
  SystemPrinters& owner_;
  QBuffer buffer_;
  QPdfWriter writer_;
  PainterCanvas canvas_;
  QString title_, error_;
  bool begun_ = false, done_ = false;
};

QString SystemPrinters::pdfPrinterName() { return QStringLiteral("Zapis do pliku PDF"); }

QString SystemPrinters::pdfFolder() const {
  return QDir(shell_.documentsFolder()).filePath(QStringLiteral("ZELT/Wydruki"));
}

void SystemPrinters::scan() const {
  if (scanned_) return;
  scanned_ = true;
  names_ = QPrinterInfo::availablePrinterNames();
  names_ << pdfPrinterName();
  current_ = names_.indexOf(QPrinterInfo::defaultPrinterName());
  if (current_ < 0) current_ = 0;
}

QStringList SystemPrinters::names() const {
  scan();
  return names_;
}

int SystemPrinters::current() const {
  scan();
  return current_;
}

void SystemPrinters::select(int index) {
  scan();
  if (index >= 0 && index < names_.size()) current_ = index;
}

QString SystemPrinters::nextPdfFile(const QString& title) {
  QDir dir(pdfFolder());
  if (running_ == 0) {
    // Numbers go on from the files already there, so a later print never sorts before them.
    static const QRegularExpression number(QStringLiteral(" (\\d{6})\\.pdf$"));
    for (const QString& f : dir.entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
      auto m = number.match(f);
      if (m.hasMatch()) running_ = std::max(running_, m.captured(1).toInt());
    }
  }
  running_ = running_ % 999999 + 1;
  QString safeTitle = title;
  safeTitle.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
  const QString stamp = clock_.now().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
  return dir.filePath(QStringLiteral("%1 %2 %3.pdf").arg(safeTitle, stamp).arg(running_, 6, 10, QLatin1Char('0')));
}

std::unique_ptr<PrintJob> SystemPrinters::job() {
  scan();
  if (current_ == names_.size() - 1) return std::make_unique<PdfJob>(*this);
  return std::make_unique<QtPrinterJob>(names_.value(current_));
}

// ---- recorded jobs

bool RecordedJob::ended() const {
  return !calls.empty() && calls.back().kind == PrintCall::Kind::End;
}

bool RecordedJob::aborted() const {
  for (const auto& c : calls)
    if (c.kind == PrintCall::Kind::Abort) return true;
  return false;
}

int RecordedJob::pages() const {
  int p = 0;
  for (const auto& c : calls) p = std::max(p, c.page);
  return p;
}

std::vector<PrintCall> RecordedJob::drawing() const {
  std::vector<PrintCall> out;
  for (const auto& c : calls)
    if (c.kind == PrintCall::Kind::Line || c.kind == PrintCall::Kind::Rectangle || c.kind == PrintCall::Kind::Text)
      out.push_back(c);
  return out;
}

bool replay(const RecordedJob& recorded, PrintJob& target) {
  PrintCanvas& c = target.canvas();
  for (const auto& call : recorded.calls) {
    switch (call.kind) {
      case PrintCall::Kind::Title: target.setTitle(call.text); break;
      case PrintCall::Kind::Orientation:
        target.setOrientation(call.orientation ? PageOrientation::Landscape : PageOrientation::Portrait);
        break;
      case PrintCall::Kind::Begin:
        if (!target.begin()) return false;
        break;
      case PrintCall::Kind::NewPage: target.newPage(); break;
      case PrintCall::Kind::End: return target.end();
      case PrintCall::Kind::Abort: target.abort(); return true;
      case PrintCall::Kind::Line: c.line(call.x1, call.y1, call.x2, call.y2); break;
      case PrintCall::Kind::Rectangle: c.rectangle(call.x1, call.y1, call.x2, call.y2); break;
      case PrintCall::Kind::Text:
        if (!(c.font() == call.font)) c.setFont(call.font);
        c.text(call.x1, call.y1, call.text);
        break;
    }
  }
  return true;
}

namespace {

PrintCall call(PrintCall::Kind kind, int x1 = 0, int y1 = 0, int x2 = 0, int y2 = 0) {
  PrintCall c;
  c.kind = kind;
  c.x1 = x1;
  c.y1 = y1;
  c.x2 = x2;
  c.y2 = y2;
  return c;
}

class RecordingJob : public PrintJob, public PrintCanvas {
 public:
  RecordingJob(FixedPrinters& owner, std::size_t index) : owner_(owner), index_(index) {}
  ~RecordingJob() override {
    if (begun_ && !done_) abort();
  }
  void setTitle(const QString& title) override {
    PrintCall c = call(PrintCall::Kind::Title);
    c.text = title;
    add(std::move(c));
  }
  void setOrientation(PageOrientation o) override {
    landscape_ = o == PageOrientation::Landscape;
    PrintCall c = call(PrintCall::Kind::Orientation);
    c.orientation = landscape_ ? 1 : 0;
    add(std::move(c));
  }
  int resolutionX() const override { return landscape_ ? owner_.dpiY : owner_.dpiX; }
  int resolutionY() const override { return landscape_ ? owner_.dpiX : owner_.dpiY; }
  int pageWidth() const override { return landscape_ ? owner_.pageHeightPx : owner_.pageWidthPx; }
  int pageHeight() const override { return landscape_ ? owner_.pageWidthPx : owner_.pageHeightPx; }
  bool begin() override {
    if (owner_.failBeginOfJob == number()) {
      error_ = owner_.failureText;
      return false;
    }
    add(call(PrintCall::Kind::Begin));
    begun_ = true;
    page_ = 1;
    return true;
  }
  void newPage() override {
    ++page_;
    add(call(PrintCall::Kind::NewPage));
  }
  bool end() override {
    done_ = true;
    if (owner_.failEndOfJob == number()) {
      error_ = owner_.failureText;
      add(call(PrintCall::Kind::Abort));
      return false;
    }
    add(call(PrintCall::Kind::End));
    return true;
  }
  void abort() override {
    done_ = true;
    add(call(PrintCall::Kind::Abort));
  }
  QString error() const override { return error_; }
  PrintCanvas& canvas() override { return *this; }

  void line(int x1, int y1, int x2, int y2) override { add(call(PrintCall::Kind::Line, x1, y1, x2, y2)); }
  void rectangle(int x1, int y1, int x2, int y2) override { add(call(PrintCall::Kind::Rectangle, x1, y1, x2, y2)); }
  void setFont(const PrintFont& font) override { font_ = font; }
  const PrintFont& font() const override { return font_; }
  void text(int x, int y, const QString& text) override {
    PrintCall c = call(PrintCall::Kind::Text, x, y);
    if (owner_.keepCalls) {
      c.text = text;
      c.font = font_;
    }
    add(std::move(c));
  }
  int textWidth(const QString& text) override { return static_cast<int>(text.size()) * owner_.charWidth; }

 private:
  int number() const { return static_cast<int>(index_) + 1; }
  void add(PrintCall c) {
    ++owner_.callCount;
    if (!owner_.keepCalls) return;
    c.page = page_;
    owner_.jobs[index_].calls.push_back(std::move(c));
  }
  FixedPrinters& owner_;
  std::size_t index_;
  PrintFont font_;
  QString error_;
  int page_ = 0;
  bool landscape_ = false, begun_ = false, done_ = false;
};

}  // namespace

void FixedPrinters::set(QStringList names) {
  names_ = std::move(names);
  current_ = names_.isEmpty() ? -1 : 0;
}

void FixedPrinters::select(int index) {
  if (index < 0 || index >= names_.size()) return;
  current_ = index;
  selections << names_[index];
}

std::unique_ptr<PrintJob> FixedPrinters::job() {
  jobs.push_back(RecordedJob{currentName(), {}});
  return std::make_unique<RecordingJob>(*this, jobs.size() - 1);
}

}  // namespace platform
