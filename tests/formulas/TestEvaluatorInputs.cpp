#include "TesterFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;

namespace {

// Production of one day on account 100 for users whose trans_id, partition and lines differ,
// so the lines a test reads tell which user's row the evaluator took.
void populate(test::TesterFixture& f) {
    f.addPartition(1, QStringLiteral("North"));
    f.addPartition(2, QStringLiteral("South"));
    f.addPartition(4, QStringLiteral("cy"));
    f.addPartition(5, QStringLiteral("dee"));
    const struct {
        const char* id;
        int partition;
        bool deleted;
        double lines;
    } users[] = {
        {"ann", 1, false, 1500},      {"bob", 2, false, 300}, {"amy", 1, false, 11},
        {"North\\amy", 2, false, 22}, {"old", 1, true, 44},   {"cy", 5, false, 55},
        {"dee", 4, false, 66},
    };
    for (const auto& user : users) {
        f.addUser(QLatin1String(user.id), user.partition, 1, user.deleted);
        f.addDay(QLatin1String(user.id), 100, QStringLiteral("2024-05-31"), 3, user.lines, 6);
    }
}

} // namespace

class TestEvaluatorInputs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The inputs in the order the formula first reads them, an alias under the input's own
    // name and once only, with the row's values; nothing after a failed evaluation.
    void reportsTheInputsRead() {
        test::TesterFixture f(true);
        populate(f);
        engine::FormulaEvaluator& evaluator = *f.evaluator;
        evaluator.ShiftDate(QDate(2024, 5, 31));
        evaluator.AccountID(100);
        evaluator.TransID(QStringLiteral("North\\ann"));
        evaluator.Evaluate(QStringLiteral("If IsLastDayOfMonth Then Results.IPay = lines * 2\n"
                                          "Results.ILines = TrueLines + Reports\n"
                                          "x = TransID & ShiftDate & Chars"));
        QCOMPARE(evaluator.ErrorNumber(), 0);
        QStringList read;
        for (const engine::FormulaInputReading& input : evaluator.InputsRead())
            read << input.name;
        QCOMPARE(read, (QStringList{"IsLastDayOfMonth", "TrueLines", "Reports", "TransID",
                                    "ShiftDate", "CharLines"}));
        const auto& inputs = evaluator.InputsRead();
        QCOMPARE(inputs[0].value, QVariant(true));
        QCOMPARE(inputs[1].value, QVariant(1500.0));
        QCOMPARE(inputs[2].value, QVariant(3.0));
        QCOMPARE(inputs[3].value, QVariant(QStringLiteral("ann")));
        QCOMPARE(inputs[4].value, QVariant(QDate(2024, 5, 31)));
        QCOMPARE(inputs[5].value, QVariant(0.0));

        evaluator.Evaluate(QStringLiteral("Results.IPay = TrueLines / 0"));
        QVERIFY(evaluator.ErrorNumber() != 0);
        QVERIFY(evaluator.InputsRead().isEmpty());
    }

    void findsTheUser_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("transID");
        QTest::addColumn<float>("lines");
        QTest::newRow("plain id") << "ann"
                                  << "ann" << 1500.0f;
        QTest::newRow("partition first") << "North\\ann"
                                         << "ann" << 1500.0f;
        QTest::newRow("partition last") << "bob\\South"
                                        << "bob" << 300.0f;
        QTest::newRow("partition in other case") << "south\\bob"
                                                 << "bob" << 300.0f;
        QTest::newRow("the exact id before a label") << "North\\amy"
                                                     << "North\\amy" << 22.0f;
        QTest::newRow("a deleted user's entry") << "North\\old DEL"
                                                << "old" << 44.0f;
        QTest::newRow("a live user with the deleted mark") << "North\\ann DEL"
                                                           << "North\\ann DEL" << 0.0f;
        QTest::newRow("another partition's label") << "South\\ann"
                                                   << "South\\ann" << 0.0f;
        QTest::newRow("two users fit") << "cy\\dee"
                                       << "cy\\dee" << 0.0f;
        QTest::newRow("nobody") << "North\\"
                                << "North\\" << 0.0f;
    }

    // The text as a list shows a user; a text that fits no user, or more than one, names
    // nobody: the formula reads it as TransID and the day as zeros.
    void findsTheUser() {
        QFETCH(QString, text);
        QFETCH(QString, transID);
        QFETCH(float, lines);
        test::TesterFixture f(true);
        populate(f);
        engine::FormulaEvaluator& evaluator = *f.evaluator;
        evaluator.ShiftDate(QDate(2024, 5, 31));
        evaluator.AccountID(100);
        evaluator.TransID(text);
        evaluator.Evaluate(QStringLiteral("Results.ILines = TrueLines\nx = TransID"));
        QCOMPARE(evaluator.ErrorNumber(), 0);
        QCOMPARE(evaluator.ResultLines(), lines);
        QCOMPARE(evaluator.InputsRead().last().value.toString(), transID);
    }
};

VELORA_TEST(TestEvaluatorInputs)
#include "TestEvaluatorInputs.moc"
