#pragma once

#include "SystemInfo.h"

#include <QList>
#include <QString>

namespace velora::shell {

// SystemInfo laid out for reading: sections of item and value rows, the same for the window
// and for the text it copies. The connection string's password never appears in it.
class SystemInfoReport {
public:
    struct Row {
        QString item;
        QString value;
    };
    struct Section {
        QString title;
        QList<Row> rows;
    };

    explicit SystemInfoReport(const SystemInfo& info);

    const QList<Section>& sections() const { return sections_; }

    // The whole report as plain text: a heading line, then each section's title followed by
    // its rows, indented, with the values lined up.
    QString toText() const;

    // "16, 17, 18", or "(none)".
    static QString rightsText(const QList<int>& rights);

private:
    static Section connectionSection(const SystemInfo& info);
    static Section userSection(const SystemInfo::User& user);
    static Section workstationSection(const SystemInfo::Workstation& station);

    QList<Section> sections_;
};

} // namespace velora::shell
