#pragma once
// The paragraph format of an editor's selection: one working record filled from the editor,
// changed by a setter in the attributes it names only, and sent back. Indents are twips;
// spaces before and after are points here.

#include "RichEditDefs.h"

#include <functional>

class RichEdit20;

class RichParagraph {
public:
  enum AlignmentType { Right = 0, Left = 1, Centre = 2, Justified = 3 };
  // The indent steps: a quarter and a half inch.
  static constexpr int SmallStep = 360, LargeStep = 720;

  // metricLocale tells whether the user's measurements are metric.
  explicit RichParagraph(RichEdit20& owner, std::function<bool()> metricLocale = {});

  int ReadAlignment();
  int ReadSpaceAfter();
  int ReadSpaceBefore();
  // 20 single, 30 one and a half, 40 double; 0 any other spacing.
  int ReadSpacing();
  // 0 none, 1 small, 2 large step.
  int ReadIndentFirstLine();
  int ReadHangingIndent();
  int ReadTabSize();
  int ReadBulletType();
  int ReadBulletStyle();
  int ReadStartNumber();

  void SetAlignment(int alignment);
  void SetSpaceAfter(int points);
  void SetSpaceBefore(int points);
  void SetSpacing(int spacing);
  void SetIndentFirstLine(int indentation);
  void SetHangingIndent(int indentation);
  // Over the whole text.
  void SetTabSize(int twips);
  void SetBulletType(int kind);
  void SetBulletStyle(int style);
  void SetStartNumber(int number);
  void InitFormat() { format_ = PARAFORMAT2(); }
  // Leaves the previous paragraph's record in the working record.
  bool PrevParIsBulleted();
  int GetCurrParLineHeight();

  const PARAFORMAT2& GetFormat();
  // With all, every attribute of the record is applied.
  void SetFormat(PARAFORMAT2& format, bool all);
  // Field by field against the selection's record.
  bool IsEqual(const PARAFORMAT2* other);
  // Rich text only: in plain text the indent is made of the text itself.
  void Indent();
  void Outdent();
  void IndentBoth();
  void OutdentBoth();

  void SetMetricLocale(std::function<bool()> metricLocale) { metricLocale_ = std::move(metricLocale); }

private:
  static int FirstLinePosition(const PARAFORMAT2& format);
  static int StepFrom(int position);
  int IndentStep();
  int OutdentStep(int position);
  void Apply(DWORD mask, const std::function<void(PARAFORMAT2&)>& change);

  PARAFORMAT2 format_;
  RichEdit20& owner_;
  int defaultTabSize_ = 0;
  std::function<bool()> metricLocale_;
};
