#include "HintChoices.h"

QStringList HintChoices::AllItems() {
  return {QStringLiteral("None"), QStringLiteral("1"),  QStringLiteral("2"),
          QStringLiteral("4"),    QStringLiteral("8"),  QStringLiteral("16"),
          QStringLiteral("32"),   QStringLiteral("64"), QStringLiteral("128"),
          QStringLiteral("Unlimited")};
}

int HintChoices::ValueOf(const QString& item) {
  if (item == QLatin1String("None")) return 0;
  bool number = false;
  const int value = item.toInt(&number);
  return number ? value : -1;
}

int HintChoices::IndexOf(const QStringList& items, int limit) {
  if (items.isEmpty()) return -1;
  if (limit < 0) return int(items.size()) - 1;
  if (limit == 0) return 0;
  return int(items.indexOf(QString::number(limit)));
}

HintChoices::Offer HintChoices::ForNewPuzzle(int fileLimit, int setting) {
  Offer offer;
  offer.items = AllItems();
  if (fileLimit < 0) {
    offer.index = IndexOf(offer.items, setting);
    if (offer.index < 0) offer.index = int(offer.items.size()) - 1;
    return offer;
  }
  if (fileLimit == 0) {
    offer.items = QStringList{offer.items.first()};
    offer.index = 0;
    offer.enabled = offer.editable = false;
    return offer;
  }
  while (offer.items.size() > 1) {
    const int last = ValueOf(offer.items.last());
    if (last >= 0 && last <= fileLimit) break;
    offer.items.removeLast();
  }
  const int lastIndex = int(offer.items.size()) - 1;
  if (setting < 0) {
    offer.index = lastIndex;
    offer.editable = false;
  } else if (setting == 0) {
    offer.index = 0;
  } else {
    offer.index = IndexOf(offer.items, setting);
    if (offer.index < 0) offer.index = lastIndex;
    offer.editable = fileLimit > setting;
  }
  return offer;
}
