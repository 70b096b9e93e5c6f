#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velora::formulas {

class FormulaTextEdit;

// The controls of the formula pane (picFormula): the formula's name and effective date, its
// text, the save and revert buttons, and the tester with the inputs the last test read. The
// formula's editing and the tester decide what the controls show.
class FormulaPane : public QWidget {
    Q_OBJECT

public:
    explicit FormulaPane(QWidget* parent = nullptr);

    QLabel* lblFormulaFormulaName() const { return formulaName_; }
    QLabel* lblFormulaEffectiveDate() const { return effectiveDate_; }
    FormulaTextEdit* txtFormulaText() const { return text_; }
    QPushButton* cmdFormulaSaveChanges() const { return save_; }
    QPushButton* cmdFormulaRevertChanges() const { return revert_; }
    QComboBox* cmbFormulaTransID() const { return transID_; }
    QComboBox* cmbFormulaAccountID() const { return accountID_; }
    QLineEdit* txtFormulaShiftDate() const { return shiftDate_; }
    QPushButton* cmdFormulaTestFormula() const { return test_; }
    // The inputs of the day that the last successful test read, name and value per row.
    QTableWidget* tblFormulaInputs() const { return inputs_; }

Q_SIGNALS:
    // The date field lost the focus (the tester checks and reformats it then).
    void shiftDateLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label(const char* name, const QString& text);
    QPushButton* button(const char* name, const QString& text);
    QComboBox* list(const char* name);
    QGroupBox* buildTester();

    QLabel* formulaName_;
    QLabel* effectiveDate_;
    FormulaTextEdit* text_;
    QPushButton* save_;
    QPushButton* revert_;
    QComboBox* transID_;
    QComboBox* accountID_;
    QLineEdit* shiftDate_;
    QPushButton* test_;
    QTableWidget* inputs_;
};

} // namespace velora::formulas
