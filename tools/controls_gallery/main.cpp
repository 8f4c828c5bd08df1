// Shows every in-house control and every picture resource of the game in one window.

#include "ControlsPage.h"
#include "PicturesPage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Tessavinelume Jigsaw Puzzles");
  QCommandLineParser options;
  options.addHelpOption();
  options.addOption({"screenshot", "Saves the window to <file> and ends.", "file"});
  options.process(app);

  QWidget window;
  window.setWindowTitle("Controls gallery");
  auto* layout = new QHBoxLayout(&window);
  layout->addWidget(new ControlsPage(&window), 0);
  auto* pictures = new QScrollArea(&window);
  pictures->setWidget(new PicturesPage);
  pictures->setWidgetResizable(true);
  layout->addWidget(pictures, 1);
  window.resize(1260, 900);
  window.show();

  if (options.isSet("screenshot")) {
    QTimer::singleShot(300, &app, [&] {
      // The whole pictures page, not only the part the scroll area shows.
      pictures->widget()->grab().save(options.value("screenshot") + ".pictures.png");
      window.grab().save(options.value("screenshot"));
      app.quit();
    });
  }
  return app.exec();
}
