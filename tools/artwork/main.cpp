// Draws every picture of the game into the folder given on the command line.

#include "ArtKit.h"
#include "Drawings.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: artwork_gen <output folder>\n");
    return 2;
  }
  ArtKit::SetOutputRoot(QString::fromLocal8Bit(argv[1]));
  DrawMenuGlyphs();
  DrawSmallTools();
  DrawLargeTools();
  DrawTableArt();
  DrawCursors();
  DrawBrand();
  DrawAboutArt();
  return 0;
}
