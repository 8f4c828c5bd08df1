#pragma once
// Where the maker can be reached: the support mailbox, the page that tells the latest
// version, the home page and its page of more puzzles. The about box, the open dialog and
// the sponsor window take their links from here. The reserved example.org domain stands in
// until the maker names real addresses.

#include <QString>

namespace MakerAddresses {
// "mailto:" the support mailbox, with the subject "<title> Bug Report".
QString SupportAddress(const QString& title);
QString VersionUrl();
QString HomePage();
QString SupportPage();
QString PuzzlesPage();
}  // namespace MakerAddresses
