#pragma once

#include <QString>
#include <QVariant>

namespace velora::db {

// One named parameter of a stored-procedure call, as a command object would append it.
struct ProcedureParameter {
    enum class Type { Integer, VarChar };
    enum class Direction { Input, Output };

    QString name; // with its "@"
    Type type = Type::Integer;
    Direction direction = Direction::Input;
    int size = 0;
    QVariant value; // input value; receives the result for an output parameter
};

using ProcedureParameters = QList<ProcedureParameter>;

} // namespace velora::db
