#pragma once
// The die cleaning written the slow, obvious way: whole-picture scans in their natural order
// with a checked read per pixel. The fast cleaner must give the same pixels.

class TestCanvas;

namespace ReferenceCleaner {
// keepLinks: an L corner whose diagonally opposite pixel is line stays.
void Thin(TestCanvas& canvas, bool keepLinks = false);
void FillGaps(TestCanvas& canvas);
}  // namespace ReferenceCleaner
