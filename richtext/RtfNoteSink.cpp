#include "RtfNoteSink.h"

#include "KeptGroup.h"
#include "NotePicture.h"
#include "NoteText.h"

namespace {
constexpr size_t kCacheSize = 16;
}

namespace {

// Newest first: a run mostly goes back to a look used a moment ago.
template <typename Attrs, typename Format>
const Format& Cached(std::vector<std::pair<Attrs, Format>>& cache, const Attrs& attrs) {
  for (auto entry = cache.rbegin(); entry != cache.rend(); ++entry)
    if (entry->first == attrs) return entry->second;
  if (cache.size() >= kCacheSize) cache.erase(cache.begin());
  cache.emplace_back(attrs, attrs.ToFormat());
  return cache.back().second;
}

}  // namespace

const QTextCharFormat& RtfNoteSink::Format(const CharAttrs& attrs) { return Cached(charCache_, attrs); }

const QTextBlockFormat& RtfNoteSink::BlockFormat(const ParaAttrs& para) {
  if (para.lineSpacing != 0 || !para.lineMultiple) return Cached(blockCache_, para);
  ParaAttrs single = para;  // \slmult means nothing without \sl, and is not written then
  single.lineMultiple = false;
  return Cached(blockCache_, single);
}

void RtfNoteSink::Count(qint64 positions) {
  positions_ += positions;
  if (positions_ > max_) full_ = true;
}

void RtfNoteSink::FlushRun() {
  if (run_.isEmpty()) return;
  builder_.AddText(run_, Format(runAttrs_));
  run_.truncate(0);  // keeps its buffer for the next run
}

void RtfNoteSink::Before() {
  if (pendingBreak_) {
    FlushRun();
    builder_.EndParagraph(pendingPara_, pendingMark_);
    pendingBreak_ = false;
  }
}

void RtfNoteSink::Text(const QString& text, const CharAttrs& attrs) {
  QString clean = NoteText::Clean(text, false);
  clean.remove(QChar(u'\v'));  // a raw byte 11 of RTF text; \line is the line break
  if (clean.isEmpty() || full_) return;
  PendingTab();
  Before();
  if (!(attrs == runAttrs_)) {
    FlushRun();
    runAttrs_ = attrs;
  }
  run_.append(clean);
  Count(clean.size());
}

void RtfNoteSink::PendingTab() {
  if (!pendingTab_) return;
  pendingTab_ = false;
  Text(QStringLiteral("\t"), tabAttrs_);
}

void RtfNoteSink::Cell(const CharAttrs& attrs) {
  PendingTab();
  pendingTab_ = true;
  tabAttrs_ = attrs;
}

void RtfNoteSink::Object(const QByteArray& bytes, QSize size, const CharAttrs& attrs) {
  if (full_) return;
  PendingTab();
  Before();
  FlushRun();
  QTextCharFormat format = Format(attrs);
  KeptGroup::SetGroup(format, bytes, size);
  const QImage picture = NotePicture::Decode(bytes, pictureBudget_);
  if (picture.isNull())
    builder_.AddObject(format);
  else
    builder_.AddPicture(format, picture);
  Count(1);
}

void RtfNoteSink::Paragraph(const ParaAttrs& para, const CharAttrs& mark) {
  if (full_) return;
  Before();
  FlushRun();
  pendingBreak_ = true;
  pendingPara_ = BlockFormat(para);
  pendingMark_ = Format(mark);
  Count(1);
}

void RtfNoteSink::Row(const ParaAttrs& para, const CharAttrs& mark) {
  pendingTab_ = false;  // the last cell needs no separator
  Paragraph(para, mark);
}

void RtfNoteSink::Finish(const ParaAttrs& para, bool whole) {
  FlushRun();
  if (pendingBreak_ && whole) {
    builder_.SetLastParagraph(pendingPara_);
    pendingBreak_ = false;
    --positions_;
    return;
  }
  Before();
  builder_.SetLastParagraph(BlockFormat(para));
}
