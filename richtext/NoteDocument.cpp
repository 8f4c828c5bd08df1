#include "NoteDocument.h"

#include "KeptGroup.h"
#include "NoteBuilder.h"
#include "NoteText.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// The editor's insets are its own margins: the text starts at the document's edge. Set before
// the history is cleared, since Qt records a frame's format change as an undo step.
void PrepareDocument(QTextDocument* document) {
  KeptGroup::Install(document);
  document->setDocumentMargin(0);
}

}  // namespace

NoteDocument::NoteDocument(QObject* parent) : QObject(parent), document_(std::make_unique<QTextDocument>()) {
  PrepareDocument(document_.get());
  document_->clearUndoRedoStacks();
  document_->setModified(false);
}

NoteDocument::~NoteDocument() = default;

LONG NoteDocument::GetLength() const { return document_->characterCount() - 1; }

LONG NoteDocument::Clamp(LONG position) const {
  const LONG length = GetLength();
  return position < 0 || position > length ? length : position;
}

QString NoteDocument::GetText(LONG start, LONG end) const {
  end = Clamp(end);
  start = std::clamp<LONG>(start, 0, end);
  QTextCursor cursor(document_.get());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  return NoteText::FromDocument(cursor.selectedText());
}

QByteArray NoteDocument::GetTextCp1252(LONG start, LONG end) const {
  return NoteText::EncodeCp1252(GetText(start, end));
}

LONG NoteDocument::ReplaceRange(LONG start, LONG end, const QString& text, bool canUndo, const QTextCharFormat* format) {
  end = Clamp(end);
  start = std::clamp<LONG>(start, 0, end);
  QTextCursor cursor(document_.get());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);

  const QTextCharFormat charFormat = format != nullptr ? *format : cursor.charFormat();
  NoteBuilder builder;
  builder.AddControlText(text, charFormat, cursor.blockFormat());
  const qint64 room = qint64(textLimit_) - (GetLength() - (end - start));
  QString fitted = text;
  if (builder.Length() > room) {
    // Cut by positions of the cleaned text; a CRLF pair counts once, so cut and rebuild.
    fitted = NoteText::Clean(text).replace(QStringLiteral("\r\n"), QStringLiteral("\r")).left(std::max<qint64>(room, 0));
    builder = NoteBuilder();
    builder.AddControlText(fitted, charFormat, cursor.blockFormat());
  }

  if (!canUndo) document_->setUndoRedoEnabled(false);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  builder.InsertAt(cursor);
  cursor.endEditBlock();
  if (!canUndo) document_->setUndoRedoEnabled(true);
  const LONG inserted = static_cast<LONG>(builder.Length());
  selection_ = {start + inserted, start + inserted};
  return inserted;
}

bool NoteDocument::IsModified() const { return document_->isModified(); }
void NoteDocument::SetModified(bool modified) { document_->setModified(modified); }
bool NoteDocument::CanUndo() const { return document_->isUndoAvailable(); }
bool NoteDocument::CanRedo() const { return document_->isRedoAvailable(); }

bool NoteDocument::Undo() {
  if (!CanUndo()) return false;
  document_->undo();
  return true;
}

bool NoteDocument::Redo() {
  if (!CanRedo()) return false;
  document_->redo();
  return true;
}

void NoteDocument::EmptyUndoBuffer() { document_->clearUndoRedoStacks(); }

bool NoteDocument::SetTextMode(UINT mode) {
  if (GetLength() != 0) return false;
  const UINT kind = mode & (TM_PLAINTEXT | TM_RICHTEXT);
  if (kind == TM_PLAINTEXT || kind == TM_RICHTEXT) textMode_ = (textMode_ & ~(TM_PLAINTEXT | TM_RICHTEXT)) | kind;
  const UINT undo = mode & (TM_SINGLELEVELUNDO | TM_MULTILEVELUNDO);
  if (undo != 0) textMode_ = (textMode_ & ~(TM_SINGLELEVELUNDO | TM_MULTILEVELUNDO)) | undo;
  const UINT pages = mode & (TM_SINGLECODEPAGE | TM_MULTICODEPAGE);
  if (pages != 0) textMode_ = (textMode_ & ~(TM_SINGLECODEPAGE | TM_MULTICODEPAGE)) | pages;
  return true;
}

void NoteDocument::SetTextLimit(LONG limit) { textLimit_ = limit <= 0 ? 65536 : limit; }

void NoteDocument::SetSelection(LONG start, LONG end) {
  const LONG length = GetLength();
  if (start < 0) {
    selection_ = {length, length};
    return;
  }
  start = std::min(start, length);
  end = end < 0 ? length : std::min(end, length);
  selection_ = {start, end};
}

std::unique_ptr<QTextDocument> NoteDocument::Install(std::unique_ptr<QTextDocument> document) {
  if (!document) document = std::make_unique<QTextDocument>();
  PrepareDocument(document.get());
  document->clearUndoRedoStacks();
  document->setModified(false);
  std::swap(document, document_);
  selection_ = {};
  emit DocumentReplaced(document_.get());
  return document;
}
