#include "IconListBox.h"

#include "Glyph.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
constexpr int GlyphRole = Qt::UserRole + 1;
// The widest text the list asks room for, in average characters.
constexpr int WidestFittedChars = 40;
}  // namespace

class IconListBox::Delegate : public QStyledItemDelegate {
public:
  explicit Delegate(IconListBox* box) : QStyledItemDelegate(box), box(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const auto* glyph = reinterpret_cast<const Glyph*>(index.data(GlyphRole).value<quintptr>());
    opt.text.clear();
    QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, box);
    if (box->UseIcons() && glyph && !glyph->IsEmpty()) {
      const QSize size = glyph->Size();
      const QPoint at(opt.rect.left() + 2, opt.rect.top() + (opt.rect.height() - size.height()) / 2);
      glyph->Draw(*painter, at, box->isEnabled());
    }
    const QRect textRect = opt.rect.adjusted(box->TextLeft(), 0, -2, 0);
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = box->isEnabled() ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                      box->Shortened(index.data().toString(), opt.fontMetrics, textRect.width()));
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const auto* glyph = reinterpret_cast<const Glyph*>(index.data(GlyphRole).value<quintptr>());
    int height = qMax(box->ItemHeight(), option.fontMetrics.height() + 2);
    if (box->UseIcons() && glyph) height = qMax(height, glyph->Size().height() + 2);
    const int width = option.fontMetrics.horizontalAdvance(index.data().toString()) + box->TextLeft() + 2;
    return {width, height};
  }

private:
  IconListBox* box;
};

IconListBox::IconListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new Delegate(this));
  setUniformItemSizes(true);
}

void IconListBox::SetUseIcons(bool on) {
  useIcons = on;
  doItemsLayout();
  viewport()->update();
}

void IconListBox::SetItemHeight(int height) {
  itemHeight = height;
  doItemsLayout();
}

int IconListBox::AddItem(const QString& text, const Glyph* glyph) {
  InsertItem(count(), text, glyph);
  return count() - 1;
}

void IconListBox::InsertItem(int index, const QString& text, const Glyph* glyph) {
  auto* item = new QListWidgetItem(text);
  item->setData(GlyphRole, QVariant::fromValue(reinterpret_cast<quintptr>(glyph)));
  if (glyph) widestGlyph = qMax(widestGlyph, glyph->Size().width());
  insertItem(index, item);
  updateGeometry();
}

const Glyph* IconListBox::ItemGlyph(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? reinterpret_cast<const Glyph*>(it->data(GlyphRole).value<quintptr>()) : nullptr;
}

QString IconListBox::Shortened(const QString& text, const QFontMetrics& metrics, int width) const {
  return metrics.elidedText(text, Qt::ElideMiddle, width);
}

QString IconListBox::ShownText(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? Shortened(it->text(), fontMetrics(), TextWidth(viewport()->width())) : QString();
}

QSize IconListBox::minimumSizeHint() const {
  QSize least = QListWidget::minimumSizeHint();
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = qMax(widest, fontMetrics().horizontalAdvance(item(i)->text()));
  widest = qMin(widest, fontMetrics().averageCharWidth() * WidestFittedChars);
  // The rows, the frame and room for the scroll bar, which may come with more rows.
  const int rows = TextLeft() + widest + 2 + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  least.setWidth(qMax(least.width(), rows));
  return least;
}

QSize IconListBox::sizeHint() const { return QListWidget::sizeHint().expandedTo(minimumSizeHint()); }
