#pragma once
// What one turn of the mouse wheel does on the main window: turn the carried pieces, or
// restack the table's pieces. Only whole notches act, one step however many there are.

enum class WheelStep { None, RotateLeft, RotateRight, BottomToTop, TopToBottom };

// delta: the wheel's vertical turn in eighths of a degree (120 per notch).
WheelStep StepForWheel(int delta, bool holdsSelection, bool hasTable);
