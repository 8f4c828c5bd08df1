#pragma once
// The recent-puzzles list: full paths, most recent first, each at most once.

#include <QString>
#include <QStringList>

// An opened puzzle moves to the top.
void MoveToTop(QStringList& recent, const QString& path);
// After a save: the source and saved paths go wherever they are; an unfinished game's
// saved path then comes first.
void RecordSave(QStringList& recent, const QString& source, const QString& saved,
                bool complete);
// The menu item of the recent puzzle numbered 1 to 4: "&n  name", the name with or without
// its extension, a "&" in it shown as itself.
QString RecentCaption(int number, const QString& path, bool showExt);
