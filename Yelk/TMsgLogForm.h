#pragma once
// The message-log viewer: the whole log, kept current while it is open.

#include <QDialog>
#include <cstdint>

class QPlainTextEdit;
class QTimer;

class TMsgLogForm : public QDialog {
  Q_OBJECT
public:
  explicit TMsgLogForm(QWidget* owner = nullptr);
  // The one open viewer, made on first use.
  static TMsgLogForm* Instance();
  QString Text() const;

private slots:
  void RefreshIfChanged();
  void CopyBtnClick();
  void SaveBtnClick();

private:
  QPlainTextEdit* view;
  QTimer* refreshTimer;
  std::uint64_t shownGeneration = ~std::uint64_t{0};
};
