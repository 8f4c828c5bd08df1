#include "NoteClipboard.h"

#include "KeptGroup.h"
#include "NoteBuilder.h"
#include "NoteDocument.h"
#include "NotePicture.h"
#include "RtfReader.h"
#include "NoteText.h"
#include "RtfWriter.h"

#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace {

const QString kRtf = QStringLiteral("text/rtf");
const QString kRichText = QStringLiteral("text/richtext");  // the same RTF, as some word processors name it
const QString kQtRichText = QStringLiteral("application/x-qt-richtext");

QTextCursor RangeCursor(const NoteDocument& note, LONG& start, LONG& end) {
  const LONG length = note.GetLength();
  end = end < 0 || end > length ? length : end;
  start = std::clamp<LONG>(start, 0, end);
  QTextCursor cursor(note.Document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  return cursor;
}

// Plain text as other programs on Linux take it: paragraphs and line breaks end lines.
QString PlainText(QString text) {
  text.remove(QChar(NoteText::ObjectChar));
  text.replace(QStringLiteral("\r"), QStringLiteral("\n"));
  text.replace(QChar(u'\v'), QChar(u'\n'));
  return text;
}

// What a paste of RTF or a picture inserts; false when the clipboard has neither.
bool RichContent(const QTextCursor& at, const QMimeData& mime, qint64 room, NoteBuilder& builder) {
  for (const QString& format : {kRtf, kRichText}) {
    if (!mime.hasFormat(format)) continue;
    const QByteArray rtf = mime.data(format);
    if (!RtfReader::IsRtf(rtf)) continue;
    RtfReader::Result result = RtfReader::Read(rtf, false, room);
    builder = std::move(result.builder);
    return true;
  }
  if (!mime.hasImage()) return false;
  const QImage image = qvariant_cast<QImage>(mime.imageData());
  const QByteArray group = NotePicture::GroupFor(image);
  if (group.isEmpty() || room < 1) return true;
  qint64 budget = NotePicture::MaxDocumentBytes;
  const QImage shown = NotePicture::Decode(group, budget);  // exactly what a reload shows
  QTextCharFormat format = at.charFormat();
  KeptGroup::SetGroup(format, group, image.size());
  if (shown.isNull())
    builder.AddObject(format);
  else
    builder.AddPicture(format, shown);
  return true;
}

}  // namespace

namespace NoteClipboard {

std::unique_ptr<QMimeData> MimeFromRange(const NoteDocument& note, LONG start, LONG end) {
  auto mime = std::make_unique<QMimeData>();
  const QTextCursor cursor = RangeCursor(note, start, end);
  mime->setData(kRtf, RtfWriter::Write(*note.Document(), start, end, true));
  mime->setText(PlainText(note.GetText(start, end)));
  const QString html = QTextDocumentFragment(cursor).toHtml();
  mime->setHtml(html);
  mime->setData(kQtRichText, html.toUtf8());
  return mime;
}

bool CanInsert(const QMimeData& mime) {
  return mime.hasFormat(kRtf) || mime.hasFormat(kRichText) || mime.hasImage() || mime.hasText() || mime.hasHtml();
}

LONG Insert(NoteDocument& note, LONG start, LONG end, const QMimeData& mime) {
  QTextCursor cursor = RangeCursor(note, start, end);
  const qint64 room = qint64(note.GetTextLimit()) - (note.GetLength() - (end - start));
  NoteBuilder builder;
  const bool rich = !(note.GetTextMode() & TM_PLAINTEXT);
  if (!rich || !RichContent(cursor, mime, std::max<qint64>(room, 0), builder)) {
    // Qt's HTML import makes frames and tables the positions cannot hold: only its text.
    const QString text = mime.hasText() ? mime.text()
                         : mime.hasHtml() ? QTextDocumentFragment::fromHtml(mime.html()).toPlainText()
                                          : QString();
    return text.isEmpty() ? 0 : note.ReplaceRange(start, end, text, true);
  }
  if (builder.IsEmpty()) return 0;
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  builder.InsertAt(cursor);
  cursor.endEditBlock();
  const LONG inserted = static_cast<LONG>(builder.Length());
  note.SetSelection(start + inserted, start + inserted);
  return inserted;
}

}  // namespace NoteClipboard
