#pragma once
// number × numerator / denominator over a 64-bit product, rounded to the nearest with
// halves away from zero; -1 for a zero denominator or a result outside 32 bits.

int MulDiv(int number, int numerator, int denominator);
