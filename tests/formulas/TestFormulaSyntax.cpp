#include "common/TestMain.h"
#include "formulas/FormulaSyntax.h"
#include "formulas/FormulaTextEdit.h"

#include <QTest>
#include <QTextBlock>

using namespace velora::formulas;

class TestFormulaSyntax : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void classifiesALine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("continued");
        QTest::addColumn<QStringList>("spans"); // "Kind:text", "+" when the line continues
        QTest::newRow("quotes inside a string")
            << "x = \"It's \"\"ok\"\" ' no\" ' yes" << false
            << QStringList{"String:\"It's \"\"ok\"\" ' no\"", "Comment:' yes"};
        QTest::newRow("Rem and inputs inside names")
            << "Remainder = TrueLinesX + HoursTyped1 + x1" << false << QStringList{};
        QTest::newRow("Rem statement") << "  REM all" << false << QStringList{"Comment:REM all"};
        QTest::newRow("Rem after a colon and after Then")
            << "x = 1: If Hours Then rem a" << false
            << QStringList{"Number:1", "Keyword:If", "Input:Hours", "Keyword:Then",
                           "Comment:rem a"};
        QTest::newRow("Rem inside a statement") << "x = y Rem z" << false << QStringList{};
        QTest::newRow("results, functions and aliases in any case")
            << "results.ipay = ROUND(lines * 0.085, 2)" << false
            << QStringList{"Keyword:results.", "Keyword:ipay", "Function:ROUND",
                           "Input:lines",      "Number:0.085", "Number:2"};
        QTest::newRow("literals") << "y = MonthToDate(\"Pages\") + &H1F + 1.5E3 + #2012-11-04# & z"
                                  << false
                                  << QStringList{"Function:MonthToDate", "String:\"Pages\"",
                                                 "Number:&H1F", "Number:1.5E3",
                                                 "Number:#2012-11-04#"};
        QTest::newRow("input read by a call, operators")
            << "Not IsLastDayOfMonth Mod chars" << false
            << QStringList{"Keyword:Not", "Input:IsLastDayOfMonth", "Keyword:Mod", "Input:chars"};
        QTest::newRow("unterminated string")
            << "x = \"a ' b" << false << QStringList{"String:\"a ' b"};
        QTest::newRow("continues") << "x = 1 + _  " << false << QStringList{"Number:1", "+"};
        QTest::newRow("continued line") << "Rem + 2" << true << QStringList{"Number:2"};
    }

    void classifiesALine() {
        static const char* const Kinds[] = {"Keyword", "Input",   "Function",
                                            "String",  "Comment", "Number"};
        QFETCH(QString, line);
        QFETCH(bool, continued);
        QFETCH(QStringList, spans);
        const FormulaSyntax::Line classified = FormulaSyntax::classify(line, continued);
        QStringList described;
        for (const FormulaSpan& span : classified.spans)
            described << QLatin1String(Kinds[int(span.kind)]) + QLatin1Char(':') +
                             line.mid(span.start, span.length);
        if (classified.continues)
            described << QStringLiteral("+");
        QCOMPARE(described, spans);
    }

    // The editor's colouring carries a continuation to the next line and drops it after an
    // edit; the error mark goes with the edit.
    void highlightsAcrossLines() {
        FormulaTextEdit editor;
        editor.setPlainText(QStringLiteral("x = 1 + _\nRem 2"));
        editor.markErrorLine(2);
        auto secondLine = [&editor] {
            return editor.document()->findBlockByNumber(1).layout()->formats();
        };
        QCOMPARE(secondLine().size(), 1);
        QCOMPARE(secondLine().first().start, 4); // the number, no comment

        QTextCursor cursor(editor.document()->findBlockByNumber(0));
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.deletePreviousChar();
        QCOMPARE(secondLine().size(), 1);
        QCOMPARE(secondLine().first().length, 5); // the whole line is a comment
        QCOMPARE(editor.markedLine(), 0);
    }
};

VELORA_TEST(TestFormulaSyntax)
#include "TestFormulaSyntax.moc"
