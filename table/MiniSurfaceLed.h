#pragma once
// The thin lamp under a mini table, lit under the active one. Lighting one puts out all the
// others.

#include <QWidget>

class MiniSurfaceLed : public QWidget {
  Q_OBJECT
public:
  explicit MiniSurfaceLed(QWidget* parent);
  ~MiniSurfaceLed() override;

  void Light();
  bool IsLit() const { return lit_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  bool lit_ = false;
};
