#pragma once

#include <QDate>
#include <QWizardPage>

class QComboBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QTimer;

namespace velora::wizard {

struct WizardState;

// The formula the answers give, editable, compiled by the engine as it changes (the error and
// its line shown and marked), its three results for a user, account and day of the database,
// and the user's pay for the last full week under it beside the pay stored now.
class PreviewPage : public QWizardPage {
    Q_OBJECT

public:
    PreviewPage(WizardState& state, QWidget* parent = nullptr);

    void initializePage() override;
    bool validatePage() override;

    QString formulaText() const;
    void setFormulaText(const QString& text);
    // Compiles and evaluates now (edits are otherwise taken up after a short pause).
    void refresh();
    // The reason the formula cannot be used ("" when it can).
    QString problem() const;
    // The day the last full week is counted back from (today unless a test sets it).
    void setToday(const QDate& today) { today_ = today; }

private:
    void loadUsers();
    void userChosen();
    void showCompileResult();
    void showDayResults();
    void showWeek();
    QString money(double value) const;

    WizardState& state_;
    QPlainTextEdit* text_;
    QLabel* status_;
    QComboBox* users_;
    QComboBox* accounts_;
    QDateEdit* day_;
    QLabel* hours_;
    QLabel* lines_;
    QLabel* pay_;
    QLabel* weekCaption_;
    QTableWidget* week_;
    QTimer* pause_;
    QString lastGenerated_;
    QString problem_;
    QDate today_ = QDate::currentDate();
};

} // namespace velora::wizard
