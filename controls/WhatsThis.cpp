#include "WhatsThis.h"

#include "platform/HelpViewer.h"

#include <QApplication>
#include <QHelpEvent>
#include <QWhatsThis>
#include <QWidget>

namespace {

constexpr const char* ContextProperty = "HelpContext";

// Answers Qt's what's-this questions for every widget of the program from the help contexts.
class WhatsThisFilter : public QObject {
public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::WhatsThis && type != QEvent::QueryWhatsThis) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    const int context = WhatsThis::ContextFor(widget);
    if (type == QEvent::QueryWhatsThis) {
      event->setAccepted(context != 0);
      return true;
    }
    const QPoint at = static_cast<QHelpEvent*>(event)->globalPos();
    QWhatsThis::leaveWhatsThisMode();
    HelpViewer::ShowPopup(context, at);
    event->accept();
    return true;
  }
};

}  // namespace

void WhatsThis::Begin() {
  static WhatsThisFilter* filter = nullptr;
  if (!filter) {
    filter = new WhatsThisFilter(qApp);
    qApp->installEventFilter(filter);
  }
  if (!QWhatsThis::inWhatsThisMode()) QWhatsThis::enterWhatsThisMode();
}

bool WhatsThis::Active() { return QWhatsThis::inWhatsThisMode(); }

void WhatsThis::SetHelpContext(QWidget* control, int context) {
  if (control) control->setProperty(ContextProperty, context);
}

int WhatsThis::HelpContext(const QWidget* control) {
  return control ? control->property(ContextProperty).toInt() : 0;
}

int WhatsThis::ContextFor(const QWidget* control) {
  for (const QWidget* w = control; w; w = w->parentWidget()) {
    if (const int context = HelpContext(w)) return context;
    if (w->isWindow()) break;
  }
  return 0;
}
