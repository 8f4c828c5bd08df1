#pragma once
// The hint limits the open dialog offers: "None", powers of two up to 128, "Unlimited",
// cut down to what a puzzle file allows.

#include <QStringList>

namespace HintChoices {
QStringList AllItems();
// 0 for "None", -1 for "Unlimited" (or no entry), else the number.
int ValueOf(const QString& item);
// The entry for a stored limit: -1 the last, 0 the first, else that number's entry; -1
// when the number is not offered.
int IndexOf(const QStringList& items, int limit);

struct Offer {
  QStringList items;
  int index = -1;
  bool enabled = true;
  bool editable = true;  // whether the player's choice is stored back
};
// For a new puzzle whose file allows `fileLimit` hints (-1 no limit), with the stored choice.
Offer ForNewPuzzle(int fileLimit, int setting);
}  // namespace HintChoices
