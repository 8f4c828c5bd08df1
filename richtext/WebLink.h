#pragma once
// Web and mail addresses in plain text, as the editor marks and opens them. Only addresses
// the browser or the mail program takes are links: a note from a stranger must never name a
// local file or program the desktop would open.

#include <QStringView>

#include <vector>

struct WebLink {
  int start = 0, end = 0;  // character range in the text searched
};

// The links of one paragraph, in order: "http://", "https://", "ftp://", "mailto:" (any
// case) or "www." at a word's start, up to the next blank, with trailing punctuation left out.
std::vector<WebLink> FindWebLinks(QStringView text);
// The link covering the position, or an empty range.
WebLink WebLinkAt(QStringView text, int position);
