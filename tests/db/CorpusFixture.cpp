#include "CorpusFixture.h"

#include "db/DbError.h"
#include "db/SqliteEngine.h"

#include <QDebug>
#include <QTest>

namespace velora::test {

namespace {

// Trans_incentive as collected: user, account, day, locked, reports, hours typed, char lines,
// true lines, pages, system hours, other hours, IHours, ITyped, IPay. The figures in force (the
// *_modified columns) start equal to them; the corrections then change a few.
const char* const incentiveRows[] = {
    "'jsmith', 101, '2023-12-28', 1, 10, 6.5, 1000, 900, 20, 7.0, 0, 6, 950, 95",
    "'jsmith', 101, '2023-12-31', 1, 4, 2.0, 400, 380, 8, 2.5, 0, 2, 390, 39",
    "'jsmith', 101, '2024-01-02', 0, 12, 7.25, 1200, 1100, 24, 7.0, 0, 7, 1150, 115.5",
    "'jsmith', 102, '2024-01-02', 0, 3, 1.5, 300, 280, 6, 0, 0, 5, 290, 29",
    "'jsmith', 102, '2024-01-10', 1, 6, 3.0, 600, 550, 12, 0, 0, 3, 560, 56",
    "'jsmith', 101, '2024-01-24', 0, 5, 4.0, 500, 480, 10, 4.0, 0, 4, 490, 49",
    "'jsmith', 101, '2024-01-29', 0, 8, 5.0, 800, 760, 16, 5.56, 0, 6, 780, 78",
    "'jsmith', 102, '2024-01-30', 0, 2, 1.0, 200, 190, 4, 0, 0, 6, 195, 19.5",
    "'jsmith', 101, '2024-01-30', 0, 9, 6.0, 900, 850, 18, 6.39, 0, 6, 870, 87",
    "'jsmith', 101, '2024-02-01', 0, 11, 7.0, 1100, 1000, 22, 0.83, 0, 7, 1050, 105",
    "'jsmith', 101, '2024-02-05', 0, 1, 0.5, 100, 90, 2, 0, 0, 1, 95, 9.5",
    "'O''Brien', 101, '2024-01-15', 0, 2, 1.0, 200, 180, 4, 0, 0, 1, 190, 19",
    "'O''Brien', 101, '2024-01-29', 0, 5, 3.0, 500, 450, 10, 1.0, 0, 3, 470, 47",
    "'O''Brien', 102, '2024-02-01', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0",
    "'k.lee', 102, '2024-01-02', 0, 7, 2.0, 700, 650, 14, 2.0, 0, 2, 660, 66",
    "'k.lee', 102, '2024-01-15', 1, 2, 1.0, 200, 190, 4, 0, 0, 1, 195, 19.5",
    "'k.lee', 102, '2024-02-01', 0, 3, 1.5, 300, 280, 6, 0, 0, 6, 290, 29",
    "'k.lee', 101, '2024-02-01', 0, 1, 0.5, 100, 95, 2, 0, 0, 6, 100, 10",
    "'mgone', 101, '2024-01-22', 0, 1, 1.0, 100, 90, 2, 0, 0, 1, 95, 9.5",
};

const char* const corrections[] = {
    "chars_modified = 1250, hours_system_modified = 7.5, incent_pay_modified = 120.25"
    " WHERE trans_id = 'jsmith' AND hosp_acct_id = 101 AND shift_date = '2024-01-02'",
    "hours_typed_modified = 5.5"
    " WHERE trans_id = 'jsmith' AND hosp_acct_id = 101 AND shift_date = '2024-01-29'",
    "number_rpts_modified = 4"
    " WHERE trans_id = 'O''Brien' AND hosp_acct_id = 102 AND shift_date = '2024-02-01'",
};

// Trans_activity: user, day, seconds, work type, update type, count_activity.
// clang-format off
const char* const activityRows[] = {
    "'jsmith', '2023-12-28', 25200, 1, 9, 1",
    "'jsmith', '2023-12-31', 9000, 1, 9, 1",
    "'jsmith', '2024-01-02', 25200, 1, 9, 1",
    "'jsmith', '2024-01-02', 3600, 1, 1, 1",   // collected figure only (update type not 9)
    "'jsmith', '2024-01-02', 1800, 1, 6, 1",   // left out of both figures
    "'jsmith', '2024-01-02', 1800, 1, 9, 0",   // corrected figure only (not counted)
    "'jsmith', '2024-01-02', 900, 2, 9, 1",    // other work
    "'jsmith', '2024-01-02', 360, 2, 1, 1",    // other work, collected figure only
    "'jsmith', '2024-01-02', 1800, 2, 6, 1",   // other work, left out of both
    "'jsmith', '2024-01-24', 14400, 1, 9, 1",
    "'jsmith', '2024-01-29', 20000, 1, 9, 1",
    "'jsmith', '2024-01-30', 10000, 1, 9, 1",
    "'JSMITH ', '2024-01-30', 13000, 1, 9, 1", // the same user in another letter case
    "'jsmith', '2024-01-31', 450, 1, 9, 1",    // 0.125 hours
    "'jsmith', '2024-02-01', 1000, 1, 9, 1",   // three pieces of 0.2777... hours
    "'jsmith', '2024-02-01', 1000, 1, 9, 1",
    "'jsmith', '2024-02-01', 1000, 1, 9, 1",
    "'jsmith', '2024-02-02', 9630, 1, 9, 1",   // 2.675 hours
    "'jsmith', '2024-02-02', 7200, 2, 9, 1",
    "'O''Brien', '2024-01-30', 3600, 1, 9, 1",
    "'k.lee', '2024-01-02', 7200, 1, 9, 1",
};
// clang-format on

const char* const catalogueRows[] = {
    "INSERT INTO System_partitions (partition_id, parent_id, partition_name, partition_description,"
    " delete_date) VALUES"
    " (1, 0, 'North', 'Northern region', NULL),"
    " (2, 0, 'South', 'Southern region', NULL),"
    " (3, 1, 'North East', 'North-east offices', NULL),"
    " (4, 1, 'North West', 'Closed office', '2023-06-01'),"
    " (5, 3, 'Far North East', NULL, NULL)",

    "INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, hosp_acct_description, is_deleted,"
    " partition_id) VALUES"
    " (0, 'Unassigned', 'No account', 0, 0),"
    " (101, 'Mercy Hospital', 'Mercy Hospital, radiology', 0, 1),"
    " (102, 'St. Luke''s Clinic', 'Clinic', 0, 3),"
    " (103, 'Harbor Radiology', 'Closed', 1, 2),"
    " (104, 'county general', 'County General Hospital', 0, 2)",

    "INSERT INTO Trans_info (trans_id, first_name, last_name, is_deleted, trans_type, extra3,"
    " incentive_group_id, incentive_effective_date) VALUES"
    " ('jsmith', 'Ann', 'Smith', 0, 1, 1, 2, '2024-01-01'),"
    " ('O''Brien', 'Pat', 'O''Brien', 0, 1, 1, 2, '2024-01-01'),"
    " ('k.lee', 'Kim  ', 'lee   ', 0, 1, 3, 3, '2024-02-01'),"
    " ('mgone', 'Max', 'Gone', 1, 1, 2, 1, '2023-01-01'),"
    " ('sboss', 'Sue', 'Boss', 0, 2, 0, 1, '2023-01-01'),"
    " ('tnull', NULL, 'Null', 0, 1, NULL, 99, NULL)",

    "INSERT INTO Incentive_formula (formula_id, formula_name, formula_text, partition_id,"
    " incentive_effective_date) VALUES"
    " (2, 'Line Rate', 'Results.IPay = Lines * 0.1', 0, '2024-01-01'),"
    " (3, 'Hourly Bonus', 'Results.IPay = ITypedLines * 0.02', 1, '2024-01-01'),"
    " (4, 'accuracy tier', 'Results.IPay = 0', 1, '2023-06-01')",

    "UPDATE Incentive_group SET incentive_effective_date = '2023-01-01' WHERE group_id = 1",
    "INSERT INTO Incentive_group (group_id, group_name, partition_id, incentive_effective_date,"
    " flag1) VALUES"
    " (2, 'Day Shift', 1, '2024-01-01', 1),"
    " (3, 'night shift', 3, '2024-02-01', 0),"
    " (4, 'Empty Group', 2, '2024-01-01', 0)",

    "INSERT INTO Incentive_group_formula (group_id, account_id, typed_formula_id,"
    " hours_worked_formula_id, pay_formula_id) VALUES"
    " (2, -1, 1, 1, 2),"
    " (2, 101, 3, 1, 2),"
    " (3, 102, 1, 1, 3),"
    " (3, -3, 1, 1, 1),"
    " (4, 104, 1, 1, 1)",
};

QString valueText(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 12);
    return value.toString();
}

QString errorText(const db::DbError& e) {
    return QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description());
}

} // namespace

CorpusFixture::CorpusFixture(const QString& regionalDateFormat)
    : database_(regionalDateFormat) {
    insertRows();
}

void CorpusFixture::insertRows() {
    auto* engine = dynamic_cast<db::SqliteEngine*>(connection().engine());
    QVERIFY(engine);
    try {
        for (const char* statement : catalogueRows)
            engine->executeNative(QString::fromUtf8(statement));
        for (const char* values : incentiveRows)
            engine->executeNative(
                QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id,"
                               " shift_date, locked, number_rpts, hours_typed, chars,"
                               " lines, pages, hours_system, hours_other,"
                               " incent_hours_typed, incent_typed, incent_pay, dept_id)"
                               " VALUES (") +
                QString::fromUtf8(values) + QStringLiteral(", 0)"));
        engine->executeNative(QStringLiteral(
            "UPDATE Trans_incentive SET number_rpts_modified = number_rpts, hours_typed_modified ="
            " hours_typed, chars_modified = chars, lines_modified = lines, pages_modified = pages,"
            " hours_system_modified = hours_system, hours_other_modified = hours_other,"
            " incent_hours_typed_modified = incent_hours_typed, incent_typed_modified ="
            " incent_typed, incent_pay_modified = incent_pay"));
        for (const char* correction : corrections)
            engine->executeNative(QStringLiteral("UPDATE Trans_incentive SET ") +
                                  QString::fromUtf8(correction));
        for (const char* values : activityRows)
            engine->executeNative(QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date,"
                                                 " activity_time, work_type, update_type,"
                                                 " count_activity) VALUES (") +
                                  QString::fromUtf8(values) + QStringLiteral(")"));
    } catch (const db::DbError& e) {
        QFAIL(qPrintable(QStringLiteral("fixture rows: ") + e.description()));
    }
}

QStringList CorpusFixture::rows(const QString& statement, const QStringList& columns) {
    QStringList texts;
    try {
        db::Recordset rows = connection().openRecordset(statement);
        const QStringList& read = columns.isEmpty() ? rows.columnNames() : columns;
        for (; !rows.eof(); rows.moveNext()) {
            QStringList fields;
            for (const QString& column : read)
                fields.append(valueText(rows.value(column)));
            texts.append(fields.join(QLatin1Char('|')));
        }
    } catch (const db::DbError& e) {
        return {errorText(e)};
    }
    return texts;
}

int CorpusFixture::execute(const QString& statement) {
    try {
        return connection().execute(statement);
    } catch (const db::DbError& e) {
        qWarning().noquote() << statement << "\n   failed:" << errorText(e);
        return -1;
    }
}

void addCorpusColumns() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<Writes>("writes");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");
}

void corpusRow(const QByteArray& name, const QString& query, const QStringList& expected,
               const Writes& writes, const QString& regionalDateFormat) {
    QTest::newRow(name.constData()) << regionalDateFormat << writes << query << expected;
}

void runCorpusRow() {
    QFETCH(QString, format);
    QFETCH(Writes, writes);
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    CorpusFixture fx(format);
    for (const Write& write : writes)
        QCOMPARE(fx.execute(write.statement), write.changes);
    QStringList actual = fx.rows(query);
    if (!query.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive)) {
        actual.sort();
        expected.sort();
    }
    QCOMPARE(actual, expected);
}

} // namespace velora::test
