#pragma once

#include <QWizardPage>

class QLabel;
class QLineEdit;

namespace velora::wizard {

struct WizardState;

// The new formula's name, checked as it is typed: at most 49 characters and new in the
// operator's partition. Finish hands the formula over under this name.
class NamePage : public QWizardPage {
    Q_OBJECT

public:
    NamePage(WizardState& state, QWidget* parent = nullptr);

    bool validatePage() override;
    QString name() const;
    void setName(const QString& name);
    // The reason the name is refused ("" when it may be used).
    QString problem() const;

private:
    void check();

    WizardState& state_;
    QLineEdit* name_;
    QLabel* reason_;
};

} // namespace velora::wizard
