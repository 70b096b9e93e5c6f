#include "NamePage.h"

#include "FormulaName.h"
#include "WizardState.h"
#include "db/DbError.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace velora::wizard {

NamePage::NamePage(WizardState& state, QWidget* parent)
    : QWizardPage(parent)
    , state_(state)
    , name_(new QLineEdit(this))
    , reason_(new QLabel(this)) {
    setObjectName(QStringLiteral("pgName"));
    setTitle(QStringLiteral("Name of the formula"));
    setSubTitle(QStringLiteral("The formula is created under this name in the formula list. "
                               "Finish hands it to Velora Incentive, which asks for its "
                               "effective date and saves it."));
    name_->setObjectName(QStringLiteral("txtFormulaName"));
    reason_->setObjectName(QStringLiteral("lblNameProblem"));
    reason_->setWordWrap(true);
    reason_->setStyleSheet(QStringLiteral("color: #b00020;"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Formula name:"), this), 0, 0);
    layout->addWidget(name_, 0, 1);
    layout->addWidget(reason_, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    connect(name_, &QLineEdit::textEdited, this, &NamePage::check);
}

QString NamePage::name() const {
    return name_->text().trimmed();
}

void NamePage::setName(const QString& name) {
    name_->setText(name);
    check();
}

QString NamePage::problem() const {
    try {
        return FormulaName::problem(name_->text(), state_.connection, state_.partitionId);
    } catch (const db::DbError& e) {
        return QStringLiteral("The formula names could not be read: ") + e.description();
    }
}

void NamePage::check() {
    reason_->setText(problem());
}

bool NamePage::validatePage() {
    check();
    return reason_->text().isEmpty();
}

} // namespace velora::wizard
