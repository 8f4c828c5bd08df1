#pragma once
// Printing a raster picture: the printer dialog, then the picture scaled to the page,
// keeping its aspect, centred.

#include "RasterLibrary.h"

#include <QRect>
#include <QString>

class QPainter;
class QWidget;

class BufferPrinter {
public:
  // False when the dialog was cancelled or nothing could be printed.
  static bool Print(const RasterImage& image, const QString& title, QWidget* owner = nullptr);
  // Draws the picture as large as fits page, centred.
  static void PaintPage(QPainter& painter, const RasterImage& image, const QRect& page);
};
