#pragma once
// A growable array of 32-bit integers with an identifying text that names it in errors.
// A bad index raises ERangeError.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class IntArray {
public:
  struct CommaListTag {};
  static constexpr CommaListTag CommaList{};

  explicit IntArray(const QString& id);
  // Starts with initialSize entries of 0; storage grows growStep entries at a time.
  IntArray(int initialSize, int growStep, const QString& id);
  // From text such as "12, -5,300". Tokens that are not whole decimal int32 numbers are
  // skipped (one log line each); empty text gives an empty array.
  IntArray(CommaListTag, const QString& list, const QString& id);
  virtual ~IntArray();

  // The new entry's index, or -1 without adding when unique is set and the value is present.
  virtual int Add(std::int32_t value, bool unique = false);
  virtual std::int32_t Get(int index) const;
  virtual void Put(int index, std::int32_t value);
  // Later entries move down one.
  virtual void Delete(int index);
  // New entries are 0.
  virtual void SetSize(int n);
  virtual int Size() const;
  virtual bool IsValidIndex(int index) const;
  virtual void Clear();
  virtual std::unique_ptr<IntArray> Clone() const;
  // Same count and values.
  virtual bool IsEqualTo(const IntArray& other) const;

  const QString& Id() const { return id; }
  [[noreturn]] void ThrowRangeException(int index) const;

private:
  void Reserve(std::size_t count);
  std::vector<std::int32_t> values;
  int growStep = 16;
  QString id;
};
