#pragma once
// A fixed-size character buffer with an identifying text and index checks; a bad index
// raises ERangeError.

#include <QString>
#include <vector>

class ChrArray {
public:
  // The buffer starts zeroed.
  ChrArray(int size, const QString& id);

  char* C_array() { return chars.data(); }
  const char* C_array() const { return chars.data(); }
  int Size() const { return static_cast<int>(chars.size()); }
  const QString& Id() const { return id; }

  // 0 <= i < size.
  char& operator[](int i);
  char operator[](int i) const;
  // Raises unless n characters and their terminating NUL fit: n must be below the size.
  void IndexChk(int n) const;
  // Raises unless the text is terminated within the buffer.
  void StringChk() const;
  [[noreturn]] void ThrowRangeException(int index) const;

private:
  std::vector<char> chars;
  QString id;
};
