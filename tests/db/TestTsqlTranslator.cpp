// The T-SQL translator: the SQLite text it writes, the dates it reads, the procedure calls it
// recognises, the statements it refuses, and what translated statements mean when they run on
// the embedded engine.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"
#include "db/TsqlTranslator.h"

#include <QTest>

using velora::db::DbError;
using velora::db::TranslatedStatement;
using velora::db::TsqlTranslator;
using namespace velora::test;
namespace ErrorNumber = velora::db::ErrorNumber;

namespace {

// "procedure(arg, @name=arg, @out=OUTPUT)", numbers marked L (64-bit) or D (double).
QString describe(const TranslatedStatement& statement) {
    QStringList arguments;
    for (const auto& argument : statement.arguments) {
        const QVariant& v = argument.value;
        QString text = argument.isOutput                  ? "OUTPUT"
                       : v.isNull()                       ? "NULL"
                       : v.typeId() == QMetaType::QString ? "'" + v.toString() + "'"
                                                          : v.toString();
        text += v.typeId() == QMetaType::LongLong ? "L"
                : v.typeId() == QMetaType::Double ? "D"
                                                  : "";
        arguments << (argument.name.isEmpty() ? text : argument.name + "=" + text);
    }
    return statement.procedure + "(" + arguments.join(", ") + ")";
}

} // namespace

class TestTsqlTranslator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void translation_data();
    void translation();
    void normaliseDate_data();
    void normaliseDate();
    void exec_data();
    void exec();
    void errors_data();
    void errors();
    void deepNestingIsRefused();
    void meaningOnTheEngine_data();
    void meaningOnTheEngine() { runCorpusRow(); }
};

void TestTsqlTranslator::translation_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("expected");
    // clang-format off
    // "alias = expression" select items.
    QTest::newRow("alias = expression") << "SELECT total = SUM(x), [n] = 1 FROM t WHERE a = b"
        << "SELECT SUM(x) AS total, 1 AS [n] FROM t WHERE a = b";
    QTest::newRow("alias in a sub-select") << "SELECT a FROM t WHERE b IN (SELECT c = d FROM u WHERE e = f)"
        << "SELECT a FROM t WHERE b IN (SELECT d AS c FROM u WHERE e = f)";
    QTest::newRow("alias of a date column is no comparison") << "SELECT shift_date = '01/15/2024' FROM t"
        << "SELECT '01/15/2024' AS shift_date FROM t";
    // Date literals meeting date columns take the stored form; other literals stay as written.
    QTest::newRow("SET list, time dropped")
        << "UPDATE t SET g = 4, incentive_effective_date = '2024-01-15 13:45:00' WHERE id = 'bob'"
        << "UPDATE t SET g = 4, incentive_effective_date = '2024-01-15' WHERE id = 'bob'";
    QTest::newRow("parenthesised BETWEEN")
        << "SELECT x FROM t WHERE (((t.id)='bob') AND ((t.shift_date) Between '1/14/2024' And '01/20/2024'));"
        << "SELECT x FROM t WHERE (((t.id)='bob') AND ((t.shift_date) Between '2024-01-14' And '2024-01-20'))";
    QTest::newRow("literal on the left, NOT BETWEEN, IN")
        << "SELECT a FROM t WHERE '01/02/2024' < TA1.shift_date AND delete_date NOT BETWEEN '1/1/2024' AND "
           "'2024-02-01' AND shift_date IN ('01/15/2024', '2024-01-16')"
        << "SELECT a FROM t WHERE '2024-01-02' < TA1.shift_date AND delete_date NOT BETWEEN '2024-01-01' AND "
           "'2024-02-01' AND shift_date IN ('2024-01-15', '2024-01-16')";
    QTest::newRow("INSERT values by column")
        << "INSERT INTO t (number_rpts, trans_id, shift_date) VALUES(1, '01/15/2024', '01/15/2024')"
        << "INSERT INTO t (number_rpts, trans_id, shift_date) VALUES(1, '01/15/2024', '2024-01-15')";
    QTest::newRow("blank date is the base date") << "SELECT a FROM t WHERE shift_date > ''"
        << "SELECT a FROM t WHERE shift_date > '1900-01-01'";
    QTest::newRow("literals elsewhere untouched")
        << "UPDATE Incentive_formula SET FORMULA_TEXT = '01/15/2024' WHERE formula_name = 'ISNULL(a) + 1' AND "
           "Month(shift_date) = '1/1/2024' AND shift_date + 1 = '1/2/2024'"
        << "UPDATE Incentive_formula SET FORMULA_TEXT = '01/15/2024' WHERE formula_name = 'ISNULL(a) + 1' AND "
           "Month(shift_date) = '1/1/2024' AND vl_add(shift_date, 1) = '1/2/2024'";
    // Lexical details.
    QTest::newRow("national strings, comments, brackets")
        << "SELECT N'abc' + [my col] /* one /* nested */ */ FROM t -- end"
        << "SELECT vl_add('abc', [my col]) FROM t";
    QTest::newRow("bracket with a closing bracket inside") << "SELECT [a]]b] FROM t" << "SELECT \"a]b\" FROM t";
    QTest::newRow("tokens kept apart") << "SELECT 1AS x, 'a'N'b'" << "SELECT 1 AS x, 'a' 'b'";
    QTest::newRow("trailing semicolons") << "SELECT 1;;" << "SELECT 1";
    QTest::newRow("not-less-than") << "SELECT a FROM t WHERE a !< 2" << "SELECT a FROM t WHERE a >= 2";
    // clang-format on
}

void TestTsqlTranslator::translation() {
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    const TranslatedStatement translated = TsqlTranslator().translate(statement);
    QCOMPARE(translated.kind, TranslatedStatement::Kind::Sql);
    QCOMPARE(translated.sql, expected);
}

void TestTsqlTranslator::normaliseDate_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("expected"); // "" when it is no date
    const QString us = QStringLiteral("MM/dd/yyyy");
    const QString de = QStringLiteral("dd.MM.yyyy");
    // clang-format off
    QTest::newRow("iso one digit") << us << "2024-1-5" << "2024-01-05";
    QTest::newRow("iso with time") << us << "2024-01-15 23:59:59.997" << "2024-01-15";
    QTest::newRow("iso T time") << us << "2024-01-15T10:00" << "2024-01-15";
    QTest::newRow("unseparated") << us << "20240115" << "2024-01-15";
    QTest::newRow("regional one digit, padded") << us << " 1/5/2024 " << "2024-01-05";
    QTest::newRow("regional with time") << us << "1/5/2024 11:00 PM" << "2024-01-05";
    QTest::newRow("day first") << de << "5.1.2024" << "2024-01-05";
    QTest::newRow("two-digit year") << de << "5.1.49" << "2049-01-05";
    QTest::newRow("two-digit year, last century") << de << "5.1.50" << "1950-01-05";
    QTest::newRow("leap day") << us << "02/29/2024" << "2024-02-29";
    QTest::newRow("no leap day") << us << "02/29/2023" << "";
    QTest::newRow("wrong order for the region") << us << "15/01/2024" << "";
    QTest::newRow("other region's separator") << de << "01/15/2024" << "";
    QTest::newRow("bad time") << us << "2024-01-15 25:00" << "";
    QTest::newRow("trailing text") << us << "2024-01-15x" << "";
    QTest::newRow("not a date") << us << "yesterday" << "";
    QTest::newRow("empty") << us << "" << "";
    // clang-format on
}

void TestTsqlTranslator::normaliseDate() {
    QFETCH(QString, format);
    QFETCH(QString, literal);
    QFETCH(QString, expected);
    QCOMPARE(TsqlTranslator(format).normaliseDate(literal), expected);
}

void TestTsqlTranslator::exec_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("positional, partition mode")
        << "EXEC usp_incentive_add_preference 12, 4, 'INCENT_HOUR_TYPE', '2', 3"
        << "usp_incentive_add_preference(12, 4, 'INCENT_HOUR_TYPE', '2', 3)";
    QTest::newRow("quote in a text") << "EXEC usp_incentive_add_preference -1, 4, 'K', 'it''s'"
        << "usp_incentive_add_preference(-1, 4, 'K', 'it's')";
    QTest::newRow("qualified name, EXECUTE") << "EXECUTE [dbo].usp_incentive_get_preference 'KEY', +7;"
        << "usp_incentive_get_preference('KEY', 7)";
    QTest::newRow("named and output")
        << "EXEC usp_incentive_add_formula @formula_name = N'F1', @partition_id = NULL, @formula_id OUTPUT"
        << "usp_incentive_add_formula(@formula_name='F1', @partition_id=NULL, @formula_id=OUTPUT)";
    QTest::newRow("output through a local") << "EXEC p @id = @new OUT" << "p(@id=OUTPUT)";
    QTest::newRow("number kinds") << "EXEC p 1.5, 99999999999, 1e3, word"
        << "p(1.5D, 99999999999L, 1000D, 'word')";
    QTest::newRow("no arguments") << "exec partition_select_children" << "partition_select_children()";
    // clang-format on
}

void TestTsqlTranslator::exec() {
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    const TranslatedStatement translated = TsqlTranslator().translate(statement);
    QCOMPARE(translated.kind, TranslatedStatement::Kind::Exec);
    QCOMPARE(describe(translated), expected);
}

void TestTsqlTranslator::errors_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    const int syntax = ErrorNumber::CommandError;
    const QString notADate =
        "Conversion failed when converting date and/or time from character string.";
    // clang-format off
    const QString unclosed = "Unclosed quotation mark after the character string 'abc'.";
    QTest::newRow("unclosed string") << "SELECT 'abc" << syntax << unclosed;
    QTest::newRow("unclosed name") << "SELECT [abc" << syntax << unclosed;
    QTest::newRow("unclosed comment") << "SELECT 1 /* x" << syntax << "Missing end comment mark '*/'.";
    QTest::newRow("stray character") << "SELECT ?" << syntax << "Incorrect syntax near '?'.";
    QTest::newRow("second statement") << "SELECT 1; DELETE FROM t" << syntax
        << "Only one statement can be run at a time; 'DELETE' follows the end of the statement.";
    QTest::newRow("empty") << " -- nothing" << syntax << "Command text was not set for the command object.";
    QTest::newRow("dangling plus") << "SELECT a +" << syntax << "Incorrect syntax near '+'.";
    QTest::newRow("plus before keyword") << "SELECT a + FROM t" << syntax << "Incorrect syntax near 'FROM'.";
    QTest::newRow("unbalanced close") << "SELECT a)" << syntax << "Incorrect syntax near ')'.";
    QTest::newRow("unbalanced open") << "SELECT (a" << syntax << "Incorrect syntax near 'a'.";
    QTest::newRow("CASE without END") << "SELECT CASE WHEN a THEN b" << syntax << "Incorrect syntax near 'b'.";
    QTest::newRow("variable") << "SELECT @x" << syntax << "Must declare the scalar variable \"@x\".";
    QTest::newRow("unknown conversion") << "SELECT CONVERT(uniqueidentifier, x)" << syntax
        << "Conversion to uniqueidentifier is not supported by the embedded database.";
    QTest::newRow("conversion without a size") << "SELECT CONVERT(varchar(), x)" << syntax
        << "Incorrect syntax near ')'.";
    QTest::newRow("TOP") << "SELECT TOP 1 a FROM t" << syntax << "TOP is not supported by the embedded database.";
    QTest::newRow("date column meets a word") << "SELECT a FROM t WHERE shift_date > 'yesterday'"
        << ErrorNumber::DataConversion << notADate;
    QTest::newRow("impossible date in a SET") << "UPDATE Trans_info SET incentive_effective_date = '02/30/2024'"
        << ErrorNumber::DataConversion << notADate;
    QTest::newRow("impossible date in VALUES")
        << "INSERT INTO Trans_incentive (trans_id, shift_date) VALUES ('a', '13/01/2024')"
        << ErrorNumber::DataConversion << notADate;
    QTest::newRow("EXEC without a name") << "EXEC" << syntax << "Incorrect syntax near 'EXEC'.";
    QTest::newRow("EXEC missing comma") << "EXEC p 1 2" << syntax << "Incorrect syntax near '2'.";
    QTest::newRow("EXEC positional after named") << "EXEC p @a = 1, 2" << syntax
        << "Must pass parameter number 2 and subsequent parameters as '@name = value'. After the form "
           "'@name = value' has been used, all subsequent parameters must be passed in the form '@name = value'.";
    QTest::newRow("EXEC constant output") << "EXEC p @a = 1 OUTPUT" << syntax
        << "Cannot use the OUTPUT option when passing a constant to a stored procedure.";
    QTest::newRow("EXEC local without OUTPUT") << "EXEC p @a = @b" << syntax
        << "Must declare the scalar variable \"@b\".";
    // clang-format on
}

void TestTsqlTranslator::errors() {
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

void TestTsqlTranslator::deepNestingIsRefused() {
    const QString deep = "SELECT " + QString(5000, '(') + "1" + QString(5000, ')');
    QVERIFY_THROWS_EXCEPTION(DbError, TsqlTranslator().translate(deep));
    const QString fine = "SELECT " + QString(50, '(') + "1 + 1" + QString(50, ')');
    QCOMPARE(TsqlTranslator().translate(fine).sql,
             "SELECT " + QString(50, '(') + "vl_add(1, 1)" + QString(50, ')'));
}

// Statements as SQL Server reads them, run on the corpus fixture.
void TestTsqlTranslator::meaningOnTheEngine_data() {
    addCorpusColumns();
    const QString count = "SELECT COUNT(*) FROM trans_incentive WHERE ";
    // clang-format off
    corpusRow("+ between texts concatenates", "SELECT 'a' + 'b', CASE WHEN 1 = 1 THEN 'a' END + 'b'", {"ab|ab"});
    corpusRow("+ between numbers adds, after * and %, left to right",
              "SELECT 1 + 2, 2*3+1, 2+3*4, 10 - 2 + 3, 7 % 4 + 1", {"3|7|14|11|4"});
    corpusRow("+ keeps T-SQL grouping: parentheses, signs, sub-selects, & at its level",
              "SELECT (1 + 2) * 3, -1 + 2, 1 - -1 + 1, 1 + (SELECT MAX(hosp_acct_id) FROM Account_info), "
              "6 & 3 + 1", {"9|1|3|105|3"});
    corpusRow("+ reads a numeric text as a number", "SELECT '3' + 2, 1.5 + ' 3'", {"5|4.5"});
    corpusRow("+ with a word fails", "SELECT 'a' + 1",
              {"Error -2147217900: Conversion failed when converting the varchar value to a numeric data type."});
    corpusRow("+ with NULL is NULL", "SELECT NULL + 'a', 1 + NULL", {"NULL|NULL"});
    corpusRow("ISNULL", "SELECT ISNULL(NULL, 5), ISNULL(2, 5)", {"5|2"});
    corpusRow("CONVERT to decimal rounds half away from zero",
              "SELECT CONVERT(decimal(19,2), 20000 / 3600.0), CONVERT(decimal(9,1), 0.25), "
              "CONVERT(decimal(9,1), -0.25), CONVERT(numeric, 2.5)", {"5.56|0.3|-0.3|3"});
    corpusRow("CONVERT to int and varchar cuts, to a date reads the regional form",
              "SELECT CONVERT(int, 2.7), CONVERT(varchar(5), 'abcdefgh'), CONVERT(datetime, '1/5/2024')",
              {"2|abcde|2024-01-05"});
    corpusRow("Month and Year", "SELECT Month('2024-03-09'), Year('2024-03-09')", {"3|2024"});
    // Text compares without regard to letter case and trailing blanks, not leading ones.
    const QString user = "SELECT COUNT(*) FROM Trans_info WHERE trans_id = ";
    corpusRow("collation: case and trailing blanks", user + "'JSMITH  '", {"1"});
    corpusRow("collation: leading blanks count", user + "' jsmith'", {"0"});
    corpusRow("collation: case beyond ASCII", "SELECT trans_id FROM Trans_info WHERE last_name = 'JOSÉ '",
              {"tnull"},
              {{"UPDATE Trans_info SET last_name = 'José' WHERE trans_id = 'tnull'"}});
    corpusRow("collation: order",
              "SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id > 100 ORDER BY hosp_acct_name",
              {"county general", "Harbor Radiology", "Mercy Hospital", "St. Luke's Clinic"});
    // A date literal meeting a date column means that day, in either form.
    corpusRow("regional dates in BETWEEN", count + "shift_date Between '1/29/2024' And '01/30/2024'", {"4"});
    corpusRow("dotted regional dates in BETWEEN", count + "shift_date Between '29.1.2024' And '30.01.2024'", {"4"},
              {}, "dd.MM.yyyy");
    corpusRow("a blank date is the base date", count + "shift_date > ''", {"19"});
    corpusRow("a regional date is stored in the stored form",
              "SELECT trans_id, hosp_acct_id FROM trans_incentive WHERE shift_date = '2024-02-10'", {"k.lee|104"},
              {{"INSERT INTO trans_incentive (trans_id, hosp_acct_id, shift_date, dept_id) "
                "VALUES ('k.lee', 104, '2/10/2024', 0)"}});
    // clang-format on
}

VELORA_TEST(TestTsqlTranslator)
#include "TestTsqlTranslator.moc"
