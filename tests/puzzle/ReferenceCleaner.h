#pragma once
// The die cleaning written the slow, obvious way: whole-picture scans in their natural order
// with a checked read per pixel. The fast cleaner must give the same pixels.

class TestCanvas;

namespace ReferenceCleaner {
void Thin(TestCanvas& canvas);
void FillGaps(TestCanvas& canvas);
}  // namespace ReferenceCleaner
