#include "FormulaPreview.h"
#include "FormulaWizard.h"
#include "NumbersPage.h"
#include "PreviewPage.h"
#include "ShapePage.h"
#include "WizardState.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "suite/HXRegion.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velora::wizard;

namespace {

// Ann's production: the week of Sunday 1 March 2026 on two accounts, a day before it and
// another user's day inside it. Stored pay is what an older formula paid.
void addProduction(velora::test::TestDatabase& db) {
    db.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name) VALUES "
                           "(10, 'Mercy'), (20, 'St. Luke')"));
    db.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, trans_type, "
                           "extra3, incentive_group_id) VALUES ('ann', 'Ann', 'Lee', 1, 0, 1), "
                           "('bob', 'Bob', 'Ray', 1, 0, 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, lines_modified, "
        "hours_typed_modified, incent_pay_modified) VALUES "
        "('ann', 10, '2026-02-28', 5000, 8, 1), ('ann', 10, '2026-03-02', 1000, 8, 70), "
        "('ann', 20, '2026-03-02', 200, 1, 14), ('ann', 10, '2026-03-07', 500, 4, 35), "
        "('bob', 10, '2026-03-03', 900, 8, 63)"));
}

} // namespace

// The pages refuse what they cannot use with the reason beside the field, the preview shows
// what the formula pays, and leaving without Finish writes nothing.
class TestWizardPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lastFullWeekEndsBeforeTodaysWeek_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("firstDayOfWeek");
        QTest::addColumn<QDate>("first");
        QTest::newRow("Sunday weeks, on a Sunday") << QDate(2026, 3, 8) << 1 << QDate(2026, 3, 1);
        QTest::newRow("Sunday weeks, on a Saturday")
            << QDate(2026, 3, 14) << 1 << QDate(2026, 3, 1);
        QTest::newRow("Monday weeks, on a Sunday") << QDate(2026, 3, 8) << 2 << QDate(2026, 2, 23);
        QTest::newRow("Saturday weeks") << QDate(2026, 3, 9) << 7 << QDate(2026, 2, 28);
    }
    void lastFullWeekEndsBeforeTodaysWeek() {
        QFETCH(QDate, today);
        QFETCH(int, firstDayOfWeek);
        QTEST(FormulaPreview::lastFullWeek(today, firstDayOfWeek), "first");
    }

    void weekComparesNewPayWithStoredPay() {
        velora::test::TestDatabase db;
        addProduction(db);
        FormulaPreview preview(db.connection());
        const FormulaPreview::Week week =
            preview.week(QStringLiteral("Results.IPay = TrueLines * 0.1"), QStringLiteral("ann"),
                         QDate(2026, 3, 1));
        QCOMPARE(week.error.number, 0);
        QCOMPARE(week.days.size(), 7);
        QCOMPARE(week.days[1].day, QDate(2026, 3, 2));
        QCOMPARE(week.days[1].rows, 2);
        QCOMPARE(week.days[1].newPay, 120.0); // both accounts of the day
        QCOMPARE(week.days[1].storedPay, 84.0);
        QCOMPARE(week.days[2].rows, 0); // Bob's day is not Ann's
        QCOMPARE(week.newTotal, 170.0);
        QCOMPARE(week.storedTotal, 119.0);

        const FormulaPreview::DayResults failing =
            preview.day(QStringLiteral("Dim a\r\na = 0\r\nResults.IPay = TrueLines / a"),
                        QStringLiteral("ann"), 10, QDate(2026, 3, 2));
        QCOMPARE(failing.error.number, 11);
        QCOMPARE(failing.error.line, 3);
    }

    void pagesRefuseOnThePageAndCancelWritesNothing() {
        velora::test::TestDatabase db;
        addProduction(db);
        const velora::suite::HXRegion region{QLocale(QStringLiteral("en_US"))};
        velora::test::ScriptedMessages messages;
        WizardState state{db.connection(), region, messages, 0, {}};
        QTemporaryDir dir;
        FormulaWizard wizard(state, dir.path());
        wizard.restart();
        wizard.shapePage()->setShape(SchemeShape::TieredRates);
        wizard.next();
        QCOMPARE(wizard.currentId(), static_cast<int>(FormulaWizard::Numbers));

        NumbersPage* numbers = wizard.numbersPage();
        const auto type = [&](const char* field, const QString& text) {
            auto* edit = numbers->findChild<QLineEdit*>(QLatin1String("txt") + field);
            QVERIFY(edit);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
        };
        const auto reason = [&](const char* field) {
            return numbers
                ->findChild<QLabel*>(QLatin1String("lbl") + field + QLatin1String("Problem"))
                ->text();
        };
        numbers->findChild<QSpinBox*>(QStringLiteral("spnBands"))->setValue(3);
        type("bandLimit_0", QStringLiteral("2,000"));
        type("bandRate_0", QStringLiteral("0.07"));
        type("bandLimit_1", QStringLiteral("1000"));
        // Refused as typed, before Next is pressed; fields not yet typed in stay quiet.
        QCOMPARE(reason("bandLimit_1"),
                 QStringLiteral("Tiers out of order: this limit must be above 2,000."));
        QCOMPARE(reason("lastBandRate"), QString());
        type("bandRate_1", QStringLiteral("-1"));
        QCOMPARE(reason("bandRate_1"), QStringLiteral("A rate cannot be negative."));
        wizard.next();
        QCOMPARE(wizard.currentId(), static_cast<int>(FormulaWizard::Numbers));
        QCOMPARE(reason("lastBandRate"), QStringLiteral("Type a number."));

        type("bandLimit_1", QStringLiteral("3000"));
        type("bandRate_1", QStringLiteral("0.08"));
        type("lastBandRate", QStringLiteral("0.09"));
        QCOMPARE(reason("bandLimit_1"), QString());
        wizard.next();
        wizard.next();
        QCOMPARE(wizard.currentId(), static_cast<int>(FormulaWizard::Preview));

        // The preview runs the formula for a day of the database; a broken edit is refused
        // with its error and line.
        PreviewPage* preview = wizard.previewPage();
        auto* users = preview->findChild<QComboBox*>(QStringLiteral("cmbUser"));
        users->setCurrentIndex(users->findData(QStringLiteral("ann")));
        auto* accounts = preview->findChild<QComboBox*>(QStringLiteral("cmbAccount"));
        accounts->setCurrentIndex(accounts->findData(10));
        preview->findChild<QDateEdit*>(QStringLiteral("dtpDay"))->setDate(QDate(2026, 3, 2));
        QCOMPARE(preview->findChild<QLabel*>(QStringLiteral("lblResultIPay"))->text(),
                 QStringLiteral("70.00"));
        preview->setToday(QDate(2026, 3, 9));
        preview->refresh();
        auto* week = preview->findChild<QTableWidget*>(QStringLiteral("grdWeek"));
        QCOMPARE(week->item(7, 1)->text(), QStringLiteral("119.00")); // 70 + 14 + 35
        QCOMPARE(week->item(7, 2)->text(), QStringLiteral("119.00"));

        preview->setFormulaText(preview->formulaText() + QStringLiteral("\nResults.IPay = ("));
        wizard.next();
        QCOMPARE(wizard.currentId(), static_cast<int>(FormulaWizard::Preview));
        QVERIFY(preview->findChild<QLabel*>(QStringLiteral("lblCompileStatus"))
                    ->text()
                    .contains(QStringLiteral("on line 14")));

        wizard.reject();
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(messages.shown.isEmpty());
    }
};

VELORA_TEST(TestWizardPages)
#include "TestWizardPages.moc"
