#pragma once

#include <QString>

namespace velora::db {
class Connection;
}

namespace velora::wizard {

// The rules for the new formula's name, as the main window applies them when it creates the
// formula: at most 49 characters, not empty, and not the name of a formula of the operator's
// partition. Checking here spares the supervisor a second prompt after the wizard has closed.
class FormulaName {
public:
    static constexpr int kMaxLength = 49;
    static inline const QString kTooLong = QStringLiteral(
        "The formula can only contain 50 characters. Please try creating a formula with a "
        "smaller formula name.");

    // The refusal for a name ("" when it may be used); the name is taken trimmed.
    static QString problem(const QString& name);
    // As problem, and also refused when a formula of that name exists in the partition.
    static QString problem(const QString& name, db::Connection& connection, int partitionId);
};

} // namespace velora::wizard
