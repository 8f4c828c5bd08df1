#pragma once
// The range error the array and list classes raise for a bad index.

#include <QString>
#include <stdexcept>

class ERangeError : public std::out_of_range {
public:
  explicit ERangeError(const QString& message)
      : std::out_of_range(message.toStdString()), message(message) {}
  const QString& Message() const { return message; }

private:
  QString message;
};
