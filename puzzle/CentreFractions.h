#pragma once
// Centres of pieces and groups are stored as fractions of the table, and saved games bring
// them back from files: one that is no number in 0..1 is logged and taken as the middle.

// Whether both were fractions already.
bool MendCentreFractions(double& centreX, double& centreY);
