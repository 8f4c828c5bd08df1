#include "table/JITTCatalogue.h"

namespace {
constexpr unsigned R = JITT::Repeatable, S = JITT::Spacing, F = JITT::FirstAfterStart,
                   A = JITT::Advanced, M = JITT::MayReplace;
constexpr int None = JITT::NoHelp;
}  // namespace

JITTCatalogue::JITTCatalogue() {
  Add(0, "You now see the puzzle's edge pieces.  Click on the mini tables in the control panel to see the other puzzle pieces.", 0, 120);
  Add(1, "Move puzzle pieces to other tables by dragging them to the mini tables on the control panel.", M, 120);
  Add(2, "Puzzle pieces can be rotated by using the mouse's scroll wheel or the keyboard's arrow keys.", 0, 710);
  Add(3, "If you insert the CD before starting this program the program will start automatically.", F, None);
  Add(5, "Use the \"What's This\" button on the control panel to explore this program.", F, None);
  Add(6, "Use the question mark ('?') Help button in the upper right corner of the \"Open\" window to explore the window's controls.", F, None);
  Add(7, "Try colors with a saturation value of about 80 or less and a luminance value of about 160 or more and adjust as desired.", S | A, None);
  Add(8, "Once you find a color you like save it by using the \"Add to Custom Colors\" button.", S | A, None);
  Add(9, "Click the \"Help\" button and select \"Show Previous Tip\" to redisplay the most recently shown tip.", F, None);
  Add(10, "Use the \"Page Up\" and \"Page Down\" keys to switch between tables when the control panel is hidden.", S | A, 120);
  Add(11, "The \"Hint\" feature identifies an adjacent puzzle piece by drawing a cross hair over the adjacent piece.", 0, 730);
  Add(12, "The \"Hint\" cross hair intersects on a mini table in the control panel when the identified puzzle piece is in another table.", 0, 730);
  Add(13, "See the number of hints remaining by pressing the F3 key when the mouse is over empty table space.", S | A, 730);
  Add(14, "Multiple puzzle pieces may be moved by \"capturing\" them with the mouse's scroll wheel button.", S | A, 720);
  Add(15, "\"Captured\" puzzle pieces can be released by clicking the scroll wheel button over empty table space.", A | M, 720);
  Add(16, "\"Capture\" pieces quickly by holding the scroll wheel button down while moving the mouse.  \"Release\" works likewise.", F | A, 720);
  Add(17, "Increasing your computer's color to \"True Color\", or using full screen mode, can speed up Tessavinelume puzzles.", F | A, 700);
  Add(18, "Click on the miniature box cover image in the control panel to access box cover toolbar features.", F, 80);
  Add(19, "You can drag-n-drop the contents of any miniature table on the control panel to any other miniature table.  Try it!", F | A, 120);
  Add(20, "Now use the mouse to drag the completed puzzle section to the mini table on the control panel containing the other pieces.", 0, 120);
  Add(21, "If puzzle play is sluggish while playing a Tessavinelume puzzle check the Performance section of the Help document.", S | A, 700);
  Add(22, "Use WordPad to create a fancy puzzle note with bolding, italics, pictures, clickable web links, and more.", F | A, 840);
  Add(24, "Puzzle pieces can be rotated by using the mouse's scroll wheel or the keyboard's arrow keys.", S, 710);
  Add(25, "If you like working the edge pieces first try setting the \"Isolate edge pieces\" check box in the \"Open\" window.", S, None);
  Add(26, "If you want to replay a finished puzzle simply reopen the puzzle from the \"Begin a new puzzle\" panel.", S, None);
  Add(27, "You have one available hint remaining.", R | A, None);
  Add(28, "It is time to update this program using the \"Check for Latest Version\" item in the Help menu.", R | S | F | A, None);
  Add(30, "Create puzzles to send to friends and family via e-mail!", F, 33);
  SetPrerequisite(6, 5);
  SetPrerequisite(8, 7);
}

void JITTCatalogue::Add(int id, const char* text, unsigned flags, int helpContext) {
  tips.push_back(std::make_unique<JITT>(id, QString::fromUtf8(text), flags, helpContext));
}

void JITTCatalogue::SetPrerequisite(int tip, int prerequisite) {
  FindTip(tip)->SetPrerequisite(FindTip(prerequisite));
}

JITT* JITTCatalogue::FindTip(int id) const {
  for (const auto& tip : tips)
    if (tip->Id() == id) return tip.get();
  return nullptr;
}

void JITTCatalogue::MakeAllAvailable() {
  for (const auto& tip : tips) tip->SetAvailable(true);
}
