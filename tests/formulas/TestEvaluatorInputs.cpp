#include "TesterFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;

namespace {

// One day on account 100 for users whose lines differ, so the lines read tell whose row the
// evaluator took. "North\amy" is a real trans_id in South; "cy" and "dee" each live in a
// partition named after the other.
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
    } users[] = {{"ann", 1, false, 1500},      {"bob", 2, false, 300}, {"amy", 1, false, 11},
                 {"North\\amy", 2, false, 22}, {"old", 1, true, 44},   {"cy", 5, false, 55},
                 {"dee", 4, false, 66}};
    for (const auto& user : users) {
        f.addUser(QLatin1String(user.id), user.partition, user.deleted);
        f.addDay(QLatin1String(user.id), 100, QStringLiteral("2024-05-31"), 3, user.lines, 6);
    }
    f.evaluator->ShiftDate(QDate(2024, 5, 31));
    f.evaluator->AccountID(100);
}

} // namespace

class TestEvaluatorInputs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsTheUser_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("transID");
        QTest::addColumn<float>("lines");
        const auto row = [](const char* name, const char* text, const char* id, float lines) {
            QTest::newRow(name) << QString(text) << QString(id) << lines;
        };
        row("plain id", "ann", "ann", 1500);
        row("partition first", "North\\ann", "ann", 1500);
        row("partition last, other case", "bob\\south", "bob", 300);
        row("exact id before a label", "North\\amy", "North\\amy", 22);
        row("deleted user's entry", "North\\old DEL", "old", 44);
        row("live user with the deleted mark", "North\\ann DEL", "", 0);
        row("another partition's label", "South\\ann", "", 0);
        row("two users fit", "cy\\dee", "", 0);
        row("label alone", "North\\", "", 0);
    }

    // A text that fits no user, or more than one, names nobody: the formula reads the text
    // itself as TransID (empty transID above) and the day as zeros.
    void findsTheUser() {
        QFETCH(QString, text);
        QFETCH(QString, transID);
        QFETCH(float, lines);
        test::TesterFixture f(true);
        populate(f);
        f.evaluator->TransID(text);
        f.evaluator->Evaluate(QStringLiteral("Results.ILines = TrueLines\nx = TransID"));
        QCOMPARE(f.evaluator->ErrorNumber(), 0);
        QCOMPARE(f.evaluator->ResultLines(), lines);
        QCOMPARE(f.evaluator->InputsRead().last().value.toString(),
                 transID.isEmpty() ? text : transID);
    }
};

VELORA_TEST(TestEvaluatorInputs)
#include "TestEvaluatorInputs.moc"
