#include "common/TestMain.h"
#include "db/DbError.h"
#include "db/TsqlLexer.h"
#include "db/TsqlTranslator.h"

#include <QTest>
#include <sqlite3.h>

using velora::db::DbError;
using velora::db::TranslatedStatement;
using velora::db::TsqlLexer;
using velora::db::TsqlTranslator;
namespace ErrorNumber = velora::db::ErrorNumber;

namespace {

// The account-summary totals statement for one week, built from its fragments as the
// program builds it (user, first and last day spliced in).
QString weekTotalsStatement(const QString& user, const QString& first, const QString& last) {
    const QString f1 = "and shift_date between '" + first + "' And '" + last + "' and ";
    const QString f2 = "FROM Trans_activity TA1 WHERE TA1.shift_date Between '" + first +
                       "' And '" + last + "' AND TA1.trans_id = '" + user;
    const QString f3 = "' and shift_date between '" + first + "' And '" + last + "'";
    return "SELECT TOTAL_IHOURS_TYPED = (select sum(incent_hours_typed_modified) from "
           "Trans_incentive T1 where trans_id = '" +
           user + "' " + f1 +
           "incent_hours_typed_modified = (SELECT MAX(incent_hours_typed_modified) FROM "
           "Trans_incentive T2 WHERE T2.trans_id = T1.trans_id AND T2.shift_date = "
           "T1.shift_date) "
           "and NOT exists (SELECT * FROM Trans_incentive T3 WHERE T1.incent_hours_typed_modified "
           "= T3.incent_hours_typed_modified AND T1.trans_id = T3.trans_id AND "
           "T1.shift_date = T3.shift_date AND T1.hosp_acct_id > T3.hosp_acct_id)), "
           "sum(incent_hours_typed_modified) as SUM_IHOURS_TYPED, ISNULL((SELECT "
           "CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) " +
           f2 +
           "' AND "
           "TA1.work_type = 1 AND TA1.update_type = 9),0) AS TOTAL_HOURS, "
           "Sum(number_rpts_modified) AS TOTAL_REPORTS, Sum(chars_modified) AS TOTAL_CHARS, "
           "Sum(lines_modified) AS TOTAL_LINES, Sum(pages_modified) AS TOTAL_PAGES, "
           "Sum(incent_typed_modified) AS TOTAL_ITYPED, Sum(incent_pay_modified) As TOTAL_IPAY "
           "From Trans_incentive where trans_id = '" +
           user + f3;
}

// An in-memory SQLite database with small stand-ins for the functions that translated
// statements call, so that the translation is proven to run and to mean the right thing.
class MemoryDatabase {
public:
    MemoryDatabase() {
        sqlite3_open(":memory:", &db_);
        sqlite3_create_function_v2(db_, "vl_add", 2, SQLITE_UTF8, nullptr, add, nullptr, nullptr,
                                   nullptr);
        sqlite3_create_function_v2(db_, "Month", 1, SQLITE_UTF8, reinterpret_cast<void*>(5),
                                   datePart, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db_, "Year", 1, SQLITE_UTF8, reinterpret_cast<void*>(0),
                                   datePart, nullptr, nullptr, nullptr);
    }
    ~MemoryDatabase() { sqlite3_close(db_); }
    MemoryDatabase(const MemoryDatabase&) = delete;
    MemoryDatabase& operator=(const MemoryDatabase&) = delete;

    // Runs SQLite text; returns the first row as "column=value" pairs joined by "; ".
    QString run(const QString& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            return "prepare failed: " + QString::fromUtf8(sqlite3_errmsg(db_));
        QStringList values;
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const char* value =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                values << QString::fromUtf8(sqlite3_column_name(statement, i)) + "=" +
                              (value ? QString::fromUtf8(value) : QStringLiteral("NULL"));
            }
        } else if (rc != SQLITE_DONE) {
            values << "step failed: " + QString::fromUtf8(sqlite3_errmsg(db_));
        }
        sqlite3_finalize(statement);
        return values.join("; ");
    }

private:
    static void add(sqlite3_context* context, int, sqlite3_value** argv) {
        const int a = sqlite3_value_type(argv[0]);
        const int b = sqlite3_value_type(argv[1]);
        if (a == SQLITE_NULL || b == SQLITE_NULL) {
            sqlite3_result_null(context);
        } else if (a == SQLITE_TEXT && b == SQLITE_TEXT) {
            const QByteArray joined =
                QByteArray(reinterpret_cast<const char*>(sqlite3_value_text(argv[0]))) +
                reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
            sqlite3_result_text(context, joined.constData(), static_cast<int>(joined.size()),
                                SQLITE_TRANSIENT);
        } else if (a == SQLITE_INTEGER && b == SQLITE_INTEGER) {
            sqlite3_result_int64(context,
                                 sqlite3_value_int64(argv[0]) + sqlite3_value_int64(argv[1]));
        } else {
            sqlite3_result_double(context,
                                  sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
        }
    }
    // Month ("YYYY-MM-DD" from offset 5) and Year (from offset 0).
    static void datePart(sqlite3_context* context, int, sqlite3_value** argv) {
        const auto offset = reinterpret_cast<qintptr>(sqlite3_user_data(context));
        const QString date =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
        sqlite3_result_int(context, date.mid(offset, offset == 0 ? 4 : 2).toInt());
    }

    sqlite3* db_ = nullptr;
};

QString describe(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Int:
        return value.toString();
    case QMetaType::LongLong:
        return value.toString() + "L";
    case QMetaType::Double:
        return value.toString() + "D";
    default:
        return "'" + value.toString() + "'";
    }
}

// "procedure(arg, @name=arg, @out OUTPUT)"
QString describe(const TranslatedStatement& statement) {
    QStringList arguments;
    for (const auto& argument : statement.arguments) {
        QString text = argument.name.isEmpty() ? QString() : argument.name + "=";
        text += argument.isOutput ? QStringLiteral("OUTPUT") : describe(argument.value);
        arguments << text;
    }
    return statement.procedure + "(" + arguments.join(", ") + ")";
}

} // namespace

class TestTsqlTranslator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lexer_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("names and operators")
            << "SELECT t.a,[my col] FROM t WHERE a<>1 AND b!=2 AND c<=3 AND d>=.5"
            << "SELECT|t|.|a|,|[my col]|FROM|t|WHERE|a|<>|1|AND|b|!=|2|AND|c|<=|3|AND|d|>=|.5";
        QTest::newRow("strings") << "'it''s' N'x' 'a''b''' ''"
                                 << "'it''s'|N'x'|'a''b'''|''";
        QTest::newRow("comments") << "a -- rest of line\n+/* one /* nested */ */b"
                                  << "a|+|b";
        QTest::newRow("variables and numbers") << "@p=@@rowcount*1.5e3%2"
                                               << "@p|=|@@rowcount|*|1.5e3|%|2";
        QTest::newRow("string next to a word") << "'x'WHERE"
                                               << "'x'|WHERE";
    }
    void lexer() {
        QFETCH(QString, statement);
        QFETCH(QString, tokens);
        QStringList texts;
        for (const auto& token : TsqlLexer::tokenize(statement))
            texts << token.text;
        QCOMPARE(texts.join('|'), tokens);
    }

    void lexerKeepsPositionsAndSpacing() {
        const auto tokens = TsqlLexer::tokenize("a/**/+ N'b'");
        QCOMPARE(tokens.size(), size_t(3));
        QCOMPARE(tokens[1].position, 5);
        QVERIFY(tokens[1].spaceBefore);
        QCOMPARE(tokens[2].position, 7);
        QCOMPARE(tokens[2].stringValue(), QStringLiteral("b"));
        QVERIFY(!tokens[0].spaceBefore);
    }

    void translation_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");

        // "+" and precedence
        QTest::newRow("text plus text") << "SELECT 'a' + 'b'"
                                        << "SELECT vl_add('a', 'b')";
        QTest::newRow("left-associative") << "SELECT a - b + c FROM t"
                                          << "SELECT vl_add(a - b, c) FROM t";
        QTest::newRow("multiplication binds tighter")
            << "SELECT 2*3+1, a + b * c, a + b % c"
            << "SELECT vl_add(2*3, 1), vl_add(a, b * c), vl_add(a, b % c)";
        QTest::newRow("parentheses") << "SELECT (a + b) * c"
                                     << "SELECT (vl_add(a, b)) * c";
        QTest::newRow("unary signs untouched")
            << "SELECT -a + b, a - -1 FROM t WHERE x > - 1"
            << "SELECT vl_add(-a, b), a - -1 FROM t WHERE x > - 1";
        QTest::newRow("sub-select operand") << "SELECT x + (SELECT MAX(y) FROM t) FROM u"
                                            << "SELECT vl_add(x, (SELECT MAX(y) FROM t)) FROM u";
        QTest::newRow("CASE operand") << "SELECT CASE WHEN a = 1 THEN 'x' END + 'z' FROM t"
                                      << "SELECT vl_add(CASE WHEN a = 1 THEN 'x' END, 'z') FROM t";
        QTest::newRow("bitwise keeps T-SQL grouping") << "SELECT a & b + c"
                                                      << "SELECT vl_add((a & b), c)";
        QTest::newRow("user list")
            << "SELECT ti.trans_id, RTRIM(ti.last_name) + ', ' + RTRIM(ti.first_name) AS "
               "full_name, ti.is_deleted, ti.extra3 AS partition_id, ig.group_id FROM Trans_info "
               "AS ti LEFT OUTER JOIN Incentive_group AS ig ON ti.incentive_group_id = "
               "ig.group_id WHERE (ti.trans_type = 1) ORDER BY ti.last_name"
            << "SELECT ti.trans_id, vl_add(vl_add(RTRIM(ti.last_name), ', '), "
               "RTRIM(ti.first_name)) AS full_name, ti.is_deleted, ti.extra3 AS partition_id, "
               "ig.group_id FROM Trans_info AS ti LEFT OUTER JOIN Incentive_group AS ig ON "
               "ti.incentive_group_id = ig.group_id WHERE (ti.trans_type = 1) ORDER BY "
               "ti.last_name";

        // functions
        QTest::newRow("ISNULL") << "SELECT ISNULL((SELECT MAX(shift_date) FROM trans_incentive "
                                   "WHERE locked=1), '1980-01-01')"
                                << "SELECT ifnull((SELECT MAX(shift_date) FROM trans_incentive "
                                   "WHERE locked=1), '1980-01-01')";
        QTest::newRow("CONVERT decimal")
            << "SELECT ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM "
               "Trans_activity TA1 WHERE TA1.trans_id = 'bob'),0) AS TOTAL_HOURS"
            << "SELECT ifnull((SELECT round(CAST(SUM(activity_time) / 3600.0 AS REAL), 2) FROM "
               "Trans_activity TA1 WHERE TA1.trans_id = 'bob'),0) AS TOTAL_HOURS";
        QTest::newRow("CONVERT other targets")
            << "SELECT CONVERT(numeric, x), CONVERT(varchar(5), y), CONVERT(int, z), "
               "CONVERT(datetime, '1/5/2024'), CAST(w AS decimal(9,1))"
            << "SELECT round(CAST(x AS REAL), 0), substr(CAST(y AS TEXT), 1, 5), CAST(z AS "
               "INTEGER), '2024-01-05', round(CAST(w AS REAL), 1)";
        QTest::newRow("Month and Year")
            << "SELECT x FROM Trans_incentive WHERE ((Month(Trans_incentive.shift_date)) = 1) "
               "AND ((Year(Trans_incentive.shift_date) = 2024))"
            << "SELECT x FROM Trans_incentive WHERE ((Month(Trans_incentive.shift_date)) = 1) "
               "AND ((Year(Trans_incentive.shift_date) = 2024))";

        // select-list aliases
        QTest::newRow("alias = expression")
            << "SELECT total = SUM(x), [n] = 1 FROM t WHERE a = b"
            << "SELECT SUM(x) AS total, 1 AS [n] FROM t WHERE a = b";
        QTest::newRow("alias in a sub-select")
            << "SELECT a FROM t WHERE b IN (SELECT c = d FROM u WHERE e = f)"
            << "SELECT a FROM t WHERE b IN (SELECT d AS c FROM u WHERE e = f)";
        QTest::newRow("alias of a date column is no comparison")
            << "SELECT shift_date = '01/15/2024' FROM t"
            << "SELECT '01/15/2024' AS shift_date FROM t";
        QTest::newRow("account summary totals, week")
            << weekTotalsStatement("bob", "01/14/2024", "01/20/2024")
            << "SELECT (select sum(incent_hours_typed_modified) from Trans_incentive T1 where "
               "trans_id = 'bob' and shift_date between '2024-01-14' And '2024-01-20' and "
               "incent_hours_typed_modified = (SELECT MAX(incent_hours_typed_modified) FROM "
               "Trans_incentive T2 WHERE T2.trans_id = T1.trans_id AND T2.shift_date = "
               "T1.shift_date) and NOT exists (SELECT * FROM Trans_incentive T3 WHERE "
               "T1.incent_hours_typed_modified = T3.incent_hours_typed_modified AND T1.trans_id "
               "= T3.trans_id AND T1.shift_date = T3.shift_date AND T1.hosp_acct_id > "
               "T3.hosp_acct_id)) AS TOTAL_IHOURS_TYPED, sum(incent_hours_typed_modified) as "
               "SUM_IHOURS_TYPED, ifnull((SELECT round(CAST(SUM(activity_time) / 3600.0 AS "
               "REAL), 2) FROM Trans_activity TA1 WHERE TA1.shift_date Between '2024-01-14' And "
               "'2024-01-20' AND TA1.trans_id = 'bob' AND TA1.work_type = 1 AND TA1.update_type "
               "= 9),0) AS TOTAL_HOURS, Sum(number_rpts_modified) AS TOTAL_REPORTS, "
               "Sum(chars_modified) AS TOTAL_CHARS, Sum(lines_modified) AS TOTAL_LINES, "
               "Sum(pages_modified) AS TOTAL_PAGES, Sum(incent_typed_modified) AS TOTAL_ITYPED, "
               "Sum(incent_pay_modified) As TOTAL_IPAY From Trans_incentive where trans_id = "
               "'bob' and shift_date between '2024-01-14' And '2024-01-20'";

        // date literals meeting date columns
        QTest::newRow("effective date of a group")
            << "UPDATE Incentive_group SET incentive_effective_date = '01/15/2024'WHERE "
               "group_id = 3"
            << "UPDATE Incentive_group SET incentive_effective_date = '2024-01-15'WHERE "
               "group_id = 3";
        QTest::newRow("SET list, time dropped")
            << "UPDATE Trans_info SET incentive_group_id = 4, incentive_effective_date = "
               "'2024-01-15 13:45:00' WHERE trans_id = 'bob'"
            << "UPDATE Trans_info SET incentive_group_id = 4, incentive_effective_date = "
               "'2024-01-15' WHERE trans_id = 'bob'";
        QTest::newRow("parenthesised BETWEEN")
            << "SELECT x FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='bob') AND "
               "((Trans_incentive.shift_date) Between '1/14/2024' And '01/20/2024'));"
            << "SELECT x FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='bob') AND "
               "((Trans_incentive.shift_date) Between '2024-01-14' And '2024-01-20'))";
        QTest::newRow("literal on the left, NOT BETWEEN, IN")
            << "SELECT a FROM t WHERE '01/02/2024' < TA1.shift_date AND delete_date NOT BETWEEN "
               "'1/1/2024' AND '2024-02-01' AND shift_date IN ('01/15/2024', '2024-01-16')"
            << "SELECT a FROM t WHERE '2024-01-02' < TA1.shift_date AND delete_date NOT BETWEEN "
               "'2024-01-01' AND '2024-02-01' AND shift_date IN ('2024-01-15', '2024-01-16')";
        QTest::newRow("INSERT values by column")
            << "INSERT INTO trans_incentive (number_rpts_modified, trans_id, hosp_acct_id, "
               "shift_date, dept_id) VALUES(1, '01/15/2024', 7, '01/15/2024', 0)"
            << "INSERT INTO trans_incentive (number_rpts_modified, trans_id, hosp_acct_id, "
               "shift_date, dept_id) VALUES(1, '01/15/2024', 7, '2024-01-15', 0)";
        QTest::newRow("blank date is the base date")
            << "SELECT a FROM t WHERE shift_date > ''"
            << "SELECT a FROM t WHERE shift_date > '1900-01-01'";
        QTest::newRow("literals elsewhere untouched")
            << "UPDATE Incentive_formula SET FORMULA_TEXT = '01/15/2024' WHERE formula_name = "
               "'ISNULL(a) + 1' AND Month(shift_date) = '1/1/2024' AND shift_date + 1 = '1/2/2024'"
            << "UPDATE Incentive_formula SET FORMULA_TEXT = '01/15/2024' WHERE formula_name = "
               "'ISNULL(a) + 1' AND Month(shift_date) = '1/1/2024' AND vl_add(shift_date, 1) = "
               "'1/2/2024'";

        // lexical details
        QTest::newRow("national strings, comments, brackets")
            << "SELECT N'abc' + [my col] /* note */ FROM t -- end"
            << "SELECT vl_add('abc', [my col]) FROM t";
        QTest::newRow("bracket with a closing bracket inside") << "SELECT [a]]b] FROM t"
                                                               << "SELECT \"a]b\" FROM t";
        QTest::newRow("tokens kept apart") << "SELECT 1AS x, 'a'N'b'"
                                           << "SELECT 1 AS x, 'a' 'b'";
        QTest::newRow("trailing semicolons") << "SELECT 1;;"
                                             << "SELECT 1";
        QTest::newRow("not-less-than") << "SELECT a FROM t WHERE a !< 2"
                                       << "SELECT a FROM t WHERE a >= 2";
    }
    void translation() {
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        const TranslatedStatement translated = TsqlTranslator().translate(statement);
        QCOMPARE(translated.kind, TranslatedStatement::Kind::Sql);
        QCOMPARE(translated.sql, expected);
    }

    void normaliseDate_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("literal");
        QTest::addColumn<QString>("expected");
        const QString us = QStringLiteral("MM/dd/yyyy");
        const QString de = QStringLiteral("dd.MM.yyyy");
        QTest::newRow("iso") << us << "2024-01-15"
                             << "2024-01-15";
        QTest::newRow("iso one digit") << us << "2024-1-5"
                                       << "2024-01-05";
        QTest::newRow("iso with time") << us << "2024-01-15 23:59:59.997"
                                       << "2024-01-15";
        QTest::newRow("iso T time") << us << "2024-01-15T10:00"
                                    << "2024-01-15";
        QTest::newRow("unseparated") << us << "20240115"
                                     << "2024-01-15";
        QTest::newRow("regional") << us << "01/15/2024"
                                  << "2024-01-15";
        QTest::newRow("regional one digit") << us << "1/5/2024"
                                            << "2024-01-05";
        QTest::newRow("regional with time") << us << "1/5/2024 11:00 PM"
                                            << "2024-01-05";
        QTest::newRow("padded") << us << " 01/15/2024 "
                                << "2024-01-15";
        QTest::newRow("day first") << de << "15.01.2024"
                                   << "2024-01-15";
        QTest::newRow("day first one digit") << de << "5.1.2024"
                                             << "2024-01-05";
        QTest::newRow("two-digit year") << de << "5.1.49"
                                        << "2049-01-05";
        QTest::newRow("two-digit year, last century") << de << "5.1.50"
                                                      << "1950-01-05";
        QTest::newRow("leap day") << us << "02/29/2024"
                                  << "2024-02-29";
        QTest::newRow("no leap day") << us << "02/29/2023"
                                     << "";
        QTest::newRow("wrong order for the region") << us << "15/01/2024"
                                                    << "";
        QTest::newRow("other region's separator") << de << "01/15/2024"
                                                  << "";
        QTest::newRow("bad time") << us << "2024-01-15 25:00"
                                  << "";
        QTest::newRow("trailing text") << us << "2024-01-15x"
                                       << "";
        QTest::newRow("not a date") << us << "yesterday"
                                    << "";
        QTest::newRow("empty") << us << ""
                               << "";
    }
    void normaliseDate() {
        QFETCH(QString, format);
        QFETCH(QString, literal);
        QFETCH(QString, expected);
        QCOMPARE(TsqlTranslator(format).normaliseDate(literal), expected);
    }

    void regionalFormatInStatements() {
        const TsqlTranslator translator(QStringLiteral("dd.MM.yyyy"));
        QCOMPARE(translator.translate("SELECT a FROM t WHERE shift_date = '15.01.2024'").sql,
                 QStringLiteral("SELECT a FROM t WHERE shift_date = '2024-01-15'"));
        QVERIFY_THROWS_EXCEPTION(
            DbError, translator.translate("SELECT a FROM t WHERE shift_date = '01/15/2024'"));
    }

    void exec_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("preference, partition mode")
            << "EXEC usp_incentive_add_preference 12, 4, 'INCENT_HOUR_TYPE', '2', 3"
            << "usp_incentive_add_preference(12, 4, 'INCENT_HOUR_TYPE', '2', 3)";
        QTest::newRow("preference") << "EXEC usp_incentive_add_preference -1, 4, 'K', 'it''s'"
                                    << "usp_incentive_add_preference(-1, 4, 'K', 'it's')";
        QTest::newRow("qualified name, EXECUTE")
            << "EXECUTE [dbo].usp_incentive_get_preference 'KEY', +7;"
            << "usp_incentive_get_preference('KEY', 7)";
        QTest::newRow("named and output")
            << "EXEC usp_incentive_add_formula @formula_name = N'F1', @partition_id = NULL, "
               "@formula_id OUTPUT"
            << "usp_incentive_add_formula(@formula_name='F1', @partition_id=NULL, "
               "@formula_id=OUTPUT)";
        QTest::newRow("output through a local") << "EXEC p @id = @new OUT"
                                                << "p(@id=OUTPUT)";
        QTest::newRow("number kinds") << "EXEC p 1.5, 99999999999, 1e3, word"
                                      << "p(1.5D, 99999999999L, 1000D, 'word')";
        QTest::newRow("no arguments") << "exec partition_select_children"
                                      << "partition_select_children()";
    }
    void exec() {
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        const TranslatedStatement translated = TsqlTranslator().translate(statement);
        QCOMPARE(translated.kind, TranslatedStatement::Kind::Exec);
        QCOMPARE(describe(translated), expected);
    }

    void errors_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        const int syntax = ErrorNumber::CommandError;
        const QString notADate = QStringLiteral(
            "Conversion failed when converting date and/or time from character string.");
        QTest::newRow("unclosed string")
            << "SELECT 'abc" << syntax
            << "Unclosed quotation mark after the character string 'abc'.";
        QTest::newRow("unclosed name")
            << "SELECT [abc" << syntax
            << "Unclosed quotation mark after the character string 'abc'.";
        QTest::newRow("unclosed comment")
            << "SELECT 1 /* x" << syntax << "Missing end comment mark '*/'.";
        QTest::newRow("stray character") << "SELECT ?" << syntax << "Incorrect syntax near '?'.";
        QTest::newRow("second statement")
            << "SELECT 1; DELETE FROM t" << syntax
            << "Only one statement can be run at a time; 'DELETE' follows the end of the "
               "statement.";
        QTest::newRow("empty") << " -- nothing" << syntax
                               << "Command text was not set for the command object.";
        QTest::newRow("dangling plus") << "SELECT a +" << syntax << "Incorrect syntax near '+'.";
        QTest::newRow("plus before keyword")
            << "SELECT a + FROM t" << syntax << "Incorrect syntax near 'FROM'.";
        QTest::newRow("unbalanced close") << "SELECT a)" << syntax << "Incorrect syntax near ')'.";
        QTest::newRow("unbalanced open") << "SELECT (a" << syntax << "Incorrect syntax near 'a'.";
        QTest::newRow("CASE without END")
            << "SELECT CASE WHEN a THEN b" << syntax << "Incorrect syntax near 'b'.";
        QTest::newRow("variable") << "SELECT @x" << syntax
                                  << "Must declare the scalar variable \"@x\".";
        QTest::newRow("unknown conversion")
            << "SELECT CONVERT(uniqueidentifier, x)" << syntax
            << "Conversion to uniqueidentifier is not supported by the embedded database.";
        QTest::newRow("conversion without a size")
            << "SELECT CONVERT(varchar(), x)" << syntax << "Incorrect syntax near ')'.";
        QTest::newRow("TOP") << "SELECT TOP 1 a FROM t" << syntax
                             << "TOP is not supported by the embedded database.";
        QTest::newRow("date column meets a word")
            << "SELECT a FROM t WHERE shift_date > 'yesterday'" << ErrorNumber::DataConversion
            << notADate;
        QTest::newRow("impossible date in a SET")
            << "UPDATE Trans_info SET incentive_effective_date = '02/30/2024'"
            << ErrorNumber::DataConversion << notADate;
        QTest::newRow("impossible date in VALUES")
            << "INSERT INTO Trans_incentive (trans_id, shift_date) VALUES ('a', '13/01/2024')"
            << ErrorNumber::DataConversion << notADate;
        QTest::newRow("EXEC without a name") << "EXEC" << syntax << "Incorrect syntax near 'EXEC'.";
        QTest::newRow("EXEC missing comma")
            << "EXEC p 1 2" << syntax << "Incorrect syntax near '2'.";
        QTest::newRow("EXEC positional after named")
            << "EXEC p @a = 1, 2" << syntax
            << "Must pass parameter number 2 and subsequent parameters as '@name = value'. After "
               "the form '@name = value' has been used, all subsequent parameters must be passed "
               "in the form '@name = value'.";
        QTest::newRow("EXEC constant output")
            << "EXEC p @a = 1 OUTPUT" << syntax
            << "Cannot use the OUTPUT option when passing a constant to a stored procedure.";
        QTest::newRow("EXEC local without OUTPUT")
            << "EXEC p @a = @b" << syntax << "Must declare the scalar variable \"@b\".";
    }
    void errors() {
        QFETCH(QString, statement);
        QFETCH(int, number);
        QFETCH(QString, description);
        try {
            const TranslatedStatement translated = TsqlTranslator().translate(statement);
            QFAIL(qPrintable("translated to: " + translated.sql));
        } catch (const DbError& error) {
            QCOMPARE(error.description(), description);
            QCOMPARE(error.number(), number);
        }
    }

    void deepNestingIsRefused() {
        const QString deep = "SELECT " + QString(5000, '(') + "1" + QString(5000, ')');
        QVERIFY_THROWS_EXCEPTION(DbError, TsqlTranslator().translate(deep));
        const QString fine = "SELECT " + QString(50, '(') + "1 + 1" + QString(50, ')');
        QCOMPARE(TsqlTranslator().translate(fine).sql,
                 "SELECT " + QString(50, '(') + "vl_add(1, 1)" + QString(50, ')'));
    }

    void runsOnSqlite_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("row");
        QTest::newRow("text concatenates") << "SELECT 'a' + 'b' AS v"
                                           << "v=ab";
        QTest::newRow("numbers add") << "SELECT 1 + 2 AS v"
                                     << "v=3";
        QTest::newRow("precedence") << "SELECT 2*3+1 AS v, 2+3*4 AS w"
                                    << "v=7; w=14";
        QTest::newRow("associativity") << "SELECT 10 - 2 + 3 AS v"
                                       << "v=11";
        QTest::newRow("full name") << "SELECT RTRIM('Smith  ') + ', ' + RTRIM('Ann ') AS full_name"
                                   << "full_name=Smith, Ann";
        QTest::newRow("ISNULL") << "SELECT ISNULL(NULL, 5) AS v, ISNULL(2, 5) AS w"
                                << "v=5; w=2";
        QTest::newRow("CONVERT rounds") << "SELECT CONVERT(decimal(19,2), 7 / 3.0) AS v"
                                        << "v=2.33";
        QTest::newRow("alias = expression") << "SELECT total = 1 + 1, n = 'x'"
                                            << "total=2; n=x";
        QTest::newRow("Month and Year")
            << "SELECT Month('2024-03-09') AS m, Year('2024-03-09') AS y"
            << "m=3; y=2024";
        QTest::newRow("CASE plus text") << "SELECT CASE WHEN 1 = 1 THEN 'a' END + 'b' AS v"
                                        << "v=ab";
    }
    void runsOnSqlite() {
        QFETCH(QString, statement);
        QFETCH(QString, row);
        MemoryDatabase db;
        QCOMPARE(db.run(TsqlTranslator().translate(statement).sql), row);
    }

    // Two accounts with the same day's incentive hours count once in the week's total; the
    // rows were written with regional dates and are read back with a regional range.
    void weekTotalsRunOnSqlite() {
        MemoryDatabase db;
        db.run("CREATE TABLE Trans_incentive (trans_id TEXT, hosp_acct_id INTEGER, shift_date "
               "TEXT, number_rpts_modified INTEGER, chars_modified INTEGER, lines_modified "
               "INTEGER, pages_modified INTEGER, incent_hours_typed_modified REAL, "
               "incent_typed_modified REAL, incent_pay_modified REAL)");
        db.run("CREATE TABLE Trans_activity (trans_id TEXT, shift_date TEXT, activity_time "
               "INTEGER, work_type INTEGER, update_type INTEGER)");
        const TsqlTranslator translator;
        const QStringList rows = {
            "1, 6.0, '01/15/2024'", "2, 6.0, '01/15/2024'", "1, 2.5, '1/16/2024'",
            "1, 9.0, '01/21/2024'", // next week
        };
        for (const QString& values : rows)
            QCOMPARE(db.run(translator
                                .translate("INSERT INTO Trans_incentive (hosp_acct_id, "
                                           "incent_hours_typed_modified, shift_date, trans_id, "
                                           "number_rpts_modified) VALUES (" +
                                           values + ", 'bob', 1)")
                                .sql),
                     QString());
        db.run(translator
                   .translate("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                              "work_type, update_type) VALUES ('bob', '01/16/2024', 5000, 1, 9)")
                   .sql);
        const QString sql =
            translator.translate(weekTotalsStatement("bob", "01/14/2024", "01/20/2024")).sql;
        const QString result = db.run(sql);
        QVERIFY2(result.startsWith("TOTAL_IHOURS_TYPED=8.5; SUM_IHOURS_TYPED=14.5; "
                                   "TOTAL_HOURS=1.39; TOTAL_REPORTS=3;"),
                 qPrintable(result));
    }

    void groupEffectiveDateIsStored() {
        MemoryDatabase db;
        db.run("CREATE TABLE Incentive_group (group_id INTEGER, incentive_effective_date TEXT)");
        db.run("INSERT INTO Incentive_group VALUES (3, NULL)");
        const TsqlTranslator translator;
        db.run(translator
                   .translate("UPDATE Incentive_group SET incentive_effective_date = "
                              "'01/15/2024'WHERE group_id = 3")
                   .sql);
        QCOMPARE(db.run(translator
                            .translate("SELECT COUNT(*) AS n FROM Incentive_group WHERE "
                                       "incentive_effective_date = '2024-01-15' AND "
                                       "incentive_effective_date >= '1/15/2024'")
                            .sql),
                 QStringLiteral("n=1"));
    }
};

VELORA_TEST(TestTsqlTranslator)
#include "TestTsqlTranslator.moc"
