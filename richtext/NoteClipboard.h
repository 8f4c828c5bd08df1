#pragma once
// Clipboard formats of a note: what a copy offers and what a paste takes.
#include "RichEditDefs.h"
#include <QMimeData>
#include <memory>
class NoteDocument;
namespace NoteClipboard {
// Every format of [start, end) rendered at once: text/rtf from our writer, text/plain,
// and Qt's own rich-text format.
std::unique_ptr<QMimeData> MimeFromRange(const NoteDocument& note, LONG start, LONG end);
// text/rtf, text/richtext, an image or text/plain is present (or HTML, whose plain text a
// paste takes).
bool CanInsert(const QMimeData& mime);
// Replaces [start, end) by the best format present (text/rtf, text/richtext, an image,
// text/plain; never HTML) in one undo step; answers the positions inserted, 0 when nothing
// usable was there. A plain-text note takes only text; what does not fit the text limit
// is not pasted (plain text is cut to it).
LONG Insert(NoteDocument& note, LONG start, LONG end, const QMimeData& mime);
}
