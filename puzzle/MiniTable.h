#pragma once
// A mini table as the pieces draw on it: its picture, scaled from the main table by two zoom
// factors. The control panel's mini tables live in a higher layer and implement this.

class VirtualBuffer;

class MiniTable {
public:
  virtual ~MiniTable();

  // Null while the mini has no picture.
  virtual VirtualBuffer* Buffer() = 0;
  virtual double ZoomX() const = 0;
  virtual double ZoomY() const = 0;
  // Shows the picture again.
  virtual void Repaint() = 0;
};
