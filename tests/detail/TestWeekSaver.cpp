#include "DetailFixture.h"
#include "common/TestMain.h"
#include "detail/WeekSaver.h"
#include "suite/HXLogin.h"

#include <QPushButton>
#include <QTest>

using velora::common::MessageAnswer;
using velora::common::MessageButtons;
using velora::common::MessageIcon;
using velora::detail::ValueKind;
using velora::detail::WeekSaver;

class TestWeekSaver : public QObject {
    Q_OBJECT

    std::unique_ptr<velora::test::DetailFixture> fx_;
    QStringList recalculations_;
    std::unique_ptr<WeekSaver> saver_;
    std::function<bool(const QString&, QString&, int, QString&, QString&, bool)> editWorkTime_;

    void makeSaver() {
        saver_ = std::make_unique<WeekSaver>(
            fx_->context,
            WeekSaver::Actions{fx_->loadRecorder(),
                               [this](const QString& filter) { recalculations_ << filter; },
                               [this](const QString& date, QString& transID, int unused,
                                      QString& hours, QString& second, bool flag) {
                                   return editWorkTime_(date, transID, unused, hours, second, flag);
                               }});
    }

    void activity(int day, int seconds, int workType = 1, int updateType = 9) {
        fx_->db.exec(
            QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, "
                           "activity_time, work_type, update_type) VALUES ('O''Neil', "
                           "'%1', %2, %3, %4)")
                .arg(velora::test::DetailFixture::kStart.addDays(day).toString(Qt::ISODate))
                .arg(seconds)
                .arg(workType)
                .arg(updateType));
    }

private Q_SLOTS:
    void init() {
        fx_ = std::make_unique<velora::test::DetailFixture>();
        recalculations_.clear();
        editWorkTime_ = [](const QString&, QString&, int, QString&, QString&, bool) {
            return false;
        };
        makeSaver();
    }
    void cleanup() {
        saver_.reset();
        fx_.reset();
    }

    void savesOnlyChangedColumnsOfChangedDays() {
        fx_->storeRow(1,
                      QStringLiteral("number_rpts, number_rpts_modified, chars, "
                                     "chars_modified, incent_pay, incent_pay_modified"),
                      QStringLiteral("3, 3, 500, 480, 20, 20"));
        fx_->fillDay(1, {3, 0, 480, 0, 0, 0, 20}, true);
        fx_->storeRow(2, QStringLiteral("lines, lines_modified"), QStringLiteral("40, 40"));
        fx_->fillDay(2, {0, 0, 0, 40, 0, 0, 0}, true);
        fx_->countStatements();
        fx_->type(ValueKind::Reports, 1, QStringLiteral("4"));
        fx_->type(ValueKind::IPay, 1, QStringLiteral("22.50"));
        fx_->type(ValueKind::Hours, 2, QStringLiteral("0.004")); // no change
        fx_->db.connection().close();

        saver_->SaveWeek();

        QCOMPARE(fx_->writes(), QStringLiteral("update"));
        QCOMPARE(fx_->column(QStringLiteral("number_rpts_modified"), 1), QStringLiteral("4"));
        QCOMPARE(fx_->column(QStringLiteral("incent_pay_modified"), 1), QStringLiteral("22.5"));
        // An unchanged cell is not written even where the stored value differs.
        QCOMPARE(fx_->column(QStringLiteral("chars_modified"), 1), QStringLiteral("480"));
        QCOMPARE(fx_->column(QStringLiteral("number_rpts"), 1), QStringLiteral("3"));
        QCOMPARE(fx_->rowCount(), 2);
        QVERIFY(fx_->messages.shown.isEmpty());
    }

    void nothingChangedSendsNoStatement() {
        fx_->storeRow(0);
        fx_->fillDay(0, {}, true);
        fx_->countStatements();
        saver_->SaveWeek();
        QVERIFY(!fx_->db.connection().isOpen());
        QCOMPARE(fx_->writes(), QString());
    }

    void dayWithoutRowGetsItsProductionValuesOnly() {
        fx_->type(ValueKind::IPay, 4, QStringLiteral("15.00"));
        fx_->type(ValueKind::ITyped, 4, QStringLiteral("2.00"));
        fx_->type(ValueKind::Hours, 4, QStringLiteral("6.5"));
        fx_->type(ValueKind::CharLines, 4, QStringLiteral("1,200"));
        saver_->SaveWeek();
        QCOMPARE(fx_->rowCount(), 1);
        QVERIFY(fx_->week[4].Stored);
        QCOMPARE(fx_->column(QStringLiteral("hosp_acct_id"), 4), QStringLiteral("12"));
        QCOMPARE(fx_->column(QStringLiteral("hours_typed_modified"), 4), QStringLiteral("6.5"));
        QCOMPARE(fx_->column(QStringLiteral("chars_modified"), 4), QStringLiteral("1200"));
        // The incentive values are the engine's results, never typed into a new row.
        QCOMPARE(fx_->column(QStringLiteral("incent_pay_modified"), 4), QStringLiteral("0"));
        QCOMPARE(fx_->column(QStringLiteral("incent_typed_modified"), 4), QStringLiteral("0"));
        QCOMPARE(fx_->cell(ValueKind::Hours, 4)->text(), QStringLiteral("6.5"));
    }

    void hourModeOneInsertEmptiesHours() {
        fx_->hourMode = 1;
        activity(3, 9000);
        fx_->fillDay(3, {0, 2.5f, 0, 0, 0, 0, 0}, false);
        fx_->type(ValueKind::Reports, 3, QStringLiteral("5"));
        saver_->SaveWeek();
        QCOMPARE(fx_->column(QStringLiteral("number_rpts_modified"), 3), QStringLiteral("5"));
        QCOMPARE(fx_->column(QStringLiteral("hours_typed_modified"), 3), QStringLiteral("0"));
        QCOMPARE(fx_->cell(ValueKind::Hours, 3)->text(), QString());
        QVERIFY(fx_->week[3].Stored);
    }

    void emptiedCellsStoreZero() {
        fx_->storeRow(5, QStringLiteral("chars_modified, incent_pay_modified"),
                      QStringLiteral("10, 7.5"));
        fx_->fillDay(5, {0, 0, 10, 0, 0, 0, 7.5f}, true);
        fx_->type(ValueKind::CharLines, 5, QString());
        fx_->type(ValueKind::IPay, 5, QString());
        fx_->type(ValueKind::Reports, 6, QString()); // blank but zero already: no row
        saver_->SaveWeek();
        QCOMPARE(fx_->cell(ValueKind::CharLines, 5)->text(), QStringLiteral("0"));
        QCOMPARE(fx_->cell(ValueKind::IPay, 5)->text(), QStringLiteral("0.00"));
        QCOMPARE(fx_->cell(ValueKind::Reports, 6)->text(), QStringLiteral("0"));
        QCOMPARE(fx_->column(QStringLiteral("chars_modified"), 5), QStringLiteral("0"));
        QCOMPARE(fx_->column(QStringLiteral("incent_pay_modified"), 5), QStringLiteral("0"));
        QCOMPARE(fx_->rowCount(), 1);
    }

    void defaultAccountIsNeverWritten() {
        for (int d = 0; d < 7; ++d) {
            fx_->week[static_cast<std::size_t>(d)].AccountID = -1;
            fx_->type(ValueKind::Reports, d, QStringLiteral("9"));
        }
        fx_->countStatements();
        saver_->SaveWeek();
        QCOMPARE(fx_->writes(), QString());
        QVERIFY(fx_->messages.shown.isEmpty());
    }

    void aCellThatIsNoNumberSkipsItsDayOnly() {
        fx_->storeRow(1, QStringLiteral("incent_pay_modified"), QStringLiteral("5"));
        fx_->fillDay(1, {0, 0, 0, 0, 0, 0, 5}, true);
        fx_->type(ValueKind::IPay, 1, QStringLiteral("6.00"));
        fx_->type(ValueKind::TrueLines, 1, QStringLiteral("12a"));
        fx_->type(ValueKind::Reports, 2, QStringLiteral("3"));
        saver_->SaveWeek();
        QCOMPARE(fx_->messages.shown.size(), 1);
        QVERIFY(fx_->messages.shown.first().text.startsWith(
            QStringLiteral("Error: cannot determing data change state\r\n\r\nError 13:")));
        QCOMPARE(fx_->messages.shown.first().icon, MessageIcon::Critical);
        QCOMPARE(fx_->messages.shown.first().title, QStringLiteral("Velora Incentive"));
        QCOMPARE(fx_->column(QStringLiteral("incent_pay_modified"), 1), QStringLiteral("5"));
        QCOMPARE(fx_->column(QStringLiteral("number_rpts_modified"), 2), QStringLiteral("3"));
        QVERIFY(fx_->cell(ValueKind::TrueLines, 1)->text() == QStringLiteral("12a"));
    }

    void aFailingDayStopsTheSave() {
        // Day 2 has a row the buffer does not know of (another workstation created it).
        fx_->storeRow(2);
        for (int d = 1; d <= 3; ++d)
            fx_->type(ValueKind::Reports, d, QString::number(d * 10));
        saver_->SaveWeek();
        QVERIFY(!fx_->db.connection().isOpen());
        QCOMPARE(fx_->messages.shown.size(), 1);
        QVERIFY(fx_->messages.shown.first().text.startsWith(
            QStringLiteral("Error: cannot save user data\r\n\r\nError ")));
        QCOMPARE(fx_->column(QStringLiteral("number_rpts_modified"), 1), QStringLiteral("10"));
        QCOMPARE(fx_->column(QStringLiteral("number_rpts_modified"), 2), QStringLiteral("0"));
        QCOMPARE(fx_->rowCount(), 2);
        QVERIFY(!fx_->week[2].Stored);
    }

    void saveChanges_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("yes") << MessageAnswer::Yes;
        QTest::newRow("no") << MessageAnswer::No;
    }
    void saveChanges() {
        QFETCH(MessageAnswer, answer);
        fx_->type(ValueKind::Reports, 0, QStringLiteral("2"));
        fx_->messages.queue(answer);
        saver_->bindButtons();
        fx_->pane.saveChanges()->click();
        QCOMPARE(fx_->column(QStringLiteral("number_rpts_modified"), 0), QStringLiteral("2"));
        QCOMPARE(fx_->loads.size(), 1);
        QCOMPARE(fx_->loads.first().transID, QStringLiteral("O'Neil"));
        QCOMPARE(fx_->loads.first().userName, QStringLiteral("Kate O'Neil"));
        QCOMPARE(fx_->loads.first().accountName, QStringLiteral("Acme Clinic"));
        QCOMPARE(fx_->loads.first().accountID, QStringLiteral("12"));
        QCOMPARE(fx_->messages.shown.size(), 1);
        QCOMPARE(fx_->messages.shown.first().text,
                 QStringLiteral("Do you wish to recalculate now?"));
        QCOMPARE(fx_->messages.shown.first().icon, MessageIcon::Question);
        QCOMPARE(fx_->messages.shown.first().buttons, MessageButtons::YesNo);
        const bool yes = answer == MessageAnswer::Yes;
        QCOMPARE(recalculations_,
                 yes ? QStringList{QStringLiteral("Trans_info.trans_id = 'O''Neil'")}
                     : QStringList{});
        QCOMPARE(fx_->busy, yes ? 1 : 0);
    }

    // The system-hours button through the suite's login component on the same database.
    void systemHoursEditsTheActivityLogAndTheNextSaveRefreshesHours() {
        fx_->hourMode = 1;
        activity(4, 9000);
        activity(4, 1800, 2);
        fx_->fillDay(4, {0, 2.5f, 0, 0, 0, 0, 0}, false);
        velora::suite::HXLogin login(fx_->db.connection());
        QList<velora::suite::WorkTimeRequest> asked;
        login.setWorkTimePrompt([&asked](const velora::suite::WorkTimeRequest& request) {
            asked << request;
            return std::optional<int>(27000);
        });
        QStringList calls;
        editWorkTime_ = [&](const QString& date, QString& transID, int unused, QString& hours,
                            QString& second, bool flag) {
            calls << date << transID << QString::number(unused) << hours << second
                  << QVariant(flag).toString();
            return login.EditWorkTimeInternal(date, transID, unused, hours, second, flag);
        };
        saver_->bindButtons();
        Q_EMIT fx_->pane.systemHoursClicked(4);

        QCOMPARE(calls, (QStringList{"03/07/2024", "O'Neil", "0", "2.5", "0", "true"}));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(fx_->cell(ValueKind::Hours, 4)->text(), QStringLiteral("7.5"));
        QVERIFY(fx_->week[4].Stored);
        QCOMPARE(fx_->rowCount(), 1); // created before the work time was edited

        saver_->SaveWeek();
        QCOMPARE(fx_->column(QStringLiteral("hours_system_modified"), 4), QStringLiteral("7.5"));
        QCOMPARE(fx_->column(QStringLiteral("hours_other_modified"), 4), QStringLiteral("0.5"));
        QCOMPARE(fx_->column(QStringLiteral("hours_typed_modified"), 4), QStringLiteral("0"));
        QVERIFY(fx_->messages.shown.isEmpty());
    }

    void systemHoursCancelledKeepsTheCell() {
        fx_->hourMode = 1;
        fx_->fillDay(5, {0, 2.5f, 0, 0, 0, 0, 0}, true);
        fx_->storeRow(5);
        saver_->SystemHours(5);
        QVERIFY(!fx_->db.connection().isOpen());
        QCOMPARE(fx_->cell(ValueKind::Hours, 5)->text(), QStringLiteral("2.5"));
        QCOMPARE(fx_->rowCount(), 1);
    }

    void systemHoursRefusesACellThatIsNoNumber() {
        fx_->hourMode = 1;
        fx_->type(ValueKind::Reports, 6, QStringLiteral("x"));
        bool edited = false;
        editWorkTime_ = [&edited](const QString&, QString&, int, QString&, QString&, bool) {
            edited = true;
            return true;
        };
        saver_->SystemHours(6);
        QVERIFY(!edited);
        QCOMPARE(fx_->rowCount(), 0);
        QCOMPARE(fx_->messages.shown.size(), 1);
        QCOMPARE(fx_->messages.shown.first().icon, MessageIcon::Critical);
    }
};

VELORA_TEST(TestWeekSaver)
#include "TestWeekSaver.moc"
