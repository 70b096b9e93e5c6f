#pragma once

#include "WorkTimePrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velora::suite {

// The suite's work-time dialog: the day's activity rows in a table, the day's total of system
// hours in an editable box, OK and Cancel. OK is enabled while the box holds a number of hours
// within one day.
class WorkTimeDialog : public QDialog {
    Q_OBJECT
public:
    explicit WorkTimeDialog(const WorkTimeRequest& request, QWidget* parent = nullptr);

    // The new total in seconds once accepted; no value while open or after Cancel.
    std::optional<int> answer() const;

    // The real prompt: runs the dialog modally.
    static std::optional<int> prompt(const WorkTimeRequest& request);

private:
    void fillActivities(const WorkTimeRequest& request);
    void updateOkButton();
    std::optional<int> typedSeconds() const;

    QLocale locale_;
    QTableWidget* grdActivity_;
    QLineEdit* txtSystemHours_;
    QLabel* lblMessage_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

} // namespace velora::suite
