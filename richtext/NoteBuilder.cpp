#include "NoteBuilder.h"

#include "KeptGroup.h"
#include "NoteBudget.h"
#include "NoteText.h"
#include "PictureFit.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace {

// Qt's layout never returns once a document passes about 2^23 pixels with lines taller than
// a few dozen pixels. A note that could come near that height, laid out in its narrowest
// window (a line per character, each as tall as the tallest letter or picture of its
// paragraph), is shown with its letters, pictures, line spacing and paragraph spacing kept
// small; the formats it stores and writes are not changed.
constexpr double TallPixels = 4e6;
constexpr double FlatPointSize = 24;
constexpr double FlatSpacingPixels = 16;
constexpr double FlatPictureHeight = 32;

double PixelsOfPoints(double points) { return points * 96.0 / 72.0; }

// At most: ascent, descent and leading are within 1.5 times the size.
double LineHeight(const QTextBlockFormat& block, double fontPixels) {
  const double natural = fontPixels * 1.5;
  switch (block.lineHeightType()) {
    case QTextBlockFormat::FixedHeight: return block.lineHeight();
    case QTextBlockFormat::MinimumHeight: return std::max(block.lineHeight(), natural);
    case QTextBlockFormat::ProportionalHeight: return natural * block.lineHeight() / 100;
    default: return natural;
  }
}

// A picture is shown no taller than the tallest window's room.
double PictureHeight(const QTextCharFormat& format) {
  if (!format.isImageFormat() || !format.hasProperty(QTextFormat::ImageHeight)) return 0;
  return std::min(format.toImageFormat().height(), PictureFit::MaxRoomHeight);
}

QTextCharFormat Flat(QTextCharFormat format) {
  if (format.fontPointSize() > FlatPointSize) format.setFontPointSize(FlatPointSize);
  if (PictureHeight(format) > FlatPictureHeight) {
    QTextImageFormat picture = format.toImageFormat();
    picture.setWidth(std::max(picture.width() * FlatPictureHeight / picture.height(), 1.0));
    picture.setHeight(FlatPictureHeight);
    return picture;
  }
  return format;
}

bool HasStops(const QTextBlockFormat& format) { return !format.property(QTextFormat::TabPositions).toList().isEmpty(); }

QTextBlockFormat Flat(QTextBlockFormat format) {
  format.setLineHeight(100, QTextBlockFormat::SingleHeight);
  format.setTopMargin(std::min(format.topMargin(), FlatSpacingPixels));
  format.setBottomMargin(std::min(format.bottomMargin(), FlatSpacingPixels));
  return format;
}

}  // namespace

int NoteBuilder::CharFormatIndex(const QTextCharFormat& format) {
  if (charFormats_.empty() || !(charFormats_.back() == format)) charFormats_.push_back(format);
  return static_cast<int>(charFormats_.size()) - 1;
}

void NoteBuilder::AddText(QStringView text, const QTextCharFormat& format) {
  if (text.isEmpty()) return;
  const int index = CharFormatIndex(format);
  if (!ops_.empty() && ops_.back().kind == Kind::Text && ops_.back().format == index) {
    ops_.back().length += text.size();
  } else {
    ops_.push_back({Kind::Text, index, 0, text_.size(), text.size()});
  }
  text_.append(text);
  length_ += text.size();
}

void NoteBuilder::AddControlText(QStringView text, const QTextCharFormat& format, const QTextBlockFormat& paragraph) {
  const QString clean = NoteText::Clean(text.toString());
  QString run;
  for (qsizetype i = 0; i < clean.size(); ++i) {
    const QChar c = clean[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < clean.size() && clean[i + 1] == u'\n') ++i;
      AddText(run, format);
      run.clear();
      EndParagraph(paragraph, format);
    } else {
      run.append(c == u'\v' ? QChar(NoteText::LineBreak) : c);
    }
  }
  AddText(run, format);
  SetLastParagraph(paragraph);
}

void NoteBuilder::AddObject(const QTextCharFormat& objectFormat) {
  charFormats_.push_back(objectFormat);
  ops_.push_back({Kind::Object, static_cast<int>(charFormats_.size()) - 1, 0, 0, 1});
  ++length_;
}

void NoteBuilder::AddPicture(QTextCharFormat objectFormat, const QImage& picture) {
  pictures_.emplace_back(KeptGroup::ShowPicture(objectFormat), picture);
  AddObject(objectFormat);
}

void NoteBuilder::AddResources(QTextDocument* document) const {
  KeptGroup::Install(document);
  for (const auto& [name, picture] : pictures_) document->addResource(QTextDocument::ImageResource, QUrl(name), picture);
}

void NoteBuilder::EndParagraph(const QTextBlockFormat& paragraph, const QTextCharFormat& mark) {
  if (blockFormats_.empty() || !(blockFormats_.back() == paragraph)) blockFormats_.push_back(paragraph);
  ops_.push_back({Kind::Paragraph, CharFormatIndex(mark), static_cast<int>(blockFormats_.size()) - 1, 0, 1});
  ++length_;
}

std::unique_ptr<QTextDocument> NoteBuilder::Build() const {
  auto document = std::make_unique<QTextDocument>();
  // Not laid out until it is given a width. Qt lays out a document with a page size as soon
  // as it has a layout, again whenever its margin or font changes, and a note may be one
  // paragraph of a megabyte, which is laid out whole each time.
  document->setPageSize(QSizeF(0, 0));
  document->setUndoRedoEnabled(false);
  QTextCursor cursor(document.get());
  Apply(cursor, true);
  AddResources(document.get());
  document->setUndoRedoEnabled(true);
  document->setModified(false);
  return document;
}

void NoteBuilder::InsertAt(QTextCursor& cursor) const {
  AddResources(cursor.document());
  Apply(cursor, false);
}

// Each paragraph's lines as tall as its largest letters or picture: a large title does not
// count for the whole note.
NoteBuilder::Survey NoteBuilder::Measure() const {
  constexpr double DefaultPixels = 16;
  Survey survey;
  double fontPixels = DefaultPixels, picture = 0;
  qsizetype characters = 0, tabs = 0, objects = 0;
  const auto paragraph = [&](const QTextBlockFormat& block) {
    const double line = std::max(LineHeight(block, fontPixels), picture);
    survey.worstHeight += block.topMargin() + block.bottomMargin() + double(characters + 1) * line;
    survey.tabWork.push_back(HasStops(block) ? NoteBudget::TabWork(tabs, characters - tabs - objects, objects) : 0);
    characters = tabs = objects = 0;
    fontPixels = DefaultPixels;
    picture = 0;
  };
  for (const Op& op : ops_) {
    const QTextCharFormat& format = charFormats_[std::size_t(op.format)];
    fontPixels = std::max(fontPixels, PixelsOfPoints(format.fontPointSize()));
    if (op.kind == Kind::Paragraph) {
      paragraph(blockFormats_[std::size_t(op.block)]);
    } else if (op.kind == Kind::Object) {
      picture = std::max(picture, PictureHeight(format));
      ++characters;
      ++objects;
    } else {
      tabs += std::count(text_.cbegin() + op.from, text_.cbegin() + op.from + op.length, u'\t');
      characters += op.length;
    }
  }
  paragraph(last_);
  return survey;
}

// A paragraph over the budget on its own drops its stops and leaves the rest of the note
// its own; when the others together are over it too, every paragraph drops them.
std::vector<bool> NoteBuilder::DefaultTabs(const std::vector<qint64>& tabWork) const {
  const qint64 budget = NoteBudget::TabBudget(length_);
  qint64 kept = 0;
  for (const qint64 work : tabWork)
    if (work <= budget) kept += work;
  std::vector<bool> defaults;
  defaults.reserve(tabWork.size());
  for (const qint64 work : tabWork) defaults.push_back(work > budget || (kept > budget && work > 0));
  return defaults;
}

void NoteBuilder::Apply(QTextCursor& cursor, bool whole) const {
  const Survey survey = Measure();
  const bool flat = survey.worstHeight > TallPixels;
  const std::vector<bool> defaultTabs = DefaultTabs(survey.tabWork);
  const auto charFormat = [&](int index) { return flat ? Flat(charFormats_[std::size_t(index)]) : charFormats_[std::size_t(index)]; };
  size_t paragraph = 0;  // the one whose format is asked for next
  const auto blockFormat = [&](QTextBlockFormat format) {
    if (flat) format = Flat(format);
    if (defaultTabs[std::min(paragraph++, defaultTabs.size() - 1)]) format.clearProperty(QTextFormat::TabPositions);
    return format;
  };
  // A fresh document gets each paragraph's format as the paragraph begins; at a cursor the
  // inserted paragraphs take theirs as they end and the rest keeps the shown one's.
  const QTextBlockFormat kept = cursor.blockFormat();
  auto formatAfter = [&](size_t opIndex) {
    for (size_t i = opIndex; i < ops_.size(); ++i)
      if (ops_[i].kind == Kind::Paragraph) return blockFormat(blockFormats_[std::size_t(ops_[i].block)]);
    return blockFormat(last_);
  };
  if (whole) cursor.setBlockFormat(formatAfter(0));
  for (size_t i = 0; i < ops_.size(); ++i) {
    const Op& op = ops_[i];
    switch (op.kind) {
      case Kind::Text:
        cursor.insertText(QString(text_.constData() + op.from, op.length), charFormat(op.format));
        break;
      case Kind::Object:
        cursor.insertText(QString(QChar(NoteText::ObjectChar)), charFormat(op.format));
        break;
      case Kind::Paragraph:
        if (whole) {
          cursor.insertBlock(formatAfter(i + 1), charFormat(op.format));
        } else {
          cursor.setBlockFormat(blockFormat(blockFormats_[std::size_t(op.block)]));
          cursor.insertBlock(kept, charFormat(op.format));
        }
        break;
    }
  }
}
