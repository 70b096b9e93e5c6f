#include "common/TestMain.h"
#include "formulas/FormulaSyntax.h"
#include "formulas/FormulaTextEdit.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace velora::formulas;

namespace {

// "Kind:text" per span, in order.
QStringList describe(const QString& line, const QList<FormulaSpan>& spans) {
    static const char* const Names[] = {"Keyword", "Input",   "Function",
                                        "String",  "Comment", "Number"};
    QStringList result;
    for (const FormulaSpan& span : spans)
        result << QLatin1String(Names[int(span.kind)]) + QLatin1Char(':') +
                      line.mid(span.start, span.length);
    return result;
}

} // namespace

class TestFormulaSyntax : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void classifiesALine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("continued");
        QTest::addColumn<QStringList>("spans");
        QTest::addColumn<bool>("continues");
        QTest::newRow("quote and doubled quotes inside a string")
            << "x = \"It's \"\"fine\"\" ' no\" ' yes" << false
            << QStringList{"String:\"It's \"\"fine\"\" ' no\"", "Comment:' yes"} << false;
        QTest::newRow("Rem inside names, names that only start like inputs")
            << "Remainder = TrueLinesX + HoursTyped1 + 1" << false << QStringList{"Number:1"}
            << false;
        QTest::newRow("Rem statement")
            << "  REM all of it" << false << QStringList{"Comment:REM all of it"} << false;
        QTest::newRow("Rem after a colon")
            << "x = 1: rem note" << false << QStringList{"Number:1", "Comment:rem note"} << false;
        QTest::newRow("Rem after Then") << "If Hours > 7 Then Rem note" << false
                                        << QStringList{"Keyword:If", "Input:Hours", "Number:7",
                                                       "Keyword:Then", "Comment:Rem note"}
                                        << false;
        QTest::newRow("Rem inside a statement") << "x = y Rem z" << false << QStringList{} << false;
        QTest::newRow("results, functions and aliases in any case")
            << "results.ipay = ROUND(lines * 0.085, 2)" << false
            << QStringList{"Keyword:results.", "Keyword:ipay", "Function:ROUND",
                           "Input:lines",      "Number:0.085", "Number:2"}
            << false;
        QTest::newRow("literals")
            << "y = MonthToDate(\"TrueLines\") + &H1F + 1.5E3 + #2012-11-04# & z" << false
            << QStringList{"Function:MonthToDate", "String:\"TrueLines\"", "Number:&H1F",
                           "Number:1.5E3", "Number:#2012-11-04#"}
            << false;
        QTest::newRow("inputs read as calls and operators")
            << "Not IsLastDayOfMonth And chars Mod 2" << false
            << QStringList{"Keyword:Not", "Input:IsLastDayOfMonth",
                           "Keyword:And", "Input:chars",
                           "Keyword:Mod", "Number:2"}
            << false;
        QTest::newRow("refused names are not functions")
            << "x = Rnd + Now" << false << QStringList{} << false;
        QTest::newRow("digits in a name") << "x1 = 2" << false << QStringList{"Number:2"} << false;
        QTest::newRow("unterminated string")
            << "x = \"abc ' d" << false << QStringList{"String:\"abc ' d"} << false;
        QTest::newRow("continues") << "x = 1 + _  " << false << QStringList{"Number:1"} << true;
        QTest::newRow("underscore in a name") << "x = a_" << false << QStringList{} << false;
        QTest::newRow("continued line starts no statement")
            << "Rem + 2" << true << QStringList{"Number:2"} << false;
    }

    void classifiesALine() {
        QFETCH(QString, line);
        QFETCH(bool, continued);
        QFETCH(QStringList, spans);
        QFETCH(bool, continues);
        const FormulaSyntax::Line classified = FormulaSyntax::classify(line, continued);
        QCOMPARE(describe(line, classified.spans), spans);
        QCOMPARE(classified.continues, continues);
    }

    // The editor's colouring carries a continuation to the next line, and drops it after an
    // edit.
    void highlightsAcrossLines() {
        FormulaTextEdit editor;
        editor.setPlainText(QStringLiteral("x = 1 + _\nRem 2"));
        const QTextDocument& document = *editor.document();
        auto secondLineFormats = [&document] {
            return document.findBlockByNumber(1).layout()->formats();
        };
        QCOMPARE(secondLineFormats().size(), 1); // the number only, no comment
        QCOMPARE(secondLineFormats().first().start, 4);

        QTextCursor cursor(document.findBlockByNumber(0));
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.deletePreviousChar(); // the line no longer continues
        QCOMPARE(secondLineFormats().size(), 1);
        QCOMPARE(secondLineFormats().first().start, 0);
        QCOMPARE(secondLineFormats().first().length, 5);
    }
};

VELORA_TEST(TestFormulaSyntax)
#include "TestFormulaSyntax.moc"
