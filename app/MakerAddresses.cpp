#include "MakerAddresses.h"

#include <QUrl>
#include <QUrlQuery>

namespace {
const QString Home = QStringLiteral("https://www.example.org/tessavinelume/");
}

QString MakerAddresses::SupportAddress(const QString& title) {
  QUrl address(QStringLiteral("mailto:support@example.org"));
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("SUBJECT"), title + QStringLiteral(" Bug Report"));
  address.setQuery(query);
  return address.toString(QUrl::FullyEncoded);
}

QString MakerAddresses::VersionUrl() { return Home + QStringLiteral("version.html"); }
QString MakerAddresses::HomePage() { return Home; }
QString MakerAddresses::SupportPage() { return Home + QStringLiteral("support.html"); }
QString MakerAddresses::PuzzlesPage() { return Home + QStringLiteral("puzzles.html"); }
