#pragma once
// The records and constants of the rich-edit control our editor stands in for. The editor and
// its clients speak in these terms; only the values matter, not the byte layout.

#include <cstdint>

class QPainter;
class QPaintDevice;

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using LCID = std::uint32_t;
using COLORREF = std::uint32_t;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

// Messages.
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2,
                      EM_SETRECT = 0x00B3, EM_LINESCROLL = 0x00B6, EM_SCROLLCARET = 0x00B7,
                      EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9, EM_GETLINECOUNT = 0x00BA,
                      EM_LINEINDEX = 0x00BB, EM_LINELENGTH = 0x00C1, EM_REPLACESEL = 0x00C2,
                      EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5, EM_CANUNDO = 0x00C6,
                      EM_UNDO = 0x00C7, EM_LINEFROMCHAR = 0x00C9, EM_EMPTYUNDOBUFFER = 0x00CD,
                      EM_GETFIRSTVISIBLELINE = 0x00CE, EM_SETREADONLY = 0x00CF,
                      EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7;
inline constexpr UINT EM_CANPASTE = WM_USER + 50, EM_DISPLAYBAND = WM_USER + 51,
                      EM_EXGETSEL = WM_USER + 52, EM_EXLIMITTEXT = WM_USER + 53,
                      EM_EXLINEFROMCHAR = WM_USER + 54, EM_EXSETSEL = WM_USER + 55,
                      EM_FINDTEXT = WM_USER + 56, EM_FORMATRANGE = WM_USER + 57,
                      EM_GETCHARFORMAT = WM_USER + 58, EM_GETEVENTMASK = WM_USER + 59,
                      EM_GETOLEINTERFACE = WM_USER + 60, EM_GETPARAFORMAT = WM_USER + 61,
                      EM_GETSELTEXT = WM_USER + 62, EM_HIDESELECTION = WM_USER + 63,
                      EM_PASTESPECIAL = WM_USER + 64, EM_REQUESTRESIZE = WM_USER + 65,
                      EM_SELECTIONTYPE = WM_USER + 66, EM_SETBKGNDCOLOR = WM_USER + 67,
                      EM_SETCHARFORMAT = WM_USER + 68, EM_SETEVENTMASK = WM_USER + 69,
                      EM_SETOLECALLBACK = WM_USER + 70, EM_SETPARAFORMAT = WM_USER + 71,
                      EM_SETTARGETDEVICE = WM_USER + 72, EM_STREAMIN = WM_USER + 73,
                      EM_STREAMOUT = WM_USER + 74, EM_GETTEXTRANGE = WM_USER + 75,
                      EM_FINDWORDBREAK = WM_USER + 76, EM_SETOPTIONS = WM_USER + 77,
                      EM_GETOPTIONS = WM_USER + 78, EM_FINDTEXTEX = WM_USER + 79,
                      EM_SETUNDOLIMIT = WM_USER + 82, EM_REDO = WM_USER + 84,
                      EM_CANREDO = WM_USER + 85, EM_STOPGROUPTYPING = WM_USER + 88,
                      EM_SETTEXTMODE = WM_USER + 89, EM_GETTEXTMODE = WM_USER + 90,
                      EM_AUTOURLDETECT = WM_USER + 91, EM_GETAUTOURLDETECT = WM_USER + 92,
                      EM_GETTEXTEX = WM_USER + 94, EM_GETTEXTLENGTHEX = WM_USER + 95,
                      EM_SHOWSCROLLBAR = WM_USER + 96, EM_SETTEXTEX = WM_USER + 97,
                      EM_SETTYPOGRAPHYOPTIONS = WM_USER + 202,
                      EM_GETTYPOGRAPHYOPTIONS = WM_USER + 203;

// Notifications and the event mask.
inline constexpr UINT EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300,
                      EN_UPDATE = 0x0400, EN_MAXTEXT = 0x0501, EN_HSCROLL = 0x0601,
                      EN_VSCROLL = 0x0602, EN_MSGFILTER = 0x0700, EN_REQUESTRESIZE = 0x0701,
                      EN_SELCHANGE = 0x0702, EN_DROPFILES = 0x0703, EN_PROTECTED = 0x0704,
                      EN_SAVECLIPBOARD = 0x0708, EN_OLEOPFAILED = 0x0709, EN_LINK = 0x070B,
                      EN_DRAGDROPDONE = 0x070C;
inline constexpr DWORD ENM_NONE = 0, ENM_CHANGE = 0x1, ENM_UPDATE = 0x2, ENM_SCROLL = 0x4,
                       ENM_SCROLLEVENTS = 0x8, ENM_DRAGDROPDONE = 0x10, ENM_KEYEVENTS = 0x10000,
                       ENM_MOUSEEVENTS = 0x20000, ENM_REQUESTRESIZE = 0x40000,
                       ENM_SELCHANGE = 0x80000, ENM_DROPFILES = 0x100000,
                       ENM_PROTECTED = 0x200000, ENM_LINK = 0x04000000;

// Where a format goes.
inline constexpr UINT SCF_DEFAULT = 0, SCF_SELECTION = 1, SCF_WORD = 2, SCF_ALL = 4;

// Stream formats. SF_USECODEPAGE takes the code page in the high word.
inline constexpr UINT SF_TEXT = 0x1, SF_RTF = 0x2, SF_RTFNOOBJS = 0x3, SF_TEXTIZED = 0x4,
                      SF_UNICODE = 0x10, SF_USECODEPAGE = 0x20, SFF_PLAINRTF = 0x4000,
                      SFF_SELECTION = 0x8000;
inline constexpr UINT CP_UTF8 = 65001;

// Character format mask and effects.
inline constexpr DWORD CFM_BOLD = 0x1, CFM_ITALIC = 0x2, CFM_UNDERLINE = 0x4,
                       CFM_STRIKEOUT = 0x8, CFM_PROTECTED = 0x10, CFM_LINK = 0x20,
                       CFM_HIDDEN = 0x100, CFM_SUBSCRIPT = 0x30000, CFM_SUPERSCRIPT = 0x30000,
                       CFM_WEIGHT = 0x00400000, CFM_UNDERLINETYPE = 0x00800000,
                       CFM_LCID = 0x02000000, CFM_BACKCOLOR = 0x04000000,
                       CFM_CHARSET = 0x08000000, CFM_OFFSET = 0x10000000,
                       CFM_FACE = 0x20000000, CFM_COLOR = 0x40000000, CFM_SIZE = 0x80000000;
inline constexpr DWORD CFE_BOLD = 0x1, CFE_ITALIC = 0x2, CFE_UNDERLINE = 0x4,
                       CFE_STRIKEOUT = 0x8, CFE_PROTECTED = 0x10, CFE_LINK = 0x20,
                       CFE_HIDDEN = 0x100, CFE_SUBSCRIPT = 0x10000, CFE_SUPERSCRIPT = 0x20000,
                       CFE_AUTOBACKCOLOR = 0x04000000, CFE_AUTOCOLOR = 0x40000000;
inline constexpr BYTE CFU_UNDERLINENONE = 0, CFU_UNDERLINE = 1, CFU_UNDERLINEWORD = 2,
                      CFU_UNDERLINEDOUBLE = 3, CFU_UNDERLINEDOTTED = 4, CFU_UNDERLINEDASH = 5,
                      CFU_UNDERLINEDASHDOT = 6, CFU_UNDERLINEDASHDOTDOT = 7,
                      CFU_UNDERLINEWAVE = 8, CFU_UNDERLINETHICK = 9;
inline constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2;
inline constexpr BYTE FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30,
                      FF_SCRIPT = 0x40, FF_DECORATIVE = 0x50;

// Paragraph format mask and values.
inline constexpr DWORD PFM_STARTINDENT = 0x1, PFM_RIGHTINDENT = 0x2, PFM_OFFSET = 0x4,
                       PFM_ALIGNMENT = 0x8, PFM_TABSTOPS = 0x10, PFM_NUMBERING = 0x20,
                       PFM_SPACEBEFORE = 0x40, PFM_SPACEAFTER = 0x80, PFM_LINESPACING = 0x100,
                       PFM_STYLE = 0x400, PFM_NUMBERINGSTYLE = 0x2000,
                       PFM_NUMBERINGTAB = 0x4000, PFM_NUMBERINGSTART = 0x8000,
                       PFM_PAGEBREAKBEFORE = 0x80000, PFM_TABLE = 0x40000000,
                       PFM_OFFSETINDENT = 0x80000000;
inline constexpr WORD PFN_BULLET = 1, PFN_ARABIC = 2, PFN_LCLETTER = 3, PFN_UCLETTER = 4,
                      PFN_LCROMAN = 5, PFN_UCROMAN = 6;
inline constexpr WORD PFNS_PAREN = 0x000, PFNS_PARENS = 0x100, PFNS_PERIOD = 0x200,
                      PFNS_PLAIN = 0x300, PFNS_NONUMBER = 0x400;
inline constexpr WORD PFA_LEFT = 1, PFA_RIGHT = 2, PFA_CENTER = 3, PFA_JUSTIFY = 4;
inline constexpr WORD PFE_TABLE = 0x4000, PFE_PAGEBREAKBEFORE = 0x8;
inline constexpr int MAX_TAB_STOPS = 32;

// Text mode, typography, options, text length, selection type.
inline constexpr UINT TM_PLAINTEXT = 1, TM_RICHTEXT = 2, TM_SINGLELEVELUNDO = 4,
                      TM_MULTILEVELUNDO = 8, TM_SINGLECODEPAGE = 16, TM_MULTICODEPAGE = 32;
inline constexpr UINT TO_ADVANCEDTYPOGRAPHY = 1, TO_SIMPLELINEBREAK = 2;
inline constexpr DWORD ECO_AUTOWORDSELECTION = 0x1, ECO_AUTOVSCROLL = 0x40,
                       ECO_AUTOHSCROLL = 0x80, ECO_NOHIDESEL = 0x100, ECO_READONLY = 0x800,
                       ECO_WANTRETURN = 0x1000, ECO_SAVESEL = 0x8000,
                       ECO_SELECTIONBAR = 0x01000000;
inline constexpr UINT ECOOP_SET = 1, ECOOP_OR = 2, ECOOP_AND = 3, ECOOP_XOR = 4;
inline constexpr DWORD GTL_DEFAULT = 0, GTL_USECRLF = 1, GTL_PRECISE = 2, GTL_CLOSE = 4,
                       GTL_NUMCHARS = 8, GTL_NUMBYTES = 16;
inline constexpr WORD SEL_EMPTY = 0, SEL_TEXT = 1, SEL_OBJECT = 2, SEL_MULTICHAR = 4,
                      SEL_MULTIOBJECT = 8;

// What a stream transfer reports in dwError besides a callback's own code.
inline constexpr DWORD STREAM_E_TOO_LARGE = 0x8007000E;  // over the document caps
inline constexpr DWORD STREAM_E_CORRUPT = 0x80004005;    // data cut short: a counted block, a write

struct CHARRANGE {
  LONG cpMin = 0;
  LONG cpMax = 0;
};

struct RECT {
  LONG left = 0, top = 0, right = 0, bottom = 0;
};

struct NMHDR {
  void* hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

struct CHARFORMAT2 {
  UINT cbSize = 84;
  DWORD dwMask = 0;
  DWORD dwEffects = 0;
  LONG yHeight = 0;  // twips
  LONG yOffset = 0;  // twips, positive raises
  COLORREF crTextColor = 0;
  BYTE bCharSet = 0;
  BYTE bPitchAndFamily = 0;
  char szFaceName[32] = {};  // UTF-8 here, so that every face name fits the one record
  WORD wWeight = 0;
  SHORT sSpacing = 0;
  COLORREF crBackColor = 0;
  LCID lcid = 0;
  DWORD dwReserved = 0;
  SHORT sStyle = 0;
  WORD wKerning = 0;
  BYTE bUnderlineType = 0;
  BYTE bAnimation = 0;
  BYTE bRevAuthor = 0;
  BYTE bReserved1 = 0;
};

struct PARAFORMAT2 {
  UINT cbSize = 188;
  DWORD dwMask = 0;
  WORD wNumbering = 0;
  WORD wEffects = 0;
  LONG dxStartIndent = 0;  // twips, first line
  LONG dxRightIndent = 0;
  LONG dxOffset = 0;  // the other lines, relative to the first
  WORD wAlignment = 0;
  SHORT cTabCount = 0;
  LONG rgxTabs[MAX_TAB_STOPS] = {};
  LONG dySpaceBefore = 0;
  LONG dySpaceAfter = 0;
  LONG dyLineSpacing = 0;
  SHORT sStyle = 0;
  BYTE bLineSpacingRule = 0;
  BYTE bOutlineLevel = 0;
  WORD wShadingWeight = 0;
  WORD wShadingStyle = 0;
  WORD wNumberingStart = 0;
  WORD wNumberingStyle = 0;
  WORD wNumberingTab = 0;
  WORD wBorderSpace = 0;
  WORD wBorderWidth = 0;
  WORD wBorders = 0;
};

// Returns 0 to go on; *pcb is the number of bytes the callback filled or took.
using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR dwCookie, BYTE* pbBuff, LONG cb, LONG* pcb);

struct EDITSTREAM {
  DWORD_PTR dwCookie = 0;
  DWORD dwError = 0;
  EDITSTREAMCALLBACK pfnCallback = nullptr;
};

struct FORMATRANGE {
  QPainter* hdc = nullptr;
  QPaintDevice* hdcTarget = nullptr;
  RECT rc;
  RECT rcPage;
  CHARRANGE chrg;
};

struct SELCHANGE {
  NMHDR nmhdr;
  CHARRANGE chrg;
  WORD seltyp = 0;
};

struct ENLINK {
  NMHDR nmhdr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  CHARRANGE chrg;
};
