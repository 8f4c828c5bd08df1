// ini_fuzz: the INI readers under damaged files.
//   ini_fuzz replay <folder>...    reads every file of the folders
//   ini_fuzz seeds <folder>        writes the seed corpus with the tests' own writers
// A crash ends the program as the crash would.

#include "IniFuzzing.h"

#include "tests/app/SponsorFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

int Replay(const QStringList& folders) {
  int count = 0;
  for (const QString& folder : folders) {
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
      QFile file(it.next());
      if (!file.open(QIODevice::ReadOnly)) return 1;
      IniFuzzing::Load(file.readAll());
      ++count;
    }
  }
  std::printf("%d corpus files read\n", count);
  return 0;
}

bool Save(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A sponsor's file as its maker writes it, a settings store clean and edited by hand, and
// the files that once hung start-up or asked for a gigabyte: tens of thousands of keys, and
// a logo declared far larger than its bitmap.
int Seeds(const QString& folder) {
  QDir().mkpath(folder);
  QByteArray keys("[General]\n");
  for (int i = 0; i < 40000; ++i) keys += 'k' + QByteArray::number(i) + "=1\n";
  SponsorFiles::Fields hugeLogo;
  hugeLogo.logo = QStringLiteral("Display=1\nWidth=16384\nHeight=16384\nDilute=3\n");
  const bool saved =
      Save(folder + "/sponsor.dat", SponsorFiles::Text({})) &&
      Save(folder + "/settings.ini", "[General]\nSnap%20distance=7\nPuzzle%20piece%20size=40\nMaximized=false\n"
                                     "[Main]\nContinuous%20refresh=1\nContinuous refresh=true\n") &&
      Save(folder + "/settings-hand-edited.ini",
           "[General]\nPuzzle%20piece%20size=60\nMy note; see Snap distance=7\n\"old=1\"\nold\\=1\n\v\n\f\n"
           "Snap%20distance=7\nNote=\\xd800\nOpen=\"never closed\nPath=C:\\\nList=a, @String(b\\0c)\n"
           "[Sec;tion]\nOrphan=1\n[]\nLost=1\n[Recent%20puzzles\nItem0=/games/a.saw\n") &&
      Save(folder + "/sponsor-many-keys.dat", keys) && Save(folder + "/sponsor-logo-beyond-its-bitmap.dat", SponsorFiles::Text(hugeLogo));
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() >= 2 && args[0] == "replay") return Replay(args.mid(1));
  if (args.size() == 2 && args[0] == "seeds") return Seeds(args[1]);
  std::fprintf(stderr, "usage: ini_fuzz replay <folder>... | seeds <folder>\n");
  return 2;
}
