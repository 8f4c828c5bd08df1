#include "KeptGroupReader.h"

#include "KeptGroup.h"
#include "NoteFormat.h"

#include <algorithm>
#include <cstdint>

namespace {

struct Sizes {
  // The first of each word counts: an object's own size before its result picture's.
  std::int32_t picw = 0, pich = 0, picwgoal = 0, pichgoal = 0, picscalex = 100, picscaley = 100;
  std::int32_t objw = 0, objh = 0, objscalex = 100, objscaley = 100;
  std::uint32_t seen = 0;

  void Take(std::string_view word, std::int32_t value) {
    static constexpr std::string_view kNames[] = {"picw",  "pich",     "picwgoal",  "pichgoal", "picscalex",
                                                  "picscaley", "objw", "objh", "objscalex", "objscaley"};
    std::int32_t* const fields[] = {&picw, &pich, &picwgoal, &pichgoal, &picscalex,
                                    &picscaley, &objw, &objh, &objscalex, &objscaley};
    for (int i = 0; i < 10; ++i) {
      if (word == kNames[i] && !(seen & (1u << i))) {
        seen |= 1u << i;
        *fields[i] = value;
      }
    }
  }
};

int Side(std::int64_t pixels, std::int32_t scale) {
  const std::int64_t scaled = pixels * std::clamp(scale, 1, 10000) / 100;
  return static_cast<int>(std::clamp<std::int64_t>(scaled, 1, KeptGroup::MaxSide));
}

int TwipsSide(std::int32_t twips, std::int32_t scale) {
  return Side(static_cast<std::int64_t>(NoteFormat::TwipsToPixels(std::clamp(twips, 0, 0x7FFFFFF))), scale);
}

}  // namespace

KeptGroupReader::Result KeptGroupReader::Read(RtfTokenizer& tokenizer, bool object) {
  Result result;
  Sizes sizes;
  std::int64_t depth = 1;
  for (;;) {
    const RtfTokenizer::Token token = tokenizer.Next();
    if (token.kind == RtfTokenizer::Kind::End) break;
    if (token.kind == RtfTokenizer::Kind::GroupOpen) ++depth;
    if (token.kind == RtfTokenizer::Kind::GroupClose && --depth == 0) {
      result.complete = true;
      break;
    }
    if (token.kind == RtfTokenizer::Kind::Word && token.hasParam) sizes.Take(token.word, token.param);
  }
  if (object && sizes.objw > 0 && sizes.objh > 0) {
    result.size = QSize(TwipsSide(sizes.objw, sizes.objscalex), TwipsSide(sizes.objh, sizes.objscaley));
  } else {
    const int w = sizes.picwgoal > 0 ? TwipsSide(sizes.picwgoal, sizes.picscalex) : Side(std::max(sizes.picw, 1), sizes.picscalex);
    const int h = sizes.pichgoal > 0 ? TwipsSide(sizes.pichgoal, sizes.picscaley) : Side(std::max(sizes.pich, 1), sizes.picscaley);
    result.size = QSize(w, h);
  }
  return result;
}

QByteArray KeptGroupReader::Share(const QByteArray& source, qsizetype from, qsizetype size) {
  QByteArray shared = source;
  QByteArray::DataPointer& pointer = shared.data_ptr();
  auto* header = pointer.d_ptr();
  if (header == nullptr) return source.mid(from, size);  // raw data: nothing to share
  header->ref();
  return QByteArray(QArrayDataPointer<char>(header, pointer.data() + from, size));
}
