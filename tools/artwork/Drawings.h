#pragma once
// The generator's drawing sets; each writes its pictures below the output root.

void DrawMenuGlyphs();      // glyphs/<NAME>.png and the editor gutter's marks
void DrawSmallTools();      // images/16, images/12
void DrawLargeTools();      // images/24, images/29
void DrawTableArt();        // bitmaps/8100, 8102, 8103, the wallpaper and the LEDs
void DrawCursors();         // cursors/<NAME>.png with their hot spots
void DrawBrand();           // the program icon and the about-box banner
void DrawAboutArt();        // images/about and the F11 reminder's key
