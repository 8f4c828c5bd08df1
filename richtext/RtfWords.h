#pragma once
// The RTF control words the note reader acts on. Every other word is ignored.

#include <string_view>

enum class RtfWord {
  Unknown,
  // header and tables
  Rtf, Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, FontTable, ColorTable, F, FCharset, FPrq,
  FNil, FRoman, FSwiss, FModern, FScript, FDecor, FTech, FBidi, Cpg, Red, Green, Blue,
  // skipped destinations
  StyleSheet, Info, Header, Footer, Footnote, Annotation, PnText, ListText, PgDscTbl, Shp,
  // kept groups
  Pict, Object, ShpPict, NonShpPict,
  // structure
  Par, Line, Tab, Page, PageBB, Sect, Pard, Plain, Cell, Row, Trowd, Cellx, Intbl, NestCell,
  NestRow, Field, FldInst, FldRslt,
  // character
  B, I, Ul, UlNone, UlW, UlDb, UlD, UlDash, UlDashD, UlDashDd, UlWave, UlTh, Strike, Sub, Super,
  NoSupersub, Up, Dn, Fs, Cf, Highlight, Cb, Chcbpat, V,
  // paragraph
  Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Sl, SlMult, Tx, Tb,
  // numbering
  Pn, PnLvlBlt, PnLvlBody, PnLvlCont, PnLvl, PnDec, PnUcLtr, PnLcLtr, PnUcRm, PnLcRm, PnStart,
  PnIndent, PnTxtA, PnTxtB, ListTable, List, ListLevel, LevelNfc, LevelNfcN, LevelStartAt,
  LevelText, ListId, ListOverrideTable, ListOverride, Ls, Ilvl,
  // specials
  Bullet, LQuote, RQuote, LDblQuote, RDblQuote, EnDash, EmDash, EnSpace, EmSpace, QmSpace,
  Zwj, Zwnj, LtrMark, RtlMark,
};

RtfWord LookupRtfWord(std::string_view word);
