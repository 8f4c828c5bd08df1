// The Create tab: the alternate box cover, note and music gathered for the selected picture,
// and the still puzzle written from them.

#include "TNoteFrm.h"
#include "TPuzzleDialog2.h"

#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "imaging/RegularFile.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/MusicFileKind.h"
#include "puzzle/PictureFile.h"
#include "puzzle/Puzzle.h"
#include "puzzle/SoundTrack.h"
#include "puzzle/SoundTrackCheck.h"
#include "settings/ProgSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>

namespace {
// Every block's offset and size is kept in a signed 32-bit record; the records themselves
// take far less than the headroom.
constexpr qint64 LargestPuzzleFile = (qint64(1) << 31) - 1;
constexpr qint64 RecordHeadroom = 64 * 1024;

// The patterns in both cases: a file dialog on a case-sensitive file system matches as written.
QString AnyCase(const QString& label, const QStringList& patterns) {
  QStringList both;
  for (const QString& pattern : patterns) both << pattern << pattern.toUpper();
  return label + QStringLiteral(" (") + both.join(u' ') + u')';
}

QString AskFile(QWidget* owner, const QString& title, const QString& start, const QStringList& filters,
                int filterIndex, bool save) {
  QFileDialog dialog(owner, title, start);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(filterIndex));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setDefaultSuffix(QStringLiteral("jig"));
  if (Prompt::IsScripted()) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString WithJigExtension(const QString& path) {
  return path.endsWith(QLatin1String(".jig"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".jig");
}

bool SameFile(const QString& a, const QString& b) {
  const QString left = QFileInfo(a).canonicalFilePath(), right = QFileInfo(b).canonicalFilePath();
  return !left.isEmpty() && left == right;
}

// The check every track passes when a puzzle is opened: music the game would refuse is never
// stored in a puzzle.
bool PlayableMusic(const QByteArray& music, int kind) {
  const QString refusal = SoundTrack::RefusalOf(music, kind == MusicKind::Midi);
  if (refusal.isEmpty()) return true;
  Prompt::ShowApp(QStringLiteral("The chosen file is not a valid MIDI or WAVE file.\n\n") + refusal, Prompt::Stop);
  return false;
}

bool FitsInPuzzle(qint64 total) {
  if (total + RecordHeadroom <= LargestPuzzleFile) return true;
  Prompt::ShowApp(QStringLiteral("The chosen file is too large to be stored in a puzzle."), Prompt::Stop);
  return false;
}

// A chosen file is read whole, once, and from a regular file only: a pipe or a device in its
// place would hold the game up. At most `room` bytes: beyond that, the refusal says so.
bool ReadChosen(const QString& path, qint64 room, QByteArray& bytes, QString& refusal) {
  const RegularFile::Status status = RegularFile::ReadAll(path, std::max<qint64>(room, 0), bytes);
  if (status == RegularFile::TooLarge) refusal = QStringLiteral("The chosen file is too large to be stored in a puzzle.");
  return status == RegularFile::Opened;
}
}  // namespace

// The picture's folder; for the clipboard picture, the tab's folder.
QString TPuzzleDialog2::CreateFolder() const {
  if (clipboardMode || !puzzle) return PuzzleDirBox->currentText();
  return QFileInfo(puzzle->GetPath()).absolutePath();
}

qint64 TPuzzleDialog2::GatheredBytes() const {
  const qint64 picture = puzzle ? puzzle->SourcePicture().bytes.size() : 0;
  return picture + chosenCover.bytes.size() + musicBytes.size() + noteStream.size();
}

// What a new choice may take of the puzzle file, once the one it replaces is gone.
qint64 TPuzzleDialog2::RoomFor(qint64 replaced) const {
  return LargestPuzzleFile - RecordHeadroom - (GatheredBytes() - replaced);
}

StillPuzzleContent TPuzzleDialog2::GatheredContent() const {
  StillPuzzleContent content;
  if (puzzle) {
    const Puzzle::PictureBytes picture = puzzle->SourcePicture();
    content.picture = picture.bytes;
    content.pictureFormat = picture.format;
  }
  content.includeBoxCover = PreviewChkBox->isChecked();
  if (content.includeBoxCover) {
    content.cover = chosenCover.bytes;
    content.coverFormat = chosenCover.format;
  }
  content.allowUpright = UprightChkBox->isChecked();
  const int index = NumPiecesBox->currentIndex();
  if (index > 0) {
    static const QRegularExpression notDigit(QStringLiteral("\\D"));
    content.minimumPieces = QString(NumPiecesBox->itemText(index)).remove(notDigit).toInt();
    content.pieceSize = NumPiecesBox->ItemObject(index);
  }
  content.hintLimit = GetHintsAllowed();
  content.lightBevel = LightBevelBox->isChecked();
  content.note = noteStream;
  content.noteHiddenUntilSolved = noteHiddenUntilSolved;
  content.noteShownWhenSolved = noteShownWhenSolved;
  content.music = musicBytes;
  content.musicIsMidi = musicKind == MusicKind::Midi;
  return content;
}

void TPuzzleDialog2::PreviewBtnClick() {
  const QString chosen = AskFile(
      this, QStringLiteral("Choose a Box Cover Image"), CreateFolder(),
      {AnyCase(QStringLiteral("Bitmap files"), {QStringLiteral("*.bmp")}),
       AnyCase(QStringLiteral("JPEG files"), {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}),
       AnyCase(QStringLiteral("All image files"), {QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")})},
      2, false);
  activateWindow();
  if (chosen.isEmpty()) return;
  QString refusal = QStringLiteral("The chosen image can not be used as a box cover.");
  const int format = PictureFile::FormatOf(chosen);
  const qint64 room = std::min(PictureFile::MaxFileBytes, RoomFor(chosenCover.bytes.size()));
  QByteArray bytes;
  // The reader decodes the cover with the same checks: a cover it would refuse is never stored.
  if (format == 0 || !ReadChosen(chosen, room, bytes, refusal) || !PictureFile::DecodeBytes(bytes, format, chosen)) {
    Prompt::ShowApp(refusal, Prompt::Stop);
    return;
  }
  chosenCover = {bytes, format, GetFileNameFromPath(chosen)};
  RefreshCover();
}

void TPuzzleDialog2::PreviewChkBoxClick() {
  if (!PreviewChkBox->isChecked()) chosenCover = {};
  RefreshCover();
  PreviewBtn->setEnabled(PreviewChkBox->isChecked());
}

void TPuzzleDialog2::NoteBtnClick() {
  TNoteFrm window(this);
  window.SetUpForEditing();
  window.SetNoteStream(noteStream.isEmpty() ? nullptr : &noteStream);
  window.hiddenUntilCompleted = noteHiddenUntilSolved;
  window.shownAtCompletion = noteShownWhenSolved;
  // Saved into a new stream: a failed save keeps the note gathered before.
  QByteArray saved;
  if (window.exec() == QDialog::Accepted && window.SaveNote(saved)) {
    noteStream = saved;
    noteHiddenUntilSolved = window.hiddenUntilCompleted;
    noteShownWhenSolved = window.shownAtCompletion;
  }
  activateWindow();
}

void TPuzzleDialog2::MusicBtnClick() {
  const QString chosen =
      AskFile(this, QString(), settings->MusicFolder,
              {AnyCase(QStringLiteral("Midi Files"), {QStringLiteral("*.mid"), QStringLiteral("*.midi")}),
               AnyCase(QStringLiteral("Wave Files"), {QStringLiteral("*.wav")})},
              0, false);
  activateWindow();
  if (chosen.isEmpty()) return;
  QString refusal = QStringLiteral("The chosen file is not a valid MIDI or WAVE file.");
  const int named = MusicExtensionKind(chosen);
  qint64 room = RoomFor(musicBytes.size());
  // The track check refuses a larger MIDI file: no more of one is read.
  if (named == MusicKind::Midi) room = std::min(room, SoundTrackCheck::MaxMidiBytes);
  QByteArray music;
  if (named == MusicKind::None || !ReadChosen(chosen, room, music, refusal)) {
    Prompt::ShowApp(refusal, Prompt::Stop);
    return;
  }
  const int kind = MusicFileKind(chosen, music);
  if (kind == MusicKind::None || !PlayableMusic(music, kind)) return;
  musicKind = kind;
  musicBytes = music;
  settings->MusicFolder = QFileInfo(chosen).absolutePath();
}

bool TPuzzleDialog2::SaveStillPuzzle() {
  // The note is the only part that can grow past the room once the others are taken.
  if (!puzzle || !FitsInPuzzle(GatheredBytes())) return false;
  const QString name = clipboardMode ? QStringLiteral("Clipboard Image.jig")
                                     : QFileInfo(puzzle->GetPath()).completeBaseName() + QStringLiteral(".jig");
  QString target = AskFile(this, QString(), QDir(CreateFolder()).filePath(name),
                           {QStringLiteral("Jigsaw puzzle files (*.jig)")}, 0, true);
  if (target.isEmpty()) return false;
  target = WithJigExtension(target);
  // The game on the table copies blocks from its own file at every save.
  const Puzzle* played = Puzzle::Current();
  if (played && SameFile(played->GetPath(), target)) {
    Prompt::ShowApp(QStringLiteral("%1\n\nThis file belongs to the puzzle being played and can not be replaced.")
                        .arg(QDir::toNativeSeparators(target)),
                    Prompt::Stop);
    return false;
  }
  // Written from the bytes read when each part was chosen: the files may have changed since.
  if (!JigsawFile::SaveStillPuzzle(target, GatheredContent())) return false;
  TMsgLog::Add(QStringLiteral("Created: ") + target);
  return true;
}
