#pragma once
// How large a still picture is played: it must leave a 20-pixel margin inside the table area,
// and may then cover at most a set percentage of that area.

class PictureFit {
public:
  // The fit of a width × height picture to an area of areaWidth × areaHeight. Nothing is
  // fitted (the picture plays at full size) when it already fits with its margin, or when
  // either size is unknown: a picture side of 0 or less, an area side of 20 or less (no
  // layout yet, no screen).
  static PictureFit Compute(int width, int height, int areaWidth, int areaHeight,
                            int maxPercentage);

  // As Compute, but the coverage limit holds also for a picture that fits with its margin,
  // as a still-puzzle file asks.
  static PictureFit ComputeCovering(int width, int height, int areaWidth, int areaHeight,
                                    int maxPercentage);

  bool scaled = false;
  // Valid when scaled; each side at least 1.
  int playWidth = 0;
  int playHeight = 0;
  // The factor of the last step applied.
  float scale = 1.0f;

private:
  void ToMargin(int width, int height, int areaWidth, int areaHeight);
  void ToCoverage(int areaWidth, int areaHeight, int maxPercentage);
};
