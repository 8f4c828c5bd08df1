#include "IntArray.h"

#include "ERangeError.h"
#include "TMsgLog.h"

#include <QStringList>
#include <algorithm>

IntArray::IntArray(const QString& id) : id(id) {}

IntArray::IntArray(int initialSize, int growStep, const QString& id)
    : growStep(std::max(growStep, 1)), id(id) {
  SetSize(initialSize);
}

IntArray::IntArray(CommaListTag, const QString& list, const QString& id) : id(id) {
  for (const QString& token : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString number = token.trimmed();
    if (number.isEmpty()) continue;
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    if (ok) {
      Add(value);
    } else {
      TMsgLog::Add(QStringLiteral("IntArray ") + id + QStringLiteral(" - skipped \"") + number +
                   QStringLiteral("\" in a number list"));
    }
  }
}

IntArray::~IntArray() = default;

void IntArray::Reserve(std::size_t count) {
  const std::size_t capacity = values.capacity();
  if (count <= capacity) return;
  // At least one grow step, and geometric growth so that long runs of Add stay linear.
  const std::size_t step = static_cast<std::size_t>(growStep);
  values.reserve(std::max({count, capacity + step, capacity + capacity / 2}));
}

int IntArray::Add(std::int32_t value, bool unique) {
  if (unique && std::find(values.begin(), values.end(), value) != values.end()) return -1;
  Reserve(values.size() + 1);
  values.push_back(value);
  return Size() - 1;
}

std::int32_t IntArray::Get(int index) const {
  if (!IsValidIndex(index)) ThrowRangeException(index);
  return values[static_cast<std::size_t>(index)];
}

void IntArray::Put(int index, std::int32_t value) {
  if (!IsValidIndex(index)) ThrowRangeException(index);
  values[static_cast<std::size_t>(index)] = value;
}

void IntArray::Delete(int index) {
  if (!IsValidIndex(index)) ThrowRangeException(index);
  values.erase(values.begin() + index);
}

void IntArray::SetSize(int n) {
  if (n < 0) ThrowRangeException(n);
  Reserve(static_cast<std::size_t>(n));
  values.resize(static_cast<std::size_t>(n), 0);
}

int IntArray::Size() const { return static_cast<int>(values.size()); }

bool IntArray::IsValidIndex(int index) const { return index >= 0 && index < Size(); }

void IntArray::Clear() { values.clear(); }

std::unique_ptr<IntArray> IntArray::Clone() const { return std::make_unique<IntArray>(*this); }

bool IntArray::IsEqualTo(const IntArray& other) const {
  return Size() == other.Size() && std::equal(values.begin(), values.end(), other.values.begin());
}

void IntArray::ThrowRangeException(int index) const {
  throw ERangeError(QStringLiteral("IntArray \"%1\": index %2 is out of range (size %3)")
                        .arg(id)
                        .arg(index)
                        .arg(Size()));
}
