#include "PicturesPage.h"

#include "controls/Artwork.h"
#include "imaging/VirtualBuffer.h"

#include <QDirIterator>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QtEndian>

namespace {

QLabel* Heading(const QString& text) {
  auto* label = new QLabel("<b>" + text + "</b>");
  label->setContentsMargins(0, 8, 0, 2);
  return label;
}

// A picture on a light panel, enlarged three times when it is small, with its name below.
QWidget* Tile(const QString& path) {
  const QPixmap picture(path);
  const int zoom = picture.width() <= 32 ? 3 : 1;
  const QSize big = picture.size() * zoom;
  QPixmap shown(big + QSize(zoom > 1 ? picture.width() + 14 : 8, 8));
  shown.fill(QColor(0xf3, 0xf1, 0xe8));
  QPainter p(&shown);
  p.drawPixmap(QRect(QPoint(4, 4), big), picture);
  if (zoom > 1) p.drawPixmap(big.width() + 10, 4 + big.height() - picture.height(), picture);  // and at its own size
  p.end();
  auto* tile = new QWidget;
  auto* v = new QVBoxLayout(tile);
  v->setContentsMargins(2, 2, 2, 2);
  v->setSpacing(1);
  auto* image = new QLabel;
  image->setPixmap(shown);
  auto* name = new QLabel(path.section('/', -1));
  name->setStyleSheet("font-size: 9px; color: #444");
  v->addWidget(image, 0, Qt::AlignHCenter);
  v->addWidget(name, 0, Qt::AlignHCenter);
  return tile;
}

QImage ToImage(const VirtualBuffer& buffer) {
  QImage image(buffer.width, buffer.height, QImage::Format_RGB32);
  for (int y = 0; y < buffer.height; ++y)
    std::copy(buffer.Row(y), buffer.Row(y) + buffer.width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
  return image;
}

}  // namespace

PicturesPage::PicturesPage(QWidget* parent) : QWidget(parent) {
  layout = new QVBoxLayout(this);
  QStringList folders;
  QDirIterator it(":/", QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString folder = it.next();
    if (!folder.startsWith(":/qt-project.org") && !folder.startsWith(":/help") && QDir(folder).entryList(QDir::Files).size())
      folders << folder;
  }
  folders.sort();
  for (const QString& folder : folders) AddFolder(folder);
  AddTablePreview();
  AddSounds();
  layout->addStretch();
}

void PicturesPage::AddFolder(const QString& folder) {
  QStringList files = QDir(folder).entryList(QDir::Files);
  files.removeIf([&](const QString& f) { return QImage(folder + "/" + f).isNull(); });
  if (files.isEmpty()) return;
  layout->addWidget(Heading(folder));
  auto* flow = new QWidget;
  auto* grid = new QGridLayout(flow);
  grid->setContentsMargins(0, 0, 0, 0);
  int column = 0, row = 0, used = 0;
  for (const QString& file : files) {
    QWidget* tile = Tile(folder + "/" + file);
    const int width = tile->sizeHint().width();
    if (used + width > 620 && column > 0) {
      ++row;
      column = used = 0;
    }
    grid->addWidget(tile, row, column++, Qt::AlignLeft | Qt::AlignTop);
    used += width + 6;
  }
  grid->setColumnStretch(20, 1);
  layout->addWidget(flow);
}

void PicturesPage::AddTablePreview() {
  layout->addWidget(Heading("The table: felt 8103 tiled, watermark 8100 and cross-hair 8102 applied"));
  VirtualBuffer table(600, 200, "Gallery table");
  const VirtualBuffer felt(8103, "Background");
  table.TileFrom(felt);
  VirtualBuffer signature(8100, "Signature");
  signature.MakeShadeMap(10, 1);
  table.ApplyShadeMap(15, table.height - signature.height - 10, signature);
  VirtualBuffer crossHair(8102, "CrossHair");
  crossHair.MakeShadeMap(5, 40);
  table.ApplyShadeMap(420, 60, crossHair);
  auto* label = new QLabel;
  label->setPixmap(QPixmap::fromImage(ToImage(table)));
  layout->addWidget(label);
}

void PicturesPage::AddSounds() {
  layout->addWidget(Heading("Sounds"));
  QStringList lines;
  for (int id : {8000, 8001, 8002}) {
    QFile file(Artwork::SoundPath(id));
    const QByteArray wave = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const double seconds = wave.size() > 44 ? double(qFromLittleEndian<quint32>(wave.constData() + 40)) /
                                                  qFromLittleEndian<quint32>(wave.constData() + 28)
                                            : 0.0;
    lines << QString("%1: %2 s, %3 bytes").arg(file.fileName()).arg(seconds, 0, 'f', 2).arg(wave.size());
  }
  layout->addWidget(new QLabel(lines.join('\n')));
}
