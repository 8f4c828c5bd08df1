#pragma once
// What a converted load or store asks of the text converter that runs it. A converter is a
// module loaded for one file; it tells whether it accepts the file, and converts on a
// thread of its own, exchanging RTF with the editor's stream through the transfer record.
// RichIO finds the module and decides what is shown; the converter does the rest.

#include <QString>

#include <functional>
#include <memory>

struct XferInfo;

class TextConverter {
public:
  enum Type { Word6 = 0, Word97 = 1, Html = 2 };
  enum Direction { Import = 0, Export = 1, Recognition = 2 };

  // Makes the converter for a module; none is made while no factory is set.
  using Factory = std::function<std::unique_ptr<TextConverter>()>;

  virtual ~TextConverter() = default;

  // Loads the module at modulePath for the document at path; 0 prepared, 1 failed (its
  // message shown).
  virtual int Prepare(const QString& modulePath, const QString& path, Type type, Direction direction) = 0;
  // The module accepts the document as its format.
  virtual bool FormatIsCorrect() = 0;
  // Starts the conversion and fills the record's part that the stream callbacks use.
  virtual void Start(XferInfo& info, Direction direction) = 0;
  // Export: the stream-out has handed over everything.
  virtual void EndOfData() = 0;
  // Waits at most milliseconds for the conversion to end; the converter's error text,
  // empty when it had none.
  virtual QString Wait(int milliseconds) = 0;
  // The transfer ended normally even though the stream-in's callback stopped it.
  virtual bool EndedNormally(unsigned long streamError) const = 0;
};
