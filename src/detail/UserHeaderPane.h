#pragma once

#include <QWidget>

class QComboBox;
class QLabel;

namespace velora::detail {

// The user header's controls (inside picUserHeader): the user's name, the group the user belongs
// to and the date from which that membership applies. It only lays them out; UserHeaderLoader
// fills them and UserGroupAssignment saves a new pick.
class UserHeaderPane : public QWidget {
    Q_OBJECT

public:
    explicit UserHeaderPane(QWidget* parent = nullptr);

    QLabel* lblUserHeaderUserName() const { return userName_; }
    QComboBox* cmbUserHeaderGroupName() const { return groupName_; }
    QLabel* lblUserHeaderEffectiveDate() const { return effectiveDate_; }

private:
    QLabel* label(const char* name, const QString& text);

    QLabel* userName_;
    QComboBox* groupName_;
    QLabel* effectiveDate_;
};

} // namespace velora::detail
