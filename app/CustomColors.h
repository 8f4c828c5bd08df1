#pragma once
// The colour dialog's 16 custom colours as the settings keep them: lines "ColorA=bbggrr" to
// "ColorP=bbggrr", six hex digits in blue-green-red order.

#include <QColor>
#include <QStringList>

#include <array>
#include <optional>

namespace CustomColors {
constexpr int Count = 16;
using Slots = std::array<std::optional<QColor>, Count>;

// The slots the lines name; a line that is not "ColorX=" and six hex digits is skipped.
Slots Parse(const QStringList& lines);
// All 16 lines, an empty slot as white.
QStringList Format(const Slots& colours);

// Qt's own colour dialog (not the desktop's, whose custom colours are its own) keeps them.
void LoadIntoDialog(const QStringList& lines);
QStringList SaveFromDialog();
}  // namespace CustomColors
