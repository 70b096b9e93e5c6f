#include "GroupAccountPane.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velora::groups {

GroupAccountPane::GroupAccountPane(QWidget* parent)
    : QWidget(parent)
    , groupName_(label("lblGroupAccountGroupName", QString()))
    , accountName_(label("lblGroupAccountAccountName", QString()))
    , effectiveDate_(label("lblGroupAccountEffectiveDate", QString()))
    , payFormula_(list("cmbAccountPayFormula")) {
    setObjectName(QStringLiteral("GroupAccountPane"));
    QLabel* title =
        label("lblGroupAccountTitleLabel", QStringLiteral("Velora Incentive  - Group Account"));
    title->setStyleSheet(QStringLiteral("font-size: 15px; font-weight: 600; color: #1f4e79;"));

    grid_ = new QGridLayout;
    grid_->setColumnStretch(1, 1);
    grid_->setVerticalSpacing(10);
    grid_->addWidget(label("lblGroupAccountGroupNameLabel", QStringLiteral("Group Name:")), 0, 0);
    grid_->addWidget(groupName_, 0, 1);
    grid_->addWidget(label("lblGroupAccountAccountNameLabel", QStringLiteral("Account Name:")), 1,
                     0);
    grid_->addWidget(accountName_, 1, 1);
    grid_->addWidget(label("lblGroupAccountEffectiveDateLabel", QStringLiteral("Effective Date:")),
                     2, 0);
    grid_->addWidget(effectiveDate_, 2, 1);
    grid_->addWidget(label("lblAccountPayFormula", QStringLiteral("Pay Formula:")), 3, 0);
    grid_->addWidget(payFormula_, 3, 1);
    addHiddenRow("lblAccountLinesTypedFormula", QStringLiteral("Lines Typed Formula:"),
                 "cmbAccountLinesTypedFormula");
    addHiddenRow("lblAccountHoursWorkedFormula", QStringLiteral("Hours Worked Formula:"),
                 "cmbAccountHoursWorkedFormula");

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(title);
    outer->addSpacing(12);
    outer->addLayout(grid_);
    outer->addStretch();
}

QLabel* GroupAccountPane::label(const char* name, const QString& text) {
    auto* made = new QLabel(text, this);
    made->setObjectName(QLatin1String(name));
    return made;
}

// A drop-down list: the operator picks a formula, never types one.
QComboBox* GroupAccountPane::list(const char* name) {
    auto* made = new QComboBox(this);
    made->setObjectName(QLatin1String(name));
    made->setEditable(false);
    made->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return made;
}

void GroupAccountPane::addHiddenRow(const char* labelName, const QString& text,
                                    const char* listName) {
    QLabel* caption = label(labelName, text);
    QComboBox* hidden = list(listName);
    caption->hide();
    hidden->hide();
    const int row = grid_->rowCount();
    grid_->addWidget(caption, row, 0);
    grid_->addWidget(hidden, row, 1);
}

} // namespace velora::groups
