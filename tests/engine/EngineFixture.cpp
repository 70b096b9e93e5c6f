#include "EngineFixture.h"

#include "db/SqlText.h"

namespace velora::test {

using db::sqlTextLiteral;

EngineFixture::EngineFixture() {
    db_.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, "
                            "partition_id) VALUES (10, 'Mercy General', 0), (20, 'St. Luke', 0)"));
    db_.exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id) "
                            "VALUES (2, 'Night Shift', 0), (3, 'Empty', 0)"));
    db_.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, trans_type, "
                            "extra3, incentive_group_id) VALUES ('ann', 'Ann', 'Lee', 1, 0, 1), "
                            "('o''brien', 'Kate', 'O''Brien', 1, 0, 2), ('josé', 'José', 'Ruiz', "
                            "1, 0, 1), ('kim', 'Kim', 'Lo', 1, 0, 3), ('admin', 'Al', 'Admin', 2, "
                            "0, 1)"));
    setPreference(QStringLiteral("INCENT_AUTO_LOCKING"), QStringLiteral("0"));
}

void EngineFixture::setPreference(const QString& key, const QString& value) {
    db_.exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, '%1', '%2'").arg(key, value));
}

int EngineFixture::setFormula(int id, const QString& text) {
    db_.exec(QStringLiteral("INSERT OR REPLACE INTO Incentive_formula (formula_id, formula_name, "
                            "formula_text, partition_id) VALUES (%1, 'F%1', %2, 0)")
                 .arg(id)
                 .arg(sqlTextLiteral(text)));
    return id;
}

void EngineFixture::assign(int groupId, int accountId, const QString& typed, const QString& hours,
                           const QString& pay) {
    db_.exec(QStringLiteral("INSERT OR REPLACE INTO Incentive_group_formula (group_id, "
                            "account_id, typed_formula_id, hours_worked_formula_id, "
                            "pay_formula_id) VALUES (%1, %2, %3, %4, %5)")
                 .arg(groupId)
                 .arg(accountId)
                 .arg(typed, hours, pay));
}

void EngineFixture::addRow(const QString& transId, int account, const QString& day, double lines,
                           double hoursSystem, double hoursTyped, int locked) {
    db_.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                            "locked, lines, lines_modified, hours_system, hours_system_modified, "
                            "hours_typed, hours_typed_modified) VALUES (%1, %2, '%3', %4, %5, "
                            "%5, %6, %6, %7, %7)")
                 .arg(sqlTextLiteral(transId))
                 .arg(account)
                 .arg(day)
                 .arg(locked)
                 .arg(lines)
                 .arg(hoursSystem)
                 .arg(hoursTyped));
}

double EngineFixture::value(const QString& column, const QString& transId, int account,
                            const QString& day) {
    return db_
        .scalar(QStringLiteral("SELECT %1 FROM Trans_incentive WHERE trans_id = %2 AND "
                               "hosp_acct_id = %3 AND shift_date = '%4'")
                    .arg(column, sqlTextLiteral(transId))
                    .arg(account)
                    .arg(day))
        .toDouble();
}

QString EngineFixture::results(const QString& transId, int account, const QString& day) {
    QStringList values;
    for (const char* column : {"incent_typed", "incent_hours_typed", "incent_pay"})
        values << QString::number(value(QLatin1String(column), transId, account, day));
    return values.join(u' ');
}

} // namespace velora::test
