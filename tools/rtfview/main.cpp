// rtfview <file.rtf> <out.png>
// Reads an RTF file as the note window does and draws it on a 6.5-inch wide white page:
// text, paragraph formats, list markers, pictures and objects (a grey box for those with
// no bitmap to show).
// A note taller than MaxHeight pixels is drawn scaled down to fit.

#include "richtext/KeptGroup.h"
#include "richtext/ListMarker.h"
#include "richtext/LongWords.h"
#include "richtext/NoteFormat.h"
#include "richtext/RtfReader.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr int MaxHeight = 16000;

// Numbering is kept as paragraph attributes; the editor's own marker drawing puts the
// markers in.
void DrawMarkers(QPainter& painter, QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    ListMarker::Draw(painter, block, QPointF(0, 0), 1.0, Qt::black, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: rtfview <file.rtf> <out.png>\n");
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "rtfview: cannot open %s\n", argv[1]);
    return 1;
  }
  RtfReader::Result result = RtfReader::Read(file.readAll(), true);
  if (result.error != 0) std::fprintf(stderr, "rtfview: the reader reports error 0x%08x\n", unsigned(result.error));
  std::unique_ptr<QTextDocument> document = result.builder.Build();
  KeptGroup::Install(document.get());
  // Wrapped as the note window wraps it.
  QTextOption option = document->defaultTextOption();
  option.setWrapMode(LongWords::WrapMode(*document));
  document->setDefaultTextOption(option);
  document->setTextWidth(NoteFormat::TwipsToPixels(9360) + 2 * document->documentMargin());
  const QSizeF size = document->size();
  const qreal scale = size.height() > MaxHeight ? MaxHeight / size.height() : 1.0;
  QImage image(qMax(1, qCeil(size.width() * scale)), qMax(1, qCeil(size.height() * scale)), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.scale(scale, scale);
  document->drawContents(&painter);
  DrawMarkers(painter, *document);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "rtfview: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %d positions, %d paragraphs, drawn %dx%d at scale %.3f\n", argv[1], document->characterCount() - 1,
              document->blockCount(), image.width(), image.height(), scale);
  return 0;
}
