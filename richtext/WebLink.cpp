#include "WebLink.h"

#include <array>

namespace {

constexpr std::array<const char16_t*, 5> Prefixes{u"http://", u"https://", u"ftp://", u"mailto:", u"www."};

bool EndsAddress(QChar ch) { return ch.isSpace() || ch == u'<' || ch == u'>' || ch == u'"' || ch.unicode() < 32; }

bool TrailingPunctuation(QChar ch) {
  return ch == u'.' || ch == u',' || ch == u';' || ch == u':' || ch == u'!' || ch == u'?' || ch == u')' ||
         ch == u'\'';
}

int PrefixLength(QStringView text, int at) {
  for (const char16_t* prefix : Prefixes) {
    const QStringView wanted(prefix);
    if (text.mid(at).startsWith(wanted, Qt::CaseInsensitive)) return int(wanted.size());
  }
  return 0;
}

}  // namespace

std::vector<WebLink> FindWebLinks(QStringView text) {
  std::vector<WebLink> links;
  const int length = int(text.size());
  for (int at = 0; at < length; ++at) {
    if (at > 0 && (text[at - 1].isLetterOrNumber() || text[at - 1] == u'_')) continue;
    const int prefix = PrefixLength(text, at);
    if (prefix == 0) continue;
    int end = at + prefix;
    while (end < length && !EndsAddress(text[end])) ++end;
    while (end > at + prefix && TrailingPunctuation(text[end - 1])) --end;
    if (end == at + prefix) continue;  // a scheme alone is no address
    links.push_back({at, end});
    at = end - 1;
  }
  return links;
}

WebLink WebLinkAt(QStringView text, int position) {
  for (const WebLink& link : FindWebLinks(text))
    if (position >= link.start && position < link.end) return link;
  return {};
}
