#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "suite/HXLogin.h"
#include "suite/SuiteError.h"
#include "suite/WorkTimeDialog.h"
#include "suite/WorkTimeEditor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using velora::suite::HXLogin;
using velora::suite::SuiteError;
using velora::suite::WorkTimeActivity;
using velora::suite::WorkTimeDialog;
using velora::suite::WorkTimeEditor;
using velora::suite::WorkTimeRequest;

class TestWorkTimeEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<velora::test::TestDatabase> db_;
    const QDate day_{2024, 3, 5};

    void activity(const QString& transId, const QString& date, int seconds, int workType,
                  int updateType, int counted = 1) {
        db_->exec(QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                                 "work_type, update_type, count_activity) VALUES ('%1', '%2', %3, "
                                 "%4, %5, %6)")
                      .arg(QString(transId).replace(QLatin1Char('\''), QStringLiteral("''")), date)
                      .arg(seconds)
                      .arg(workType)
                      .arg(updateType)
                      .arg(counted));
    }

    // The day's system hours as the weekly grid reads them in hour mode 1.
    QString gridHours(const QString& transId, const QString& date = QStringLiteral("2024-03-05")) {
        return db_->scalar(
            QStringLiteral("SELECT ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / "
                           "3600.0) FROM Trans_activity TA1 WHERE TA1.shift_date = '%1' AND "
                           "TA1.trans_id = '%2' AND TA1.work_type = 1 AND TA1.update_type = 9),0)")
                .arg(date, transId));
    }

    QString rows(const QString& condition) {
        return db_->scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_activity WHERE ") +
                           condition);
    }

private Q_SLOTS:
    void init() {
        db_ = std::make_unique<velora::test::TestDatabase>();
        activity(QStringLiteral("T100"), QStringLiteral("2024-03-05"), 3600, 1, 9);
        activity(QStringLiteral("T100"), QStringLiteral("2024-03-05"), 5400, 1, 9);
        activity(QStringLiteral("T100"), QStringLiteral("2024-03-05"), 1800, 2, 9);
        activity(QStringLiteral("T100"), QStringLiteral("2024-03-05"), 600, 1, 6);
        activity(QStringLiteral("T100"), QStringLiteral("2024-03-06"), 7200, 1, 9);
        activity(QStringLiteral("T200"), QStringLiteral("2024-03-05"), 7200, 1, 9);
    }
    void cleanup() { db_.reset(); }

    // One row holds the day's new total; other work, left-out time, other days and other users
    // stay as collected, and a total outside one day changes nothing.
    void replacesOnlyTheSystemTimeOfThatDay() {
        WorkTimeEditor editor(db_->connection());
        QVERIFY_THROWS_EXCEPTION(SuiteError,
                                 editor.replaceSystemTime(QStringLiteral("T100"), day_, 86401));
        QVERIFY_THROWS_EXCEPTION(SuiteError,
                                 editor.replaceSystemTime(QStringLiteral("T100"), day_, -1));
        QCOMPARE(gridHours("T100"), QStringLiteral("2.5"));
        editor.replaceSystemTime(QStringLiteral("T100"), day_, 27000);
        QCOMPARE(gridHours("T100"), QStringLiteral("7.5"));
        QCOMPARE(rows(QStringLiteral("trans_id = 'T100' AND shift_date = '2024-03-05' AND "
                                     "work_type = 1 AND update_type = 9")),
                 QStringLiteral("1"));
        QCOMPARE(rows(QStringLiteral("trans_id = 'T100' AND shift_date = '2024-03-05'")),
                 QStringLiteral("3"));
        QCOMPARE(gridHours("T100", "2024-03-06"), QStringLiteral("2"));
        QCOMPARE(gridHours("T200"), QStringLiteral("2"));
    }

    void hoursText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("seconds"); // -1: refused
        const auto row = [](const char* locale, const char* typed, int seconds) {
            QTest::newRow(typed) << QString::fromLatin1(locale) << QString::fromLatin1(typed)
                                 << seconds;
        };
        row("en_US", "7.5", 27000);
        row("en_US", "7.51", 27036);
        row("en_US", "0", 0);
        row("en_US", "24", 86400);
        row("de_DE", "7,25", 26100);
        for (const char* typed : {"abc", "", "24.01", "-1", "1; DELETE FROM Trans_activity"})
            row("en_US", typed, -1);
    }
    void hoursText() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(int, seconds);
        const QLocale regional(locale);
        if (seconds < 0) {
            QVERIFY_THROWS_EXCEPTION(SuiteError, WorkTimeEditor::secondsOfHours(typed, regional));
            return;
        }
        QCOMPARE(WorkTimeEditor::secondsOfHours(typed, regional), seconds);
        QCOMPARE(WorkTimeEditor::hoursText(seconds, regional), typed);
    }

    // The dialog is shown the day's rows and total; OK writes the answer and hands back the
    // new hours, while Cancel or a read-only dialog change nothing. The connection is left as
    // it was found. A user id with a quote stays inside its literal.
    void editWorkTimeInternal_data() {
        QTest::addColumn<QString>("transId");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<int>("activities");
        QTest::addColumn<QString>("hours"); // after the edit
        QTest::newRow("answered") << "T100" << true << true << 4 << "7.5";
        QTest::newRow("cancelled") << "T100" << false << true << 4 << "2.5";
        QTest::newRow("read-only") << "T100" << true << false << 4 << "2.5";
        QTest::newRow("quoted id") << "O'Neil" << true << true << 1 << "7.5";
    }
    void editWorkTimeInternal() {
        QFETCH(QString, transId);
        QFETCH(bool, answered);
        QFETCH(bool, editable);
        QFETCH(int, activities);
        QFETCH(QString, hours);
        activity(QStringLiteral("O'Neil"), QStringLiteral("2024-03-05"), 9000, 1, 9);
        HXLogin login(db_->connection());
        WorkTimeRequest seen;
        login.setWorkTimePrompt([&](const WorkTimeRequest& request) -> std::optional<int> {
            seen = request;
            return answered ? std::optional<int>(27000) : std::nullopt;
        });
        db_->connection().close();
        QString id = transId;
        QString shown = QStringLiteral("2.5");
        QString seconds = QStringLiteral("0");
        QCOMPARE(login.EditWorkTimeInternal(QStringLiteral("03/05/2024"), id, 0, shown, seconds,
                                            editable),
                 answered && editable);
        QCOMPARE(shown, hours);
        QCOMPARE(seen.day, day_);
        QCOMPARE(seen.activities.size(), std::size_t(activities));
        QCOMPARE(seen.systemSeconds, 9000);
        QCOMPARE(seen.editable, editable);
        QVERIFY(!db_->connection().isOpen());
        db_->connection().open();
        const QString other = transId == QLatin1String("T100") ? "O''Neil" : "T100";
        QCOMPARE(gridHours(QString(transId).replace(u'\'', QStringLiteral("''"))), hours);
        QCOMPARE(gridHours(other), QStringLiteral("2.5"));
        // T100's two rows of system time become one; everything else stays.
        const bool merged = answered && editable && transId == QLatin1String("T100");
        QCOMPARE(rows(QStringLiteral("1 = 1")), merged ? QStringLiteral("6") : QStringLiteral("7"));
    }

    void dialogShowsTheDayAndAcceptsOnlyHours() {
        WorkTimeEditor editor(db_->connection());
        WorkTimeRequest request;
        request.transID = QStringLiteral("T100");
        request.day = day_;
        request.dateText = QStringLiteral("03/05/2024");
        request.activities = editor.activities(request.transID, day_);
        request.systemSeconds = WorkTimeEditor::systemSeconds(request.activities);
        request.locale = QLocale(QStringLiteral("en_US"));
        WorkTimeDialog dialog(request);
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("grdActivity"));
        auto* total = dialog.findChild<QLineEdit*>(QStringLiteral("txtSystemHours"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(table && total && ok);
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(total->text(), QStringLiteral("2.5"));
        total->setText(QStringLiteral("eight"));
        QVERIFY(!ok->isEnabled());
        total->setText(QStringLiteral("8.25"));
        QVERIFY(ok->isEnabled());
        ok->click();
        QCOMPARE(dialog.answer(), std::optional<int>(29700));
    }
};

VELORA_TEST(TestWorkTimeEditor)
#include "TestWorkTimeEditor.moc"
