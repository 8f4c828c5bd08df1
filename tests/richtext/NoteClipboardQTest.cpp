// A note's clipboard formats through the application's clipboard: what a copy offers, and
// what a paste of each kind of clipboard inserts, in one undo step.

#include "NoteFixtures.h"
#include "PictureFixtures.h"
#include "QtTestMain.h"
#include "richtext/KeptGroup.h"
#include "richtext/NoteClipboard.h"
#include "richtext/NoteDocument.h"
#include "richtext/RtfWriter.h"

#include <QClipboard>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

QTextCharFormat FormatAt(const NoteDocument& note, int position) {
  QTextCursor cursor(note.Document());
  cursor.setPosition(position + 1);
  return cursor.charFormat();
}

QImage Shown(const NoteDocument& note, int position) {
  const QString name = FormatAt(note, position).toImageFormat().name();
  return qvariant_cast<QImage>(note.Document()->resource(QTextDocument::ImageResource, QUrl(name)));
}

}  // namespace

class NoteClipboardQTest : public QObject {
  Q_OBJECT

private slots:
  void copyOffersRtfAndTextAndAPasteRestoresFormatsAndPictures() {
    NoteDocument source;
    const QByteArray picture = PictureFixtures::Pict("\\dibitmap0", PictureFixtures::Dib(PictureFixtures::Reference()), QSize(6, 4));
    source.Install(ReadRtf(PictureFixtures::Note(" plain {\\b bold} " + picture + " end")));
    QGuiApplication::clipboard()->setMimeData(NoteClipboard::MimeFromRange(source, 0, -1).release());
    const QMimeData& offered = *QGuiApplication::clipboard()->mimeData();
    QVERIFY(offered.hasFormat("text/rtf"));
    QVERIFY(offered.data("text/rtf").startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{"));
    QCOMPARE(offered.text(), QStringLiteral("x plain bold  endy"));
    QVERIFY(NoteClipboard::CanInsert(offered));

    NoteDocument target;
    target.ReplaceRange(0, 0, QStringLiteral("[]"), false);
    const LONG inserted = NoteClipboard::Insert(target, 1, 1, offered);
    QCOMPARE(inserted, source.GetLength());
    QCOMPARE(target.GetText(0, -1), QStringLiteral("[") + source.GetText(0, -1) + QStringLiteral("]"));
    const int bold = int(target.GetText(0, -1).indexOf(QStringLiteral("bold")));
    QVERIFY(FormatAt(target, bold).fontWeight() >= QFont::Bold);
    QVERIFY(FormatAt(target, bold - 2).fontWeight() < QFont::Bold);
    const int at = int(target.GetText(0, -1).indexOf(QChar(0xFFFC)));
    QCOMPARE(Shown(target, at).size(), QSize(6, 4));
    QVERIFY(RtfWriter::Write(*target.Document()).contains(picture));
    QVERIFY(target.Undo());
    QCOMPARE(target.GetText(0, -1), QStringLiteral("[]"));  // one undo step
  }

  void anImageOnlyClipboardInsertsAPicture() {
    QMimeData mime;
    const QImage image = PictureFixtures::Reference(9, 5);
    mime.setImageData(image);
    QVERIFY(NoteClipboard::CanInsert(mime));
    NoteDocument note;
    QCOMPARE(NoteClipboard::Insert(note, 0, 0, mime), 1);
    QVERIFY(KeptGroup::IsKept(FormatAt(note, 0)));
    QCOMPARE(Shown(note, 0), image);
    QVERIFY(RtfWriter::Write(*note.Document()).contains("{\\pict\\wmetafile8"));
  }

  void anHtmlOnlyClipboardPastesItsText() {
    QMimeData mime;
    mime.setHtml("<p>one <b>two</b></p><table><tr><td>three</td></tr></table><img src='x.png'>");
    NoteDocument note;
    QVERIFY(NoteClipboard::Insert(note, 0, 0, mime) > 0);
    const QString text = note.GetText(0, -1);
    QVERIFY2(text.startsWith(QStringLiteral("one two")) && text.contains(QStringLiteral("three")), qPrintable(text));
    QVERIFY(!text.contains(QChar(0xFFFC)));
    QVERIFY(FormatAt(note, 4).fontWeight() < QFont::Bold);

    QMimeData unusable;
    unusable.setData("application/octet-stream", "x");
    QVERIFY(!NoteClipboard::CanInsert(unusable));
    QCOMPARE(NoteClipboard::Insert(note, 0, 0, unusable), 0);
  }

};

TV_QTEST_MAIN(NoteClipboardQTest)
#include "NoteClipboardQTest.moc"
