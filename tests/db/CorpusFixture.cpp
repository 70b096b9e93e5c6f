#include "CorpusFixture.h"

#include "db/DbError.h"
#include "db/SqliteEngine.h"

#include <QDebug>
#include <QTest>

namespace velora::test {

namespace {

// One figure of a production row: the value as collected and the value in force.
struct Figure {
    double collected;
    double modified;
};

constexpr Figure same(double value) {
    return {value, value};
}

struct IncentiveRow {
    const char* transId; // as SQL text, quotes already doubled
    int account;
    const char* shiftDate;
    int locked;
    Figure reports, hoursTyped, chars, lines, pages, hoursSystem, hoursOther, incentHours,
        incentTyped, incentPay;
};

// clang-format off
const IncentiveRow incentiveRows[] = {
    //  user        acct  day           lock rpts        hours typed       chars             lines      pages     hours system      other    IHours   ITyped     IPay
    {"jsmith",      101, "2023-12-28", 1, same(10), same(6.5),        same(1000),       same(900),  same(20), same(7.0),        same(0), same(6), same(950),  same(95)},
    {"jsmith",      101, "2023-12-31", 1, same(4),  same(2.0),        same(400),        same(380),  same(8),  same(2.5),        same(0), same(2), same(390),  same(39)},
    {"jsmith",      101, "2024-01-02", 0, same(12), same(7.25),       {1200, 1250},     same(1100), same(24), {7.0, 7.5},       same(0), same(7), same(1150), {115.5, 120.25}},
    {"jsmith",      102, "2024-01-02", 0, same(3),  same(1.5),        same(300),        same(280),  same(6),  same(0),          same(0), same(5), same(290),  same(29)},
    {"jsmith",      102, "2024-01-10", 1, same(6),  same(3.0),        same(600),        same(550),  same(12), same(0),          same(0), same(3), same(560),  same(56)},
    {"jsmith",      101, "2024-01-24", 0, same(5),  same(4.0),        same(500),        same(480),  same(10), same(4.0),        same(0), same(4), same(490),  same(49)},
    {"jsmith",      101, "2024-01-29", 0, same(8),  {5.0, 5.5},       same(800),        same(760),  same(16), same(5.56),       same(0), same(6), same(780),  same(78)},
    {"jsmith",      102, "2024-01-30", 0, same(2),  same(1.0),        same(200),        same(190),  same(4),  same(0),          same(0), same(6), same(195),  same(19.5)},
    {"jsmith",      101, "2024-01-30", 0, same(9),  same(6.0),        same(900),        same(850),  same(18), same(6.39),       same(0), same(6), same(870),  same(87)},
    {"jsmith",      101, "2024-02-01", 0, same(11), same(7.0),        same(1100),       same(1000), same(22), same(0.83),       same(0), same(7), same(1050), same(105)},
    {"jsmith",      101, "2024-02-05", 0, same(1),  same(0.5),        same(100),        same(90),   same(2),  same(0),          same(0), same(1), same(95),   same(9.5)},
    {"O''Brien",    101, "2024-01-15", 0, same(2),  same(1.0),        same(200),        same(180),  same(4),  same(0),          same(0), same(1), same(190),  same(19)},
    {"O''Brien",    101, "2024-01-29", 0, same(5),  same(3.0),        same(500),        same(450),  same(10), same(1.0),        same(0), same(3), same(470),  same(47)},
    {"O''Brien",    102, "2024-02-01", 0, {0, 4},   same(0),          same(0),          same(0),    same(0),  same(0),          same(0), same(0), same(0),    same(0)},
    {"k.lee",       102, "2024-01-02", 0, same(7),  same(2.0),        same(700),        same(650),  same(14), same(2.0),        same(0), same(2), same(660),  same(66)},
    {"k.lee",       102, "2024-01-15", 1, same(2),  same(1.0),        same(200),        same(190),  same(4),  same(0),          same(0), same(1), same(195),  same(19.5)},
    {"k.lee",       102, "2024-02-01", 0, same(3),  same(1.5),        same(300),        same(280),  same(6),  same(0),          same(0), same(6), same(290),  same(29)},
    {"k.lee",       101, "2024-02-01", 0, same(1),  same(0.5),        same(100),        same(95),   same(2),  same(0),          same(0), same(6), same(100),  same(10)},
    {"mgone",       101, "2024-01-22", 0, same(1),  same(1.0),        same(100),        same(90),   same(2),  same(0),          same(0), same(1), same(95),   same(9.5)},
};

// Trans_activity: user, day, seconds, work type, update type, count_activity.
const char* const activityRows[] = {
    "'jsmith', '2023-12-28', 25200, 1, 9, 1",
    "'jsmith', '2023-12-31', 9000, 1, 9, 1",
    "'jsmith', '2024-01-02', 25200, 1, 9, 1",
    "'jsmith', '2024-01-02', 3600, 1, 1, 1",  // collected figure only (update type not 9)
    "'jsmith', '2024-01-02', 1800, 1, 6, 1",  // left out of both figures
    "'jsmith', '2024-01-02', 1800, 1, 9, 0",  // corrected figure only (not counted)
    "'jsmith', '2024-01-02', 900, 2, 9, 1",   // other work
    "'jsmith', '2024-01-02', 360, 2, 1, 1",   // other work, collected figure only
    "'jsmith', '2024-01-02', 1800, 2, 6, 1",  // other work, left out of both
    "'jsmith', '2024-01-24', 14400, 1, 9, 1",
    "'jsmith', '2024-01-29', 20000, 1, 9, 1",
    "'jsmith', '2024-01-30', 10000, 1, 9, 1",
    "'JSMITH ', '2024-01-30', 13000, 1, 9, 1", // the same user in another letter case
    "'jsmith', '2024-01-31', 450, 1, 9, 1",   // 0.125 hours
    "'jsmith', '2024-02-01', 1000, 1, 9, 1",  // three pieces of 0.2777... hours
    "'jsmith', '2024-02-01', 1000, 1, 9, 1",
    "'jsmith', '2024-02-01', 1000, 1, 9, 1",
    "'jsmith', '2024-02-02', 9630, 1, 9, 1",  // 2.675 hours
    "'jsmith', '2024-02-02', 7200, 2, 9, 1",
    "'O''Brien', '2024-01-30', 3600, 1, 9, 1",
    "'k.lee', '2024-01-02', 7200, 1, 9, 1",
};

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
// clang-format on

QString number(double value) {
    return QString::number(value, 'g', 15);
}

QString insertStatement(const IncentiveRow& row) {
    QString columns = QStringLiteral("trans_id, hosp_acct_id, shift_date, dept_id, locked");
    QString values = QStringLiteral("'%1', %2, '%3', 0, %4")
                         .arg(QString::fromUtf8(row.transId))
                         .arg(row.account)
                         .arg(QString::fromUtf8(row.shiftDate))
                         .arg(row.locked);
    const std::pair<const char*, Figure> figures[] = {
        {"number_rpts", row.reports},
        {"hours_typed", row.hoursTyped},
        {"chars", row.chars},
        {"lines", row.lines},
        {"pages", row.pages},
        {"hours_system", row.hoursSystem},
        {"hours_other", row.hoursOther},
        {"incent_hours_typed", row.incentHours},
        {"incent_typed", row.incentTyped},
        {"incent_pay", row.incentPay},
    };
    for (const auto& [name, figure] : figures) {
        const QString column = QString::fromUtf8(name);
        columns += QStringLiteral(", ") + column + QStringLiteral(", ") + column +
                   QStringLiteral("_modified");
        values += QStringLiteral(", ") + number(figure.collected) + QStringLiteral(", ") +
                  number(figure.modified);
    }
    return QStringLiteral("INSERT INTO Trans_incentive (") + columns +
           QStringLiteral(") VALUES (") + values + QStringLiteral(")");
}

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
        for (const IncentiveRow& row : incentiveRows)
            engine->executeNative(insertStatement(row));
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

QString quoteSql(const QString& value) {
    QString quoted = value;
    return quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
}

} // namespace velora::test
