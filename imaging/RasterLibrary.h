#pragma once
// The raster library: numbered handles over 32-bit pictures, an active picture with a
// current colour for single-pixel work, and clipped block copies between pictures.
//
// Pixels are 0x00RRGGBB (bytes B, G, R, 0); rows are stored bottom-up, one row is
// 4 × width bytes. Coordinates are counted from the top-left corner. Handles, the active
// picture and the colour belong to the main thread.

#include <cstddef>
#include <cstdint>

// One picture as the library sees it: its pixels and size.
struct RasterImage {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Row y counted from the top.
  std::uint32_t* Row(int y) const {
    return pixels + static_cast<std::ptrdiff_t>(height - 1 - y) * width;
  }
};

class RasterLibrary {
public:
  // Registers a picture and returns its handle (never 0).
  static int AddSlot(const RasterImage& image);
  static void RemoveSlot(int handle);
  // The picture of a handle; an empty one for an unknown handle.
  static RasterImage Slot(int handle);
  // Makes a handle the active picture of the pixel calls; false for an unknown or empty one.
  static bool Activate(int handle);
  static void Deactivate();

  // Copies w × h pixels from (sx, sy) of the source to (tx, ty) of the target, both
  // counted from the top, clipped to both pictures. With transparent set, source pixels
  // whose low 24 bits are 0 are skipped. Source and target may be the same picture.
  static void CopyBlock(const RasterImage& source, int sx, int sy, int w, int h,
                        const RasterImage& target, int tx, int ty, bool transparent);
};

// Bytes of memory a width × height picture needs (4 bytes per pixel, no header).
std::size_t RasterBufferMemorySize(int width, int height);
// The pixel memory of a handle, or null.
std::uint32_t* RasterBufferAddress(int handle);

// Copies the rectangle minx..maxx × miny..maxy (inclusive, rows from the top) of the source
// so that its lower-left corner lands at newx, newy of the target: its top row lands at
// newy − (maxy − miny). Clipped to both pictures.
void RasterCopyRect(int minx, int maxx, int miny, int maxy, int newx, int newy,
                    int sourceHandle, int targetHandle);
// The same, skipping source pixels whose low 24 bits are 0.
void RasterCopyRectTransparent(int minx, int maxx, int miny, int maxy, int newx, int newy,
                               int sourceHandle, int targetHandle);

// Pixel of the active picture; 0 outside it or without one.
std::uint32_t RasterGetPixel(int x, int y);
// Writes the current colour; ignored outside the active picture.
void RasterPutPixel(int x, int y);
void RasterSetColor(std::uint32_t value);
std::uint32_t RasterMapRGB(int r, int g, int b);
void RasterSplitColor(std::uint32_t value, int& r, int& g, int& b);
