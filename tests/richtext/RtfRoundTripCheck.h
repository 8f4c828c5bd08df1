#pragma once
// The property the RTF fuzzer and the corpus replay check: whatever the reader made of any
// bytes, our writer's output of it reads back to the same text, formats and kept groups.

#include <QByteArray>

#include <string>

namespace RtfRoundTripCheck {
// Empty when the property holds, else how it failed.
std::string Check(const QByteArray& bytes);
}
