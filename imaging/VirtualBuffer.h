#pragma once
// VirtualBuffer: a 32-bit off-screen picture over one slot of the raster library. Every
// picture, piece image, video frame, table and background of the game is one.
//
// Pixels are 0x00RRGGBB (bytes B, G, R, 0), rows stored bottom-up with a stride of
// 4 × width bytes: pixel (x, y) is memory[(height − 1 − y) × stride / 4 + x]. Hot loops walk
// the rows through memory and stride (or Row) directly. Pixel value 0 (low 24 bits) is
// transparent to the transparent copies.
//
// Sizes are capped (each side at most 32767, at most 2^28 pixels); a refused or non-positive
// size gives an empty buffer (no memory, handle 0) on which every operation does nothing.

#include "RasterLibrary.h"

#include <QPoint>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

class QImage;
class QIODevice;
class QRect;
class QWidget;

class VirtualBuffer {
public:
  static constexpr int MaxSide = 32767;
  static constexpr std::int64_t MaxPixels = std::int64_t(1) << 28;

  // Asks for a buffer whose every pixel a decoder is about to write: its memory is not
  // cleared first (a pass over the whole picture saved).
  struct Uncleared {};

  // Modes of Read and Write.
  static constexpr int RawMode = 1;     // stride × height bytes straight into memory
  static constexpr int BitmapMode = 2;  // a BMP file
  static constexpr int JpegMode = 3;    // a JPEG stream

  // How the resized copies sample their source.
  enum class Filter { Nearest, Smooth };

  // An empty (all 0) buffer of that size. With memory null it owns its pixels; otherwise it
  // is laid over the caller's memory, which the caller keeps and which must hold at least
  // memoryBytes (0: exactly 4 × width × height) bytes.
  VirtualBuffer(int width, int height, const QString& name, void* memory = nullptr,
                std::size_t memoryBytes = 0);
  // A buffer of that size whose pixels are undefined until written.
  VirtualBuffer(int width, int height, const QString& name, Uncleared);
  // A picture compiled into the program: the Qt resource ":/<type>/<resourceId>".
  VirtualBuffer(int resourceId, const QString& name, const QString& type = QStringLiteral("bitmaps"));
  // The bitmap's size and pixels; a pixel of value 0 is stored as 1, so that nothing of a
  // picture counts as transparent.
  VirtualBuffer(const QImage& bitmap, const QString& name);
  // A copy of source resampled to width × height, or with keepAspect to the largest size of
  // the source's aspect inside that box.
  VirtualBuffer(const VirtualBuffer& source, int width, int height, bool keepAspect,
                Filter filter = Filter::Nearest);
  // A copy scaled by percent; 100 copies exactly, otherwise each side is
  // percent × side × 0.01 + 0.5, truncated.
  VirtualBuffer(const VirtualBuffer& source, int percent, Filter filter = Filter::Nearest);
  virtual ~VirtualBuffer();

  VirtualBuffer(const VirtualBuffer&) = delete;
  VirtualBuffer& operator=(const VirtualBuffer&) = delete;

  // Row y, counted from the top.
  std::uint32_t* Row(int y) const {
    return memory + static_cast<std::ptrdiff_t>(height - 1 - y) * width;
  }
  bool IsEmpty() const { return memory == nullptr; }
  RasterImage Image() const { return {memory, width, height}; }

  // Makes this the raster library's active buffer; false for an empty buffer.
  bool Open() const;
  // Index of a pixel in memory; 0 for a point outside (the first one logged).
  int PtToI_1(QPoint point) const;
  int PtToI_2(int px, int py) const;

  // Copies the whole source with its top-left corner at x, y, clipped; with transparent
  // set, source pixels whose low 24 bits are 0 are skipped.
  void DrawBuffer(int px, int py, const VirtualBuffer& source, bool transparent);
  // A new buffer holding the part of left..right × top..bottom (inclusive) that lies inside
  // this one, positioned at that part's top-left corner.
  std::unique_ptr<VirtualBuffer> SubImage(int left, int top, int right, int bottom) const;

  // Nearest-neighbour copy of the whole source scaled to this buffer.
  void StretchFrom(const VirtualBuffer& source);
  // Two-times enlargement of the source region with top-left x, y (half this buffer's size).
  void MagnifyFrom(const VirtualBuffer& source, int sx, int sy);
  // Repeats the source over the whole buffer from the top-left corner.
  void TileFrom(const VirtualBuffer& source);

  // Lowers every channel by amount, floored at 0.
  void Darken(int amount);
  // Turns the buffer into a signed shading map from each pixel's blue byte: 1 or 15 give 0
  // (no change), 2 gives −darkness, any other v gives v / divisor.
  void MakeShadeMap(int divisor, int darkness);
  // Adds a shading map to the pixels under it (its top-left at x, y), channels kept in 0..255.
  void ApplyShadeMap(int px, int py, const VirtualBuffer& map);

  // Flood-fills the 4-connected region of the seed pixel's value with colour, a 0x00BBGGRR
  // colour value.
  void Fill(int px, int py, int colour);
  // Full-width and full-height lines through point in a pixel value, with shadow lines one
  // pixel right and below unless shadow is −1.
  void DrawCrossLines(QPoint point, int colour, int shadow = -1);
  void DrawVerticalLine(int px, int colour, int shadow = -1);

  // Draws a picture with its top-left corner at x, y.
  void DrawGraphic(const QImage& graphic, int px, int py);
  // Writes the first length characters of text in white near the top-left corner.
  void DrawLabel(const QString& text, int length);

  // Shows the buffer in a widget at 0, 0 or at x, y: drawn at once inside the widget's paint
  // event (with no other painter open on it), else through a repaint that happens at once.
  void Render(QWidget* control) const;
  void RenderAt(QWidget* control, int px, int py) const;
  // Shows only part of the buffer (rows from the top; empty for all) at its place, as Render.
  void RenderPart(QWidget* control, const QRect& part) const;
  // The printer dialog (over owner when given), then the buffer scaled to the page; false
  // when nothing printed.
  bool Print(QWidget* owner = nullptr) const;

  // RawMode reads stride × height + extra bytes into memory (false, reading nothing, when
  // the memory cannot hold them); BitmapMode and JpegMode decode a picture of this buffer's
  // size (another size leaves the buffer unchanged and gives false).
  bool Read(QIODevice& stream, int mode, int extra = 0);
  bool Write(QIODevice& stream, int mode) const;

  // Width and height from the header of a "bmp", "jpg" or "jpeg" file; false, filling
  // nothing, for other files or a bad header.
  static bool GetImageFileSize(const QString& path, int& fileWidth, int& fileHeight);
  // The file holds a baseline JPEG frame header.
  static bool IsValidJpeg(const QString& path);

  // Keeps a copy as the global test buffer (diagnostics only).
  void MakeTestCopy() const;
  static const VirtualBuffer* TestBuffer();

  // Buffers alive now, and the most that ever were at once ("VB High = ").
  static int LiveCount();
  static int HighCount();

  const int width;
  const int height;
  const int handle;  // raster-library slot; 0 for an empty buffer
  const int stride;  // bytes per row: 4 × width
  std::uint32_t* const memory;
  QString name;
  int x = 0;  // placement, set by the owner
  int y = 0;

private:
  struct Storage {
    int width = 0;
    int height = 0;
    std::uint32_t* pixels = nullptr;
    std::size_t bytes = 0;
    bool owned = false;
  };
  static Storage Allocate(int w, int h, const QString& name, bool cleared = true);
  static Storage Over(int w, int h, void* memory, std::size_t bytes, const QString& name);
  VirtualBuffer(const Storage& storage, const QString& name);

  void LogOutside(int px, int py) const;
  bool ReadRaw(QIODevice& stream, int extra);

  const std::size_t memoryBytes;
  const bool ownsMemory;
  mutable bool loggedOutside = false;
};
