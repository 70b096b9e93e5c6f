#include "UserHeaderPane.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velora::detail {

UserHeaderPane::UserHeaderPane(QWidget* parent)
    : QWidget(parent)
    , userName_(label("lblUserHeaderUserName", QString()))
    , groupName_(new QComboBox(this))
    , effectiveDate_(label("lblUserHeaderEffectiveDate", QString())) {
    setObjectName(QStringLiteral("UserHeaderPane"));
    groupName_->setObjectName(QStringLiteral("cmbUserHeaderGroupName"));
    // A drop-down list: the operator picks a group, never types one.
    groupName_->setEditable(false);
    groupName_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    QLabel* title = label("lblUserTitleLabel", QStringLiteral("Velora Incentive - User"));
    title->setStyleSheet(QStringLiteral("font-size: 15px; font-weight: 600; color: #1f4e79;"));

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(10);
    grid->addWidget(label("lblUserHeaderUserNameLabel", QStringLiteral("User Name:")), 0, 0);
    grid->addWidget(userName_, 0, 1);
    grid->addWidget(label("lblUserHeaderGroupNameLabel", QStringLiteral("Group Name:")), 1, 0);
    grid->addWidget(groupName_, 1, 1);
    grid->addWidget(label("lblUserHeaderEffectiveDateLabel", QStringLiteral("Effective Date:")), 2,
                    0);
    grid->addWidget(effectiveDate_, 2, 1);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(title);
    outer->addSpacing(12);
    outer->addLayout(grid);
    outer->addStretch();
}

QLabel* UserHeaderPane::label(const char* name, const QString& text) {
    auto* made = new QLabel(text, this);
    made->setObjectName(QLatin1String(name));
    return made;
}

} // namespace velora::detail
