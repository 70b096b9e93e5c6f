#pragma once

#include "SchemeValidator.h"

#include <QList>
#include <QMap>
#include <QWizardPage>

class QFormLayout;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace velora::wizard {

class NumberField;
struct WizardState;

// The numbers of the chosen shape, checked as they are typed: the reason a number is refused
// stands beside it, and Next stays on the page while any is refused.
class NumbersPage : public QWizardPage {
    Q_OBJECT

public:
    NumbersPage(WizardState& state, QWidget* parent = nullptr);

    void initializePage() override;
    bool validatePage() override;

    // The numbers as typed.
    SchemeInput input() const;
    // Types the numbers of an answers file; returns the accounts it names that do not exist.
    QStringList apply(const SchemeInput& input);
    // The refusals shown on the page, as "field: reason" lines.
    QStringList problems() const;

private:
    NumberField* addField(const QString& name, const QString& label, const QString& placeholder);
    void loadAccounts();
    void showRowsOfShape();
    void setRateLabel();
    void check();

    WizardState& state_;
    QFormLayout* form_;
    QLabel* help_;
    QMap<QString, NumberField*> fields_;
    QMap<QString, QLabel*> labels_;
    QSpinBox* bands_;
    QTableWidget* accounts_;
    QList<int> accountRowsInInput_; // table row of each account in input().accounts
    bool checkAll_ = false;
};

} // namespace velora::wizard
