#pragma once
// The "Print Preview" window: one or two pages of a page source on the work space, with
// paging, zoom (fit, halfway, 100 %), a page number that opens the go-to-page dialog, and a
// Print choice that the caller reads back after the modal run.

#include "PreviewNumbers.h"

#include <QDialog>

#include <functional>
#include <memory>

class ButtonTag;
class FloatButton;
class IdlerClient;
class LabelButton;
class PreviewPage;
class PreviewRenderer;
class QAction;
class QFrame;
class QScrollArea;
class TGoToPageFrm;
class WallPaperPanel;

class TPreviewForm : public QDialog {
  Q_OBJECT
public:
  TPreviewForm(QWidget* owner, int firstPage, int lastPage);
  ~TPreviewForm() override;

  void SetRenderer(PreviewRenderer* renderer, bool showNavigation);
  int Magnification() const { return magnification_; }
  bool PrintRequest() const { return printRequest_; }
  int CurrentPage() const { return paging_.current; }
  int LastPage() const { return paging_.last; }
  int FitMagnification() const { return fit_; }
  PreviewPage* FirstPanel() const { return firstPanel_; }
  PreviewPage* SecondPanel() const { return secondPanel_; }
  QScrollArea* ScrollBox() const { return scrollBox_; }

  // The go-to-page dialog's modal run; tests answer it themselves.
  std::function<int(TGoToPageFrm&)> RunGoToPage;

  // The application's main window, or null.
  static QWidget* MainForm();

  QAction *FirstAtn, *PreviousPageAtn, *NextPageAtn, *LastAtn, *MagnifyAtn, *DemagnifyAtn, *LayoutAtn;
  QAction *UpAtn, *DownAtn, *LeftAtn, *RightAtn, *PrintAtn, *ExitAtn;
  FloatButton *FirstPageBtn, *PrevPageBtn, *NextPageBtn, *LastPageBtn, *MagnifyBtn, *DemagnifyBtn, *DoublePageBtn;
  FloatButton *PrintBtn, *ExitBtn;
  QFrame* PageNumberBvl;
  LabelButton* PageNumberLbl;

protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildToolbar();
  FloatButton* AddButton(QAction* action, const QString& picture, const QString& tag, int left);
  void BuildActions();
  void Loaded();
  void OnSized();
  void FitToWindow();
  void SetMagnification(int percent);
  void Place(const std::optional<PreviewNumbers::Layout>& layout);
  void UpdatePageLabel();
  void LayoutToolbar();
  void UpdateActions();
  void ShowPaging(const PreviewNumbers::Paging& paging);
  void Layout(bool twoPages);
  void GoToPage();
  void Scroll(Qt::Orientation orientation, int steps);
  bool TwoPages() const { return secondPanel_ != nullptr; }
  PreviewPage* NewPanel();
  QSize Box() const;

  WallPaperPanel* toolbar_ = nullptr;
  QScrollArea* scrollBox_ = nullptr;
  QWidget* sheets_ = nullptr;  // the scroll box's content
  ButtonTag* exitTag_ = nullptr;
  int magnification_ = 0;
  bool printRequest_ = false;
  PreviewNumbers::Paging paging_;
  PreviewPage* firstPanel_ = nullptr;
  PreviewPage* secondPanel_ = nullptr;
  int fit_ = 0;
  PreviewRenderer* renderer_ = nullptr;
  bool navigation_ = true;
  std::unique_ptr<IdlerClient> idleClient_;
};
