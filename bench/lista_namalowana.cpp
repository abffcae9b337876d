// Watches the screen for bench/realstart.sh until a list's rows are painted in a rectangle: many
// pixel lines of dark text on a white ground, which an empty list, the splash and the sign-in do
// not have. It prints "gotowy" once it watches, then the time of the first picture that shows
// the rows (microseconds since the epoch); it ends with 1 when the time is up first.
//   lista_namalowana <x> <y> <width> <height> <seconds>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// Pixel lines with dark text on a ground that is mostly white.
int linieTekstu(const QImage& obraz) {
  int linie = 0;
  for (int y = 0; y < obraz.height(); ++y) {
    const auto* p = reinterpret_cast<const QRgb*>(obraz.constScanLine(y));
    int biale = 0, ciemne = 0;
    for (int x = 0; x < obraz.width(); ++x) {
      const int j = qGray(p[x]);
      biale += j > 235;
      ciemne += j < 90;
    }
    linie += biale * 10 > obraz.width() * 4 && ciemne >= 3;
  }
  return linie;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s <x> <y> <width> <height> <seconds>\n", argv[0]);
    return 2;
  }
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]), w = std::atoi(argv[3]), h = std::atoi(argv[4]);
  const qint64 limit = std::atoll(argv[5]) * 1000;
  QScreen* ekran = QGuiApplication::primaryScreen();
  // A third of the rectangle's lines: the rows of a full list, never a window's few labels.
  const int prog = h / 3;
  std::printf("gotowy\n");
  std::fflush(stdout);
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < limit) {
    // The time the picture was taken: the rows were there by then.
    const auto kiedy = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    const QImage obraz = ekran->grabWindow(0, x, y, w, h).toImage().convertToFormat(QImage::Format_RGB32);
    if (linieTekstu(obraz) >= prog) {
      std::printf("%lld\n", static_cast<long long>(kiedy.count()));
      return 0;
    }
  }
  return 1;
}
