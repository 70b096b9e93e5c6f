#include "DayChangeMask.h"

#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

namespace velora::detail {

namespace {

// A regional number read as single precision; the regional reader refuses anything else.
float cellValue(const QString& text, const suite::HXRegion& region) {
    const QString plain = region.UnWrapNumeric(text);
    bool ok = false;
    const float value = plain.toFloat(&ok);
    if (!ok)
        throw suite::SuiteError(suite::SuiteErrorNumber::TypeMismatch,
                                QStringLiteral("Type mismatch: \"%1\" is not a number.").arg(text));
    return value;
}

} // namespace

bool DayChangeMask::saveable(const DayRecord& record) {
    return !record.TransID.isEmpty() && record.Editable && record.ShiftDate.isValid() &&
           record.ShiftDate > QDate(1900, 1, 1);
}

QString DayChangeMask::fixed(float value) {
    const QString text = QString::number(static_cast<double>(value), 'f', 2);
    // A small negative value rounds to zero; it is no change from zero.
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

int DayChangeMask::of(const DayRecord& record, const DayCellTexts& cells,
                      const suite::HXRegion& region) {
    if (!saveable(record))
        return 0;
    int mask = 0;
    for (std::size_t i = 0; i < kValueKinds.size(); ++i) {
        const QString shown = fixed(cellValue(cells[i], region));
        if (shown != fixed(record.values[i].current))
            mask |= bit(kValueKinds[i]);
    }
    return mask;
}

} // namespace velora::detail
