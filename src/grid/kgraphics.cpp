#include "grid/kgraphics.h"

#include <QStringList>
#include <algorithm>

#include "platform/cp1250.h"

namespace kgrid {

QColor toQColor(TColor c) {
  if (c == clNone) return {};
  if (c & 0x80000000u) {
    switch (c & 0xFF) {
      case 5: return QColor(255, 255, 255);    // window
      case 8: return QColor(0, 0, 0);          // window text
      case 13: return QColor(0, 120, 215);     // highlight
      case 14: return QColor(255, 255, 255);   // highlight text
      case 15: return QColor(240, 240, 240);   // button face
      case 16: return QColor(160, 160, 160);   // button shadow
      case 20: return QColor(255, 255, 255);   // button highlight
      case 24: return QColor(255, 255, 225);   // info background
      default: return QColor(0, 0, 0);
    }
  }
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

void TKGridFont::Assign(const TKGridFont& o) {
  if (sameValue(o)) return;
  name_ = o.name_;
  size_ = o.size_;
  color_ = o.color_;
  style_ = o.style_;
  if (OnChange) OnChange();
}

QFont TKGridFont::toQFont() const {
  QFont f;
  QString face = cp1250::toQ(name_);
  // The old bitmap face has no Linux counterpart; its metrics are closest to these.
  if (face.compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) == 0)
    f.setFamilies({face, QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                   QStringLiteral("DejaVu Sans")});
  else
    f.setFamilies({face, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(std::max(1, (size_ * 96 + 36) / 72));
  f.setBold(style_ & fsBold);
  f.setItalic(style_ & fsItalic);
  f.setUnderline(style_ & fsUnderline);
  f.setStrikeOut(style_ & fsStrikeOut);
  return f;
}

}  // namespace kgrid
