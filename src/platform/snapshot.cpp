#include "platform/snapshot.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

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
    const QString part = pngPath + QStringLiteral(".part");
    if (w->grab().save(part, "PNG")) {
      QFile::remove(pngPath);
      QFile::rename(part, pngPath);
    } else {
      qWarning("zelt: the picture of the first window could not be written to %s", qPrintable(pngPath));
    }
  });
  timer->start();
}

}  // namespace platform
