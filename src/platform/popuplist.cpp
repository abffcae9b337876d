#include "platform/popuplist.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace platform {

namespace {

class WrappingDelegate : public QStyledItemDelegate {
 public:
  WrappingDelegate(QComboBox& combo, QObject* parent) : QStyledItemDelegate(parent), combo_(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o(option);
    o.features |= QStyleOptionViewItem::WrapText;
    o.textElideMode = Qt::ElideNone;
    QStyledItemDelegate::paint(painter, o, index);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o(option);
    initStyleOption(&o, index);
    o.features &= ~QStyleOptionViewItem::WrapText;
    QSize size = QStyledItemDelegate::sizeHint(o, index) + QSize(0, 2 * kPadding);
    const int widest = widestItem();
    if (size.width() <= widest) return size;
    // The item's margins stay as the style gives them; only the text is broken into lines.
    const QFontMetrics fm(o.font);
    const int margins = std::max(0, size.width() - fm.horizontalAdvance(o.text));
    const QRect lines = fm.boundingRect(QRect(0, 0, widest - margins, 1 << 20), Qt::TextWordWrap, o.text);
    return QSize(widest, size.height() - fm.height() + lines.height());
  }

 private:
  static constexpr int kPadding = 3;  // above and below each item, as the combo box's own list has
  // The widest an item may be: the screen's width less the list's frame and scroll bar.
  int widestItem() const {
    const QScreen* s = combo_.screen();
    const int screen = s ? s->availableGeometry().width() : 1024;
    const QAbstractItemView* v = combo_.view();
    return std::max(100, screen - 2 * v->frameWidth() - v->verticalScrollBar()->sizeHint().width() - 8);
  }
  QComboBox& combo_;
};

// Keeps the shown list inside its screen: the combo box makes it as wide as its longest item,
// or the screen, but may leave it standing out past the screen's right edge.
class OnScreen : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Show || e->type() == QEvent::Resize || e->type() == QEvent::Move) {
      auto* w = static_cast<QWidget*>(watched);
      if (const QScreen* s = w->screen()) {
        const QRect screen = s->availableGeometry();
        QRect g = w->geometry();
        g.setWidth(std::min(g.width(), screen.width()));
        if (g.right() > screen.right()) g.moveRight(screen.right());
        if (g.left() < screen.left()) g.moveLeft(screen.left());
        if (g != w->geometry()) w->setGeometry(g);
      }
    }
    return false;
  }
};

}  // namespace

void fitPopupToItems(QComboBox& combo) {
  auto* list = qobject_cast<QListView*>(combo.view());
  if (!list) return;
  list->setTextElideMode(Qt::ElideNone);
  list->setUniformItemSizes(false);
  list->setItemDelegate(new WrappingDelegate(combo, list));
  if (QWidget* popup = list->parentWidget()) popup->installEventFilter(new OnScreen(popup));
}

}  // namespace platform
