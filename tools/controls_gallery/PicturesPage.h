#pragma once
// The gallery's right side: every picture resource by folder (small ones also enlarged),
// the felt with the watermark and the cross-hair laid on it as the table does, and the
// sounds with their lengths.

#include <QWidget>

class QVBoxLayout;

class PicturesPage : public QWidget {
  Q_OBJECT
public:
  explicit PicturesPage(QWidget* parent = nullptr);

private:
  void AddFolder(const QString& folder);
  void AddTablePreview();
  void AddSounds();

  QVBoxLayout* layout;
};
