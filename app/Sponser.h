#pragma once
// The sponsor a copy of the game may be branded for: "Spnsr.dat" beside the program names
// it, gives its web address, a small icon for the visit command and a logo the table shows
// as its watermark. Read once when the main window is built; without the file nothing is
// branded. A damaged part of the file is left out with a log line and never stops start-up.

#include "Yelk/CurrentInstance.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

class IniText;
class VirtualBuffer;

class Sponser : public CurrentInstance<Sponser> {
public:
  static constexpr qint64 MaxFileBytes = qint64(16) << 20;
  static constexpr int IconSide = 16;

  // Reads folder + "Spnsr.dat"; folder ends with a separator. Becomes the current sponsor.
  explicit Sponser(const QString& folder);
  ~Sponser();
  Sponser(const Sponser&) = delete;
  Sponser& operator=(const Sponser&) = delete;

  int Aff = 0;
  QString Id;
  QString Name;
  QString URL;
  int Ver = 0;

  // Both a name and an address: the visit command and the about box's link.
  bool HasLink() const { return !Name.isEmpty() && !URL.isEmpty(); }
  // The shading map made from the logo, or null.
  const VirtualBuffer* Logo() const { return logo.get(); }
  // The icon at menu size, magenta transparent; null when there is none.
  const QImage& Icon() const { return icon; }

  // Two characters a byte, high digit first, "0"-"9" and "A"-"F" only; an odd last
  // character is ignored. False for any other character.
  static bool HexToStream(const QString& text, QByteArray& bytes);
  // The folder the main window reads the file from: the program's, unless set otherwise.
  static QString& SponsorFolder();

private:
  static QByteArray ReadFile(const QString& path);
  void LoadSponsorIcon(const IniText& ini);
  void LoadSponsorLogo(const IniText& ini);
  // The reason a logo does not load, or empty once it has.
  QString MakeLogo(const QByteArray& bitmap, int width, int height, int dilute);

  std::unique_ptr<VirtualBuffer> logo;
  QImage icon;
};
