#pragma once
// The fixture of the table tests: a puzzle cut from a generated picture onto a window-less
// table, freed while its table is still there; message boxes answered by script; the felt
// the reference drawing tiles.

#include "SurfaceFixtures.h"
#include "tests/puzzle/PuzzleFixtures.h"

#include "Yelk/Prompt.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/Puzzle.h"

#include <gtest/gtest.h>

#include <memory>

class PuzzleOnTableTest : public ::testing::Test {
protected:
  void TearDown() override {
    puzzle.reset();
    ChipGroup::DeleteAll();
  }
  // A w x h picture fitted to the table, cut at pieceSize.
  bool Load(HeadlessTable& t, int w, int h, int pieceSize) {
    puzzle = std::make_unique<Puzzle>(PuzzleFixtures::WritePicture(QStringLiteral("table.bmp"), w, h));
    puzzle->SetPieceSize(pieceSize);
    return t.surface.LoadPuzzle(puzzle.get());
  }

  Prompt::Double prompts;
  const VirtualBuffer felt{8103, QStringLiteral("felt")};
  std::unique_ptr<Puzzle> puzzle;
};
