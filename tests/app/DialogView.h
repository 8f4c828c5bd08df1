#pragma once
// The open dialog as the player sees it: its controls by name, and the selection in one line;
// folders of pictures for it to list.

#include "TPuzzleDialog2.h"

#include "controls/IconListBox.h"
#include "controls/LabelButton.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QImageWriter>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTabBar>

// A folder of this test program's scratch folder, made when missing; ends in '/'.
inline QString DialogFolder(const QString& name) {
  const QString folder = TestEnvironment::ScratchFolder() + QLatin1Char('/') + name;
  QDir().mkpath(folder);
  return folder + QLatin1Char('/');
}

// A picture of the size given, written as a BMP or JPEG by its name (progressive JPEGs too);
// its path.
inline QString DialogPicture(const QString& folder, const QString& name, int width, int height,
                             bool progressive = false) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x & 255, y & 255, 90));
  QImageWriter writer(folder + name);
  writer.setFormat(name.endsWith(QLatin1String("bmp"), Qt::CaseInsensitive) ? "bmp" : "jpg");
  writer.setProgressiveScanWrite(progressive);
  writer.write(image);
  return folder + name;
}

template <typename T>
T* Control(QWidget& dialog, const char* name) {
  T* control = dialog.findChild<T*>(QLatin1String(name));
  if (!control) qFatal("no control %s", name);
  return control;
}

// The tab, the highlighted rows and the current one with its name, the file the facts name
// and its size, and which of Open and the two arrows can be used.
inline QString Seen(TPuzzleDialog2& dialog) {
  auto* list = Control<IconListBox>(dialog, "PuzzleListBox");
  QStringList highlighted;
  for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
    highlighted << QString::number(index.row());
  const int row = list->currentRow();
  const auto on = [&](const char* name) {
    return QLatin1String(Control<QWidget>(dialog, name)->isEnabled() ? "on" : "off");
  };
  return QStringLiteral("tab %1, highlighted %2, row %3 %4, file %5 %6, open %7, up %8, down %9")
      .arg(Control<QTabBar>(dialog, "TabControl1")->currentIndex())
      .arg(highlighted.join(QLatin1Char(' ')))
      .arg(row)
      .arg(row >= 0 ? list->item(row)->text() : QStringLiteral("-"))
      .arg(Control<LabelButton>(dialog, "FileLbl")->Caption())
      .arg(Control<QLabel>(dialog, "SizeLbl")->text())
      .arg(on("OpenBtn"), on("SpinUpBtn"), on("SpinDownBtn"));
}
