#pragma once

#include <QWidget>

class QComboBox;
class QGridLayout;
class QLabel;

namespace velora::groups {

// The controls of the group-account pane (picAccount): the group's and the account's names, the
// group's effective date and the pay formula list. The lines-typed and hours-worked lists stay
// hidden and empty; GroupAccount decides what the controls show.
class GroupAccountPane : public QWidget {
    Q_OBJECT

public:
    explicit GroupAccountPane(QWidget* parent = nullptr);

    QLabel* lblGroupAccountGroupName() const { return groupName_; }
    QLabel* lblGroupAccountAccountName() const { return accountName_; }
    QLabel* lblGroupAccountEffectiveDate() const { return effectiveDate_; }
    QComboBox* cmbAccountPayFormula() const { return payFormula_; }

private:
    QLabel* label(const char* name, const QString& text);
    QComboBox* list(const char* name);
    void addHiddenRow(const char* labelName, const QString& text, const char* listName);

    QLabel* groupName_;
    QLabel* accountName_;
    QLabel* effectiveDate_;
    QComboBox* payFormula_;
    QGridLayout* grid_ = nullptr;
};

} // namespace velora::groups
