#pragma once

#include <QString>
#include <QStringList>

namespace velora::shell {

// Finds the program's help (index.html, its default topic). An installed program keeps it in
// <prefix>/share/velora/help or in a help folder beside the executable; a program run from its
// build tree falls back to the docs/help folder of the source tree it was built from.
class HelpLocator {
public:
    static inline const QString kIndexFile = QStringLiteral("index.html");

    // The index path of the first folder that holds one, or "" when none does.
    static QString find(const QString& programDir);
    // The same search with the last folder given, so that callers can test the order.
    static QString find(const QString& programDir, const QString& builtInDir);

    // The folders searched, in order: <programDir>/../share/velora/help, <programDir>/help,
    // builtInDir. An empty programDir searches only builtInDir.
    static QStringList folders(const QString& programDir, const QString& builtInDir);

    // The help folder of the source tree this program was built from.
    static QString builtInDir();
};

} // namespace velora::shell
