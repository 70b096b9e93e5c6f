#pragma once

#include "AboutInfo.h"

#include <QDialog>

class QFormLayout;
class QLabel;

namespace velora::shell {

// Help > About: the program's name, version and release date beside its emblem, the database
// version, and who is logged in.
//
// Controls: picEmblem, lblProgramName, lblVersion, lblReleaseDate, lblDatabaseVersion,
// lblUserName, lblFullName, lblTransId, lblAdministrator, cmdOK.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(const AboutInfo& info, QWidget* owner = nullptr);

    // The text shown for a value that is missing.
    static QString orNone(const QString& value);

private:
    QLayout* buildHeading(const AboutInfo& info);
    QFormLayout* buildDetails(const AboutInfo& info);
    QLabel* addRow(QFormLayout* form, const QString& caption, const QString& name,
                   const QString& value);
};

} // namespace velora::shell
