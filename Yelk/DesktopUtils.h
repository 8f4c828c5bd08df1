#pragma once
// Services of the desktop: the screen, window stacking, the event queue and the browser.

#include <QString>

class QPaintDevice;
class QWidget;

// Bits per pixel of the device, or of the primary screen when null.
int GetColorDepth(const QPaintDevice* device = nullptr);
// Keeps a form above other windows, or stops doing so, without moving or sizing it.
void StayOnTop(QWidget* form, bool on);
// Whether pending messages should be processed. An approximation: Qt cannot look into the
// queue, so this answers true once the event loop has not run for a short while
// (EventLoopWatch). inputOnly cannot be told apart and answers the same.
bool MessagesAreQueued(bool inputOnly);
// Opens a web address in the user's browser. addReferrer appends the program's referrer
// query, linkParm (when given) names the link; when the address cannot be opened the
// fallback is tried; a failure is told to the player in a message box. True on success.
bool OpenURL(const QString& url, bool addReferrer = false, const QString& linkParm = QString(),
             const QString& fallbackUrl = QString());
