#include "FormulaTemplate.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "db/SqlText.h"
#include "engine/RecalcJob.h"

#include <QTest>

using velora::wizard::FormulaTemplate;
using velora::wizard::HourMeasure;
using velora::wizard::LineMeasure;
using velora::wizard::SchemeAnswers;
using velora::wizard::SchemeShape;

namespace {

// One production row and the pay the scheme's page promises for it, worked out by hand.
struct PaidDay {
    int account;
    QString day;
    double lines;
    double chars;
    double hoursTyped;
    double hoursSystem;
    double pay;
};
using PaidDays = QList<PaidDay>;

struct SilentObserver final : velora::engine::RecalcObserver {
    void progress(qint64, qint64) override {}
    void rowError(int number, const QString& text) override {
        errors << QString::number(number) + QLatin1Char(' ') + text;
    }
    bool cancelRequested() const override { return false; }
    QStringList errors;
};

SchemeAnswers answers(SchemeShape shape, double rate) {
    SchemeAnswers a;
    a.shape = shape;
    a.rate = rate;
    return a;
}

} // namespace

Q_DECLARE_METATYPE(SchemeAnswers)
Q_DECLARE_METATYPE(PaidDays)

// The generated formula of every shape, run by the engine's recalculation over rows of a real
// database, pays each day what the shape's page says it pays.
class TestSchemePay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recalculationPaysWhatThePagePromises_data() {
        QTest::addColumn<SchemeAnswers>("scheme");
        QTest::addColumn<PaidDays>("days");

        // 1,234 lines at 0.085 = 104.89; the char lines and hours must not matter.
        QTest::newRow("rate per line") << answers(SchemeShape::LineRate, 0.085)
                                       << PaidDays{{10, "2026-03-02", 1234, 5000, 8, 7, 104.89},
                                                   {10, "2026-03-03", 0, 900, 8, 8, 0}};

        // Bands: up to 1,000 at 0.07, up to 2,000 at 0.08, past that 0.09.
        SchemeAnswers tiered = answers(SchemeShape::TieredRates, 0);
        tiered.bands = {{1000, 0.07}, {2000, 0.08}};
        tiered.lastBandRate = 0.09;
        QTest::newRow("tiered rates")
            << tiered
            << PaidDays{{10, "2026-03-02", 800, 0, 8, 8, 56.00},    // 800 x 0.07
                        {10, "2026-03-03", 1000, 0, 8, 8, 70.00},   // the first band exactly
                        {10, "2026-03-04", 1500, 0, 8, 8, 110.00},  // 70 + 500 x 0.08
                        {10, "2026-03-05", 2600, 0, 8, 8, 204.00}}; // 70 + 80 + 600 x 0.09

        // 150 lines per hour of system time; 0.10 for each line above it.
        SchemeAnswers standard = answers(SchemeShape::ProductionStandard, 0.10);
        standard.standard = 150;
        standard.hours = HourMeasure::SystemHours;
        QTest::newRow("production standard")
            << standard
            << PaidDays{{10, "2026-03-02", 1500, 0, 6, 8, 30.00},    // 1,500 - 1,200 = 300
                        {10, "2026-03-03", 1000, 0, 4, 8, 0},        // below: nothing, not less
                        {10, "2026-03-04", 1230, 0, 9, 7.5, 10.50}}; // 1,230 - 1,125 = 105

        // 0.08 a line; 0.02 more for the account's lines of the month past 3,000.
        SchemeAnswers bonus = answers(SchemeShape::MonthlyBonus, 0.08);
        bonus.threshold = 3000;
        bonus.bonusRate = 0.02;
        QTest::newRow("monthly bonus")
            << bonus
            << PaidDays{{10, "2026-03-02", 1200, 0, 8, 8, 96.00},  // month 1,200
                        {10, "2026-03-03", 1500, 0, 8, 8, 120.00}, // month 2,700
                        {10, "2026-03-04", 1000, 0, 8, 8, 94.00},  // 3,700: 700 past, 80 + 14
                        {10, "2026-03-05", 800, 0, 8, 8, 80.00},   // all 800 past: 64 + 16
                        {20, "2026-03-05", 500, 0, 8, 8, 40.00},   // another account's month
                        {10, "2026-04-01", 1000, 0, 8, 8, 80.00}}; // a new month starts at 0

        // Account 10 at 0.09, every other account at 0.08, counted in character lines.
        SchemeAnswers perAccount = answers(SchemeShape::AccountRates, 0.08);
        perAccount.accountRates = {{10, QStringLiteral("Mercy 'General'\nEast"), 0.09}};
        perAccount.lines = LineMeasure::CharLines;
        QTest::newRow("rates per account") << perAccount
                                           << PaidDays{{10, "2026-03-02", 700, 1000, 8, 8, 90.00},
                                                       {20, "2026-03-02", 700, 1000, 8, 8, 80.00},
                                                       {30, "2026-03-02", 700, 1500, 8, 8, 120.00}};

        // 0.08 a line, never less than 10.00 per typed hour.
        SchemeAnswers minimum = answers(SchemeShape::MinimumGuarantee, 0.08);
        minimum.minimumPerHour = 10;
        QTest::newRow("minimum guarantee")
            << minimum
            << PaidDays{{10, "2026-03-02", 900, 0, 8, 2, 80.00},   // 72 < 8 x 10
                        {10, "2026-03-03", 1500, 0, 8, 2, 120.00}, // 120 > 80
                        {10, "2026-03-04", 0, 0, 0, 0, 0}};
    }

    void recalculationPaysWhatThePagePromises() {
        QFETCH(SchemeAnswers, scheme);
        QFETCH(PaidDays, days);
        velora::test::TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name) VALUES "
                               "(10, 'Mercy'), (20, 'St. Luke'), (30, 'Bayfront')"));
        db.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, "
                               "trans_type, extra3, incentive_group_id) VALUES ('ann', 'Ann', "
                               "'Lee', 1, 0, 1)"));
        db.exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, 'INCENT_AUTO_LOCKING', "
                               "'0'"));
        const QString text = FormulaTemplate::generate(scheme);
        db.exec(
            QStringLiteral("INSERT OR REPLACE INTO Incentive_formula (formula_id, formula_name, "
                           "formula_text, partition_id) VALUES (1, 'Wizard', %1, 0)")
                .arg(velora::db::sqlTextLiteral(text)));
        for (const PaidDay& d : days)
            db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, "
                                   "shift_date, lines, lines_modified, chars, chars_modified, "
                                   "hours_typed, hours_typed_modified, hours_system, "
                                   "hours_system_modified) VALUES ('ann', %1, '%2', %3, %3, %4, "
                                   "%4, %5, %5, %6, %6)")
                        .arg(d.account)
                        .arg(d.day)
                        .arg(d.lines)
                        .arg(d.chars)
                        .arg(d.hoursTyped)
                        .arg(d.hoursSystem));

        SilentObserver observer;
        velora::engine::RecalcJob job(db.connection(), observer);
        job.setToday(QDate(2026, 5, 1));
        job.run({});
        QVERIFY2(observer.errors.isEmpty(), qPrintable(observer.errors.join('\n') + '\n' + text));

        for (const PaidDay& d : days) {
            const QString row = QStringLiteral(" FROM Trans_incentive WHERE hosp_acct_id = %1 "
                                               "AND shift_date = '%2'")
                                    .arg(d.account)
                                    .arg(d.day);
            const QString where = d.day + QLatin1Char('/') + QString::number(d.account);
            QCOMPARE(db.scalar(QStringLiteral("SELECT incent_pay_modified") + row).toDouble(),
                     d.pay);
            const double lines = scheme.lines == LineMeasure::CharLines ? d.chars : d.lines;
            const double hours =
                scheme.hours == HourMeasure::SystemHours ? d.hoursSystem : d.hoursTyped;
            QVERIFY2(db.scalar(QStringLiteral("SELECT incent_typed_modified") + row).toDouble() ==
                         lines,
                     qPrintable(where));
            QVERIFY2(
                db.scalar(QStringLiteral("SELECT incent_hours_typed_modified") + row).toDouble() ==
                    hours,
                qPrintable(where));
        }
    }
};

VELORA_TEST(TestSchemePay)
#include "TestSchemePay.moc"
