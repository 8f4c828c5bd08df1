#pragma once
// One just-in-time tip: its text, when it may appear, and the help topic that tells more.

#include <QString>

class JITT {
public:
  enum Flag : unsigned {
    Repeatable = 1,       // never becomes unavailable
    Spacing = 2,          // keeps ten minutes from the previous tip
    FirstAfterStart = 4,  // only as the first tip since the program started
    Advanced = 8,
    MayReplace = 16,      // may replace a tip on the bar
  };
  static constexpr int NoHelp = -1;

  JITT(int id, QString text, unsigned flags, int helpContext);

  int Id() const { return id; }
  const QString& Text() const { return text; }
  int HelpContext() const { return helpContext; }
  bool Has(Flag flag) const { return (flags & flag) != 0; }

  // False while its own flag is clear, and while its prerequisite is still available.
  bool Available() const;
  // Clearing leaves a repeatable tip available.
  void SetAvailable(bool on);
  void SetPrerequisite(const JITT* tip) { prerequisite = tip; }

private:
  int id;
  QString text;
  unsigned flags;
  int helpContext;
  bool available = true;
  const JITT* prerequisite = nullptr;
};
