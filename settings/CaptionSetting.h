#pragma once
// When a lit indicator LED marks the main window's caption. The numbers are stored.

enum CaptionSetting : int {
  csNever = 0,
  csAlways = 1,
  csWhenInvisible = 2,
};
