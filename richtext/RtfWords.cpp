#include "RtfWords.h"

#include <unordered_map>

RtfWord LookupRtfWord(std::string_view word) {
  using W = RtfWord;
  static const std::unordered_map<std::string_view, RtfWord> kWords = {
      {"rtf", W::Rtf}, {"ansi", W::Ansi}, {"mac", W::Mac}, {"pc", W::Pc}, {"pca", W::Pca},
      {"ansicpg", W::AnsiCpg}, {"deff", W::Deff}, {"uc", W::Uc}, {"u", W::U},
      {"fonttbl", W::FontTable}, {"colortbl", W::ColorTable}, {"f", W::F},
      {"fcharset", W::FCharset}, {"fprq", W::FPrq}, {"fnil", W::FNil}, {"froman", W::FRoman},
      {"fswiss", W::FSwiss}, {"fmodern", W::FModern}, {"fscript", W::FScript},
      {"fdecor", W::FDecor}, {"ftech", W::FTech}, {"fbidi", W::FBidi}, {"cpg", W::Cpg},
      {"red", W::Red}, {"green", W::Green}, {"blue", W::Blue},
      {"stylesheet", W::StyleSheet}, {"info", W::Info}, {"header", W::Header},
      {"headerl", W::Header}, {"headerr", W::Header}, {"headerf", W::Header},
      {"footer", W::Footer}, {"footerl", W::Footer}, {"footerr", W::Footer},
      {"footerf", W::Footer}, {"footnote", W::Footnote}, {"annotation", W::Annotation},
      {"atnid", W::Annotation}, {"atnauthor", W::Annotation}, {"pntext", W::PnText},
      {"listtext", W::ListText}, {"pgdsctbl", W::PgDscTbl}, {"shp", W::Shp},
      {"pict", W::Pict}, {"object", W::Object}, {"shppict", W::ShpPict},
      {"nonshppict", W::NonShpPict},
      {"par", W::Par}, {"line", W::Line}, {"tab", W::Tab}, {"page", W::Page},
      {"pagebb", W::PageBB}, {"sect", W::Sect}, {"pard", W::Pard}, {"plain", W::Plain},
      {"cell", W::Cell}, {"row", W::Row}, {"trowd", W::Trowd}, {"cellx", W::Cellx},
      {"intbl", W::Intbl}, {"nestcell", W::NestCell}, {"nestrow", W::NestRow},
      {"field", W::Field}, {"fldinst", W::FldInst}, {"fldrslt", W::FldRslt},
      {"b", W::B}, {"i", W::I}, {"ul", W::Ul}, {"ulnone", W::UlNone}, {"ulw", W::UlW},
      {"uldb", W::UlDb}, {"uld", W::UlD}, {"uldash", W::UlDash}, {"uldashd", W::UlDashD},
      {"uldashdd", W::UlDashDd}, {"ulwave", W::UlWave}, {"ulth", W::UlTh},
      {"ulthd", W::UlTh}, {"ulthdash", W::UlTh}, {"ulthdashd", W::UlTh},
      {"ulthdashdd", W::UlTh}, {"ulhwave", W::UlWave}, {"ululdbwave", W::UlWave},
      {"strike", W::Strike}, {"sub", W::Sub}, {"super", W::Super},
      {"nosupersub", W::NoSupersub}, {"up", W::Up}, {"dn", W::Dn}, {"fs", W::Fs},
      {"cf", W::Cf}, {"highlight", W::Highlight}, {"cb", W::Cb}, {"chcbpat", W::Chcbpat},
      {"v", W::V},
      {"ql", W::Ql}, {"qr", W::Qr}, {"qc", W::Qc}, {"qj", W::Qj}, {"li", W::Li}, {"ri", W::Ri},
      {"fi", W::Fi}, {"sb", W::Sb}, {"sa", W::Sa}, {"sl", W::Sl}, {"slmult", W::SlMult},
      {"tx", W::Tx}, {"tb", W::Tb},
      {"pn", W::Pn}, {"pnlvlblt", W::PnLvlBlt}, {"pnlvlbody", W::PnLvlBody},
      {"pnlvlcont", W::PnLvlCont}, {"pnlvl", W::PnLvl}, {"pndec", W::PnDec},
      {"pnucltr", W::PnUcLtr}, {"pnlcltr", W::PnLcLtr}, {"pnucrm", W::PnUcRm},
      {"pnlcrm", W::PnLcRm}, {"pnstart", W::PnStart}, {"pnindent", W::PnIndent},
      {"pntxta", W::PnTxtA}, {"pntxtb", W::PnTxtB}, {"listtable", W::ListTable},
      {"list", W::List}, {"listlevel", W::ListLevel}, {"levelnfc", W::LevelNfc},
      {"levelnfcn", W::LevelNfcN}, {"levelstartat", W::LevelStartAt},
      {"leveltext", W::LevelText}, {"listid", W::ListId},
      {"listoverridetable", W::ListOverrideTable}, {"listoverride", W::ListOverride},
      {"ls", W::Ls}, {"ilvl", W::Ilvl},
      {"bullet", W::Bullet}, {"lquote", W::LQuote}, {"rquote", W::RQuote},
      {"ldblquote", W::LDblQuote}, {"rdblquote", W::RDblQuote}, {"endash", W::EnDash},
      {"emdash", W::EmDash}, {"enspace", W::EnSpace}, {"emspace", W::EmSpace},
      {"qmspace", W::QmSpace}, {"zwj", W::Zwj}, {"zwnj", W::Zwnj}, {"ltrmark", W::LtrMark},
      {"rtlmark", W::RtlMark},
  };
  const auto it = kWords.find(word);
  return it == kWords.end() ? W::Unknown : it->second;
}
