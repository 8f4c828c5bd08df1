#pragma once
// The sample piece the open dialog shows for a piece size: shape 0 on all four sides, filled
// and shaded, on a pure red key colour that the dialog shows as transparent.

#include <QImage>

// A 2s x 2s picture for piece size s.
QImage DrawEdgePreview(int pieceSize);
