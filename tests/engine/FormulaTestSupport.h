#pragma once

#include "engine/CompiledFormula.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace velora::test {

// A period source that answers a fixed value and notes each question as "period measure
// allAccounts user" in numbers: "1 2 0 jsmith" asks for this month's true lines of one account.
class FakePeriodSource : public engine::PeriodSource {
public:
    double answer = 0;
    QStringList questions;

    double periodSum(engine::Period period, engine::Measure measure, bool allAccounts,
                     const engine::RowInputs& row) override {
        questions << QString::asprintf("%d %d %d ", int(period), int(measure), int(allAccounts)) +
                         row.transId;
        return answer;
    }
};

// A value as "Type:value" so that a table can state both: "Number:9", "Single:0.1", "String:a1",
// "Boolean:true", "Date:2012-11-04", "Empty".
inline QString describe(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("Empty");
    case QMetaType::Bool:
        return QStringLiteral("Boolean:") +
               (value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    case QMetaType::Double:
        return QStringLiteral("Number:") +
               QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Float:
        return QStringLiteral("Single:") + QString::number(value.toFloat(), 'g', 7);
    case QMetaType::QString:
        return QStringLiteral("String:") + value.toString();
    case QMetaType::QDate:
        return QStringLiteral("Date:") + value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return QStringLiteral("Date:") + value.toDateTime().toString(Qt::ISODate);
    default:
        return QStringLiteral("?");
    }
}

// Compiles and runs a formula once.
struct FormulaRun {
    std::shared_ptr<const engine::CompiledFormula> formula;
    engine::FormulaMachine machine;
    engine::FormulaResults results;
    engine::FormulaError error;
    bool compiled = false;
    bool succeeded = false;

    FormulaRun(const QString& text, const engine::RowInputs& row = engine::RowInputs(),
               engine::PeriodSource* periods = nullptr) {
        formula = engine::CompiledFormula::compile(text, error);
        compiled = formula != nullptr;
        if (compiled)
            succeeded = machine.evaluate(*formula, row, periods, results, error);
    }

    QString local(const QString& name) const {
        return describe(machine.localValue(*formula, name));
    }
};

} // namespace velora::test
