#include "platform/snapshot.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "platform/errors.h"
#include "platform/wholefile.h"

namespace platform {

void saveFirstModalWindow(const QString& pngPath) {
  // The timer fires inside the modal window's own loop, once it is up and drawn.
  auto* timer = new QTimer(qApp);
  timer->setInterval(300);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, pngPath] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    // It shows the institution's data: written as every other file, whole and for its user alone.
    QByteArray png;
    QBuffer buffer(&png);
    bool ok = buffer.open(QIODevice::WriteOnly) && w->grab().save(&buffer, "PNG");
    if (ok) {
      try {
        writeWholeFile(pngPath, std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
                       WriteMode::Replace);
      } catch (const IoError&) {
        ok = false;
      }
    }
    if (!ok) qWarning("zelt: the picture of the first window could not be written to %s", qPrintable(pngPath));
  });
  timer->start();
}

}  // namespace platform
