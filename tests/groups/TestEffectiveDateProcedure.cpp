#include "GroupsFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;

namespace {

const QString kFirstTitle = QStringLiteral("First title");
const QString kFirstPrompt = QStringLiteral("First prompt");
const QString kInvalid =
    QStringLiteral("The date you entered is invalid. Please re-enter a valid effective date:");
const QString kReenter = QStringLiteral("Please re-enter a valid effective date:");

// "2:text" is a prompt left with OK and that text, "1:" a cancelled one, "3:text" the close box.
void queueAnswers(test::ScriptedPrompter& prompter, const QStringList& answers) {
    for (const QString& answer : answers)
        prompter.queue(answer.section(QLatin1Char(':'), 0, 0).toInt(),
                       answer.section(QLatin1Char(':'), 1));
}

} // namespace

class TestEffectiveDateProcedure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void askingLoop_data() {
        QTest::addColumn<bool>("formula");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("questionAnswers"); // Y or N per "changes will be lost"
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("prompts");

        const auto row = [](const char* name, const QStringList& answers, const char* confirm,
                            const char* expected, const QStringList& prompts) {
            QTest::newRow(name) << QString(name).startsWith("formula") << answers
                                << QString(confirm) << QString(expected) << prompts;
        };
        const QStringList first{kFirstPrompt};
        const QStringList invalid{kFirstPrompt, kInvalid};
        row("group: cancel", {"1:"}, "", "", first);
        row("group: close box keeps nothing", {"3:05/01/2024"}, "", "", first);
        row("group: invalid, then valid", {"2:13/45/2024", "2:5/1/2024"}, "", "5/1/2024", invalid);
        row("group: invalid, then cancel", {"2:soon", "1:"}, "", "", invalid);
        row("formula: cancel, then confirm", {"1:"}, "Y", "", first);
        row("formula: cancel, refuse, then valid", {"1:", "2:05/02/2024"}, "N", "05/02/2024",
            {kFirstPrompt, kReenter});
        row("formula: invalid, cancel, confirm", {"2:soon", "3:x"}, "Y", "", invalid);
    }

    void askingLoop() {
        QFETCH(bool, formula);
        QFETCH(QStringList, answers);
        QFETCH(QString, questionAnswers);
        QFETCH(QString, expected);
        QFETCH(QStringList, prompts);
        test::GroupsFixture f(false);
        queueAnswers(f.prompter, answers);
        for (QChar answer : questionAnswers)
            f.messages.queue(answer == QLatin1Char('Y') ? common::MessageAnswer::Yes
                                                        : common::MessageAnswer::No);

        const QString date =
            f.procedure.AskForDate(kFirstTitle, kFirstPrompt,
                                   formula ? groups::EffectiveDateVariant::Formula
                                           : groups::EffectiveDateVariant::GroupOrUser);

        QCOMPARE(date, expected);
        QStringList asked;
        for (const auto& prompt : f.prompter.asked) {
            asked << prompt.prompt;
            QVERIFY(prompt.dateMode);
            QCOMPARE(prompt.defaultValue, QStringLiteral("05/15/2024"));
            QCOMPARE(prompt.title, prompt.prompt == kFirstPrompt
                                       ? kFirstTitle
                                       : QStringLiteral("Effective Date for Change"));
        }
        QCOMPARE(asked, prompts);
        QCOMPARE(f.messages.shown.size(), questionAnswers.size());
        for (const auto& shown : f.messages.shown) {
            QCOMPARE(shown.text,
                     QStringLiteral("Changes will be lost! Are you sure you wish to cancel?"));
            QCOMPARE(shown.buttons, common::MessageButtons::YesNo);
        }
    }
};

VELORA_TEST(TestEffectiveDateProcedure)
#include "TestEffectiveDateProcedure.moc"
