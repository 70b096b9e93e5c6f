#include "DetailFixture.h"
#include "common/TestMain.h"
#include "suite/HXLogin.h"

#include <QPushButton>
#include <QTest>

using velora::common::MessageAnswer;
using velora::common::MessageIcon;
using velora::detail::ValueKind;
using velora::recalc::RecalcOutcome;
using velora::test::DetailFixture;

Q_DECLARE_METATYPE(velora::recalc::RecalcOutcome)

// Saving the week on a real database, through the pane's buttons where the operator would.
class TestWeekSaver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Only the changed values of the changed days; an emptied cell is zero; the group's
    // default account is never written.
    void savesOnlyChangedColumnsOfChangedDays() {
        DetailFixture g;
        g.row(1,
              "number_rpts, number_rpts_modified, chars, chars_modified, incent_pay, "
              "incent_pay_modified",
              "3, 3, 500, 480, 20, 20");
        g.row(2, "hours_typed, hours_typed_modified, lines_modified", "5, 5, 10");
        g.load();
        g.countWrites();
        g.type(ValueKind::Reports, 1, "4");
        g.type(ValueKind::IPay, 1, "22.50");
        g.type(ValueKind::Hours, 2, "5.004"); // below half a hundredth: no change
        g.type(ValueKind::TrueLines, 2, "");  // emptied: zero
        g.type(ValueKind::CharLines, 3, "");  // blank is zero: no change, no row
        QVERIFY(g.saver.SaveWeek());
        QVERIFY(!g.db.connection().isOpen());
        QCOMPARE(g.writes(), QStringLiteral("update update"));
        QCOMPARE(g.column("number_rpts_modified", 1), QStringLiteral("4"));
        QCOMPARE(g.column("incent_pay_modified", 1), QStringLiteral("22.5"));
        QCOMPARE(g.column("chars_modified", 1), QStringLiteral("480"));
        QCOMPARE(g.column("number_rpts", 1), QStringLiteral("3"));
        QCOMPARE(g.column("lines_modified", 2), QStringLiteral("0"));
        QCOMPARE(g.column("hours_typed_modified", 2), QStringLiteral("5"));
        QCOMPARE(g.text(ValueKind::CharLines, 3), QStringLiteral("0"));
        QCOMPARE(g.rowCount(), 2);
        // The week buffer holds what was written: saving again sends nothing.
        QVERIFY(g.saver.SaveWeek());
        for (velora::detail::DayRecord& record : g.week)
            record.AccountID = -1;
        g.type(ValueKind::Reports, 5, "9");
        QVERIFY(g.saver.SaveWeek());
        QCOMPARE(g.writes(), QStringLiteral("update update"));
        QVERIFY(g.messages.shown.isEmpty());
    }

    // A new row holds the production values only: IHours, ITyped and IPay are the engine's
    // results. Neither Save Changes (save, then reload) nor leaving the week (a save, then the
    // load's own save) may store them.
    void incentiveValuesTypedOnANewDayAreNeverStored_data() {
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<bool>("saveChanges");
        QTest::newRow("hour mode 2, Save Changes") << 2 << true;
        QTest::newRow("hour mode 1, Save Changes") << 1 << true;
        QTest::newRow("hour mode 2, leaving the week") << 2 << false;
    }
    void incentiveValuesTypedOnANewDayAreNeverStored() {
        QFETCH(int, hourMode);
        QFETCH(bool, saveChanges);
        DetailFixture g;
        g.hourMode = hourMode;
        g.activity(4, 9000);
        g.load();
        g.countWrites();
        g.type(ValueKind::IPay, 4, "15.00");
        g.type(ValueKind::ITyped, 4, "2.00");
        g.type(ValueKind::IHours, 4, "1.00");
        g.type(ValueKind::CharLines, 4, "1200");
        if (hourMode == 2)
            g.type(ValueKind::Hours, 4, "6.5");
        if (saveChanges) {
            g.messages.queue(MessageAnswer::No);
            g.pane.saveChanges()->click();
        } else {
            QVERIFY(g.saver.SaveWeek()); // the explorer's lost focus
            g.load("11");
        }
        QCOMPARE(g.writes(), QStringLiteral("insert"));
        QCOMPARE(g.column("chars_modified", 4), QStringLiteral("1200"));
        QCOMPARE(g.column("hours_typed_modified", 4), QString(hourMode == 2 ? "6.5" : "0"));
        for (const char* pay :
             {"incent_pay_modified", "incent_typed_modified", "incent_hours_typed_modified"})
            QCOMPARE(g.column(pay, 4), QStringLiteral("0"));
        if (saveChanges) {
            QCOMPARE(g.text(ValueKind::IPay, 4), QStringLiteral("0.00"));
            QCOMPARE(g.text(ValueKind::Hours, 4), QString(hourMode == 2 ? "6.5" : "2.5"));
        }
        QCOMPARE(g.messages.shown.size(), saveChanges ? 1 : 0);
    }

    // A week is saved whole or not at all. A day that fails takes the days before it back, and
    // the buffer still knows which rows are new, so the next save writes them all.
    void aSaveIsAllOrNothing() {
        DetailFixture g;
        g.load();
        g.row(2); // created meanwhile by another workstation: the INSERT of day 2 fails
        for (int d = 1; d <= 3; ++d)
            g.type(ValueKind::Reports, d, QString::number(d * 10));
        QVERIFY(!g.saver.SaveWeek());
        QVERIFY(!g.db.connection().isOpen());
        QCOMPARE(g.messages.shown.size(), 1);
        QVERIFY(g.messages.shown.first().text.startsWith(
            QStringLiteral("Error: cannot save user data\r\n\r\nError ")));
        QCOMPARE(g.rowCount(), 1);
        QVERIFY(!g.week[1].Stored);
        g.exec("DELETE FROM Trans_incentive");
        QVERIFY(g.saver.SaveWeek());
        QCOMPARE(g.column("number_rpts_modified", 1), QStringLiteral("10"));
        QCOMPARE(g.column("number_rpts_modified", 3), QStringLiteral("30"));
    }

    // Save Changes against a database another workstation holds locked: nothing is written,
    // the typed values stay on screen, nothing is reloaded over them and no recalculation is
    // offered. Once the lock is gone the same Save Changes stores them.
    void saveChangesOnABusyDatabaseKeepsTheTypedValues() {
        DetailFixture g;
        g.row(1, "lines, lines_modified", "40, 40");
        g.load();
        g.db.connection().close();
        velora::db::ConnectionOptions impatient = g.db.connection().options();
        impatient.busyTimeoutMs = 50;
        g.db.connection().setOptions(impatient);
        g.type(ValueKind::TrueLines, 1, "45");
        g.type(ValueKind::Reports, 2, "3");
        const auto other = g.db.openAnother();
        other->beginTransaction(); // a write lock until it ends
        g.pane.saveChanges()->click();
        QCOMPARE(g.messages.shown.size(), 1);
        QVERIFY(g.messages.shown.first().text.startsWith(QStringLiteral("Error: cannot save")));
        QCOMPARE(g.text(ValueKind::TrueLines, 1), QStringLiteral("45"));
        QCOMPARE(g.text(ValueKind::Reports, 2), QStringLiteral("3"));
        QCOMPARE(g.shown, 1);
        QVERIFY(g.recalculations.isEmpty());
        QCOMPARE(g.busy, 0);
        other->rollback();
        QCOMPARE(g.column("lines_modified", 1), QStringLiteral("40"));
        QCOMPARE(g.rowCount(), 1);

        g.messages.queue(MessageAnswer::No);
        g.pane.saveChanges()->click();
        QCOMPARE(g.column("lines_modified", 1), QStringLiteral("45"));
        QCOMPARE(g.column("number_rpts_modified", 2), QStringLiteral("3"));
        QCOMPARE(g.shown, 2);
    }

    // A cell that is not a number as the grid takes it - digit grouping included, which one
    // region reads as a decimal point - stops the whole save with one message naming the
    // decimal separator; the text stays in the cell to be corrected.
    void refusedCellText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("separator");
        QTest::newRow("German grouping") << "de_DE"
                                         << "69.530"
                                         << ",";
        QTest::newRow("American grouping") << "en_US"
                                           << "1,200"
                                           << ".";
        QTest::newRow("French space grouping") << "fr_FR"
                                               << "1 200"
                                               << ",";
        QTest::newRow("letters") << "en_US"
                                 << "12a"
                                 << ".";
        QTest::newRow("a statement") << "en_US"
                                     << "0, locked = 0"
                                     << ".";
    }
    void refusedCellText() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, separator);
        DetailFixture g(locale.toLatin1().constData());
        g.row(1, "incent_pay, incent_pay_modified", "5, 5");
        g.load();
        g.countWrites();
        g.type(ValueKind::Reports, 0, "7");
        g.type(ValueKind::IPay, 1, typed);
        g.pane.saveChanges()->click();
        QCOMPARE(g.messages.shown.size(), 1);
        const auto& shown = g.messages.shown.first();
        const QString start =
            QStringLiteral("Error: cannot determing data change state\r\n\r\nError 13:\"") + typed;
        QVERIFY2(shown.text.startsWith(start), qPrintable(shown.text));
        const QString decimal =
            QStringLiteral("with \"") + separator + QStringLiteral("\" as the decimal separator");
        QVERIFY2(shown.text.contains(decimal), qPrintable(shown.text));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QCOMPARE(g.text(ValueKind::IPay, 1), typed);
        QCOMPARE(g.shown, 1);
        // Opening another account asks: No keeps the week in view, Yes discards it.
        g.messages.queue(MessageAnswer::Ok); // the refusal again
        g.messages.queue(MessageAnswer::No);
        g.load("11");
        QCOMPARE(g.messages.shown.size(), 3);
        QCOMPARE(g.messages.shown.last().buttons, velora::common::MessageButtons::YesNo);
        QCOMPARE(g.text(ValueKind::IPay, 1), typed);
        QCOMPARE(g.week[1].AccountID, 10);
        QCOMPARE(g.shown, 2);
        g.load("11");
        QCOMPARE(g.week[1].AccountID, 11);
        QCOMPARE(g.writes(), QString());
    }

    // Save Changes offers the user's recalculation. The window waits for the engine's
    // completion only after a run that completed; a cancelled or failed run leaves it usable
    // and the operator is told the figures were not recalculated.
    void saveChangesOffersTheRecalculation_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<RecalcOutcome>("outcome");
        QTest::addColumn<int>("busy");
        QTest::addColumn<QString>("notice");
        const QString notice = QStringLiteral(
            "The incentive values were not recalculated, so the figures on screen do not include "
            "the changes just saved. Choose Update Incentive Values in the File menu to "
            "recalculate them.");
        QTest::newRow("no") << MessageAnswer::No << RecalcOutcome{} << 0 << QString();
        QTest::newRow("completed") << MessageAnswer::Yes << RecalcOutcome{} << 1 << QString();
        QTest::newRow("cancelled")
            << MessageAnswer::Yes << RecalcOutcome{RecalcOutcome::Result::Cancelled, {}} << 0
            << notice;
        QTest::newRow("queued") << MessageAnswer::Yes
                                << RecalcOutcome{RecalcOutcome::Result::Queued, {}} << 0
                                << RecalcOutcome::queuedNotice();
        QTest::newRow("failed") << MessageAnswer::Yes
                                << RecalcOutcome::failed(5, QStringLiteral("database is locked"))
                                << 0 << notice + "\r\n\r\nError 5:database is locked";
    }
    void saveChangesOffersTheRecalculation() {
        QFETCH(MessageAnswer, answer);
        QFETCH(RecalcOutcome, outcome);
        QFETCH(int, busy);
        QFETCH(QString, notice);
        DetailFixture g;
        g.load();
        g.recalcOutcome = outcome;
        g.type(ValueKind::Reports, 0, "2");
        g.messages.queue(answer);
        g.pane.saveChanges()->click();
        QCOMPARE(g.column("number_rpts_modified", 0), QStringLiteral("2"));
        QCOMPARE(g.shown, 2);
        QCOMPARE(g.messages.shown.first().text, QStringLiteral("Do you wish to recalculate now?"));
        QCOMPARE(g.recalculations, answer == MessageAnswer::Yes
                                       ? QStringList{"Trans_info.trans_id = 'o''neil'"}
                                       : QStringList{});
        QCOMPARE(g.busy, busy);
        QCOMPARE(g.messages.shown.size(), notice.isEmpty() ? 1 : 2);
        if (!notice.isEmpty()) {
            QCOMPARE(g.messages.shown.last().text, notice);
            QCOMPARE(g.messages.shown.last().title, QStringLiteral("Velora Incentive"));
        }
    }

    // The system-hours button through the suite's login component on the same database: the
    // day's row is created first, the edited hours come back, and the next save refreshes the
    // four hours columns from the activity log.
    void systemHoursEditsTheActivityLog() {
        DetailFixture g;
        g.hourMode = 1;
        g.activity(4, 9000);
        g.activity(4, 1800, 2);
        g.load();
        velora::suite::HXLogin login(g.db.connection());
        login.setWorkTimePrompt(
            [](const velora::suite::WorkTimeRequest&) { return std::optional<int>(27000); });
        QStringList calls;
        g.editWorkTime = [&](const QString& date, QString& transID, int unused, QString& hours,
                             QString& second, bool flag) {
            calls << date << transID << QString::number(unused) << hours << second
                  << QVariant(flag).toString();
            return login.EditWorkTimeInternal(date, transID, unused, hours, second, flag);
        };
        g.pane.systemHours(4)->click();
        QCOMPARE(calls, (QStringList{"11/08/2012", "o'neil", "0", "2.5", "0", "true"}));
        QCOMPARE(g.text(ValueKind::Hours, 4), QStringLiteral("7.5"));
        QCOMPARE(g.rowCount(), 1);

        QVERIFY(g.saver.SaveWeek());
        QCOMPARE(g.column("hours_system_modified", 4), QStringLiteral("7.5"));
        QCOMPARE(g.column("hours_other_modified", 4), QStringLiteral("0.5"));
        QCOMPARE(g.column("hours_typed_modified", 4), QStringLiteral("0"));

        // A cell that is no number: no row, no dialog.
        g.type(ValueKind::Reports, 6, "x");
        g.pane.systemHours(6)->click();
        QVERIFY(!g.db.connection().isOpen());
        QCOMPARE(g.rowCount(), 1);
        QCOMPARE(g.messages.shown.size(), 1);
        QCOMPARE(calls.size(), 6);
    }
};

VELORA_TEST(TestWeekSaver)
#include "TestWeekSaver.moc"
