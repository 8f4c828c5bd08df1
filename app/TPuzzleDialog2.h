#pragma once
// The open and create dialog: pick a picture or puzzle to begin, a saved game to continue,
// or a picture to make a still puzzle of. One set of controls serves the three tabs. On OK
// it hands over the Puzzle built for the chosen file, its piece size and hints already set
// but not yet prepared.

#include "controls/Glyph.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleFileList.h"

#include <QDialog>
#include <QImage>
#include <memory>

struct StillPuzzleContent;
class ChooseBox;
class IconListBox;
class LabelButton;
class PreviewDecoder;
class ProgSettings;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;
class QToolButton;

class TPuzzleDialog2 : public QDialog {
  Q_OBJECT
public:
  // `preselected`: the file to show selected (its folder is offered too); empty for none.
  explicit TPuzzleDialog2(QWidget* owner, const QString& preselected = QString());
  ~TPuzzleDialog2() override;

  // Ends at once with Cancel when setting up failed.
  int exec() override;
  void done(int result) override;

  // The puzzle built for the selection; after OK on the Begin or Continue tab, the chosen
  // one, out of the global list.
  Puzzle* GetPuzzle() const { return puzzle.get(); }
  std::unique_ptr<Puzzle> TakePuzzle();

  // The chosen hint limit: 0 none, -1 unlimited (or nothing chosen), else the number.
  int GetHintsAllowed() const;

  // What the Create tab would write for the selected picture.
  StillPuzzleContent GatheredContent() const;

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  // Layout (TPuzzleDialog2Layout.cpp).
  void BuildControls();
  QWidget* BuildFilePane();
  QWidget* BuildOptionsPane();
  QWidget* BuildPreviewPane();
  QWidget* BuildButtonRow();
  QToolButton* BuildWhatsThisButton();
  void BuildActions();
  void MakeGlyphs();

  // The frame (TPuzzleDialog2.cpp).
  void FormCreate();
  void FormCreateFailed(const QString& message);
  PuzzleTab Tab() const;
  void SetUpTab();
  void ShowTabControls();
  void ShowTabWidgets(PuzzleTab tab);
  void TabControl1Change(int index);
  void SaveTabSettings(PuzzleTab tab);
  void ApplicationStateChanged(Qt::ApplicationState state);
  void FormActivate();
  void OpenBtnClick();
  void MoreBtnClick();
  void HelpBtnClick();

  // Folders and files (TPuzzleDialog2Files.cpp).
  void FillFolderBox(const QStringList& folders, const QStringList& extra);
  // Puts the folder first in the tab's list and shows the list.
  void AddFolder(const QString& folder);
  void RememberFolder(QString folder);
  void ShowPresentFolders();
  void PuzzleDirBoxChange(bool forced);
  bool FolderIsReady(const QString& folder);
  bool FolderHasPuzzles(const QString& folder) const;
  void FillPuzzleList(const QStringList& patterns);
  void ChooseListIndex();
  void BrowseBtnClick();
  void PuzzleListBoxSelChange();
  void PuzzleListBoxDblClick();
  void SpinnerClick(int step);
  void QvpOnlyBtnClick();
  void RecycleAtnExecute();
  void DeleteAtnExecute();
  void DeleteSelected(bool outright);
  bool MayDelete() const;
  void PasteBtnClick();
  void SetClipboardMode(bool on);
  static bool ClipboardHasImage();
  // The clipboard's picture as a puzzle is made of it (24 bits); null without one.
  static QImage ClipboardPicture();

  // Selection, preview and facts (TPuzzleDialog2Selection.cpp).
  void UpdateSelection();
  void EnableForSelection();
  void ShowSavedGameFacts(bool selected);
  void LoadSelection();
  void RefreshCover();
  QString ClipboardSource();
  void ShowThumbnail();
  void ShowPreviewResult(const QImage& thumbnail, const QString& refusal);
  void StopPreview();
  void ShowFileFacts();
  void ClearFileFacts();
  void UpdatePreviewNotes();
  void SetPreviewPicture(const QPixmap& picture);
  void FocusMoved();
  void ShowPieceSizePreview();
  void FillPieceCounts();
  void FillHintsBox();
  void InfoBtnClick();

  // The Create tab (TPuzzleDialog2Create.cpp).
  QString CreateFolder() const;
  qint64 GatheredBytes() const;
  qint64 RoomFor(qint64 replaced) const;
  void PreviewBtnClick();
  void PreviewChkBoxClick();
  void NoteBtnClick();
  void MusicBtnClick();
  bool SaveStillPuzzle();

  ProgSettings* settings;
  PuzzleFileList files;
  std::unique_ptr<Puzzle> puzzle;
  // Decodes the preview away from the dialog.
  std::unique_ptr<PreviewDecoder> preview;
  QString preselected;
  // The tab's remembered folders, most recent first, including those absent just now (an
  // unplugged stick); the box offers only the present ones.
  QStringList folderList;
  // The clipboard picture the selection was made from, as the puzzle holds it.
  QImage clipboardImage;
  // The Create tab's parts, kept as their files were when chosen.
  Puzzle::PictureBytes chosenCover;
  QByteArray noteStream;
  QByteArray musicBytes;
  int musicKind = 0;
  int previewBox = 185;
  int lastListIndex = -2;
  bool piecePreviewShown = false;
  bool tooSmall = true;
  bool hintsEditable = true;
  bool restorePieces = false;
  bool discPrompt = false;
  bool animatedOnly = false;
  bool animatedFound = false;
  bool clipboardMode = false;
  bool createFailed = false;
  bool firstShow = true;
  bool applicationLeft = false;
  // The player's own choice for the upright box, kept while a selection disables it.
  bool uprightWanted = false;
  PuzzleTab shownTab = PuzzleTab::Begin;
  bool noteHiddenUntilSolved = false;
  bool noteShownWhenSolved = false;
  std::unique_ptr<Glyph> animatedGlyph, pictureGlyph, savedGlyph;

  QTabBar* TabControl1;
  QLabel *PuzzleDirLbl, *PuzzleListLbl, *NumPiecesLbl, *NumHintsLbl;
  QComboBox* PuzzleDirBox;
  QToolButton *BrowseBtn, *PasteBtn, *DeleteBtn, *QvpOnlyBtn, *SpinUpBtn, *SpinDownBtn;
  QWidget* Spinner;
  IconListBox* PuzzleListBox;
  ChooseBox* NumPiecesBox;
  QComboBox* NumHintsBox;
  QCheckBox *UprightChkBox, *EdgesChkBox, *PreviewChkBox, *LightBevelBox;
  QPushButton *PreviewBtn, *MusicBtn, *InfoBtn;
  QLabel *SavedNumPiecesLbl, *PercentCompleteLbl, *PlayDateLbl, *ElapsedTimeLbl;
  QLabel *PreviewImg, *LoadingLbl, *BoxCoverLbl, *PreviewWarningLbl;
  QWidget* FactsBox;
  QLabel *FilePfxLbl, *TypePfxLbl, *TypeLbl, *SizePfxLbl, *SizeLbl;
  LabelButton* FileLbl;
  QPushButton *OpenBtn, *CancelBtn, *HelpBtn, *MoreBtn;
  QAction *RecycleAtn, *DeleteAtn, *InfoAtn, *NoteAtn, *HelpAtn;
};
