#include "ChrArray.h"

#include "ERangeError.h"

#include <algorithm>

ChrArray::ChrArray(int size, const QString& id) : id(id) {
  if (size < 0) ThrowRangeException(size);
  chars.assign(static_cast<std::size_t>(size), '\0');
}

char& ChrArray::operator[](int i) {
  if (i < 0 || i >= Size()) ThrowRangeException(i);
  return chars[static_cast<std::size_t>(i)];
}

char ChrArray::operator[](int i) const {
  if (i < 0 || i >= Size()) ThrowRangeException(i);
  return chars[static_cast<std::size_t>(i)];
}

void ChrArray::IndexChk(int n) const {
  if (n < 0 || n >= Size()) ThrowRangeException(n);
}

void ChrArray::StringChk() const {
  if (std::find(chars.begin(), chars.end(), '\0') == chars.end())
    throw ERangeError(QStringLiteral("ChrArray \"%1\": text is not terminated within %2 characters")
                          .arg(id)
                          .arg(Size()));
}

void ChrArray::ThrowRangeException(int index) const {
  throw ERangeError(QStringLiteral("ChrArray \"%1\": index %2 is out of range (size %3)")
                        .arg(id)
                        .arg(index)
                        .arg(Size()));
}
