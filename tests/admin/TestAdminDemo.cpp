#include "AdminRun.h"
#include "common/TestMain.h"
#include "config/PasswordScrambling.h"
#include "config/PrivateProfile.h"
#include "config/Registry.h"
#include "db/Recordset.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using velora::config::PrivateProfile;
using velora::test::AdminRun;

namespace {

// A small installation made for a fixed day: production runs 2023-12-16 to 2024-03-14 and
// rows before 2024-01-30 (45 days earlier) are locked.
const QString kToday = QStringLiteral("2024-03-15");
const QString kLockedBefore = QStringLiteral("2024-01-30");

QStringList demoArguments(const QString& directory, const QString& seed,
                          const QStringList& more = {}) {
    return QStringList{QStringLiteral("demo"),       directory,
                       QStringLiteral("--users"),    QStringLiteral("12"),
                       QStringLiteral("--accounts"), QStringLiteral("6"),
                       QStringLiteral("--days"),     QStringLiteral("90"),
                       QStringLiteral("--seed"),     seed,
                       QStringLiteral("--today"),    kToday} +
           more;
}

QString databaseIn(const QString& directory) {
    return directory + QStringLiteral("/HALVEX/SYSTEM/incentive.sqlite");
}

} // namespace

class TestAdminDemo : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString installation_;
    AdminRun made_;
    std::unique_ptr<velora::db::Connection> db_;

    QString scalar(const QString& statement) {
        velora::db::Recordset rows = db_->openRecordset(statement);
        return rows.eof() ? QString() : rows.value(0).toString();
    }
    int count(const QString& statement) { return scalar(statement).toInt(); }

    // Figures that change with any change of the generated data.
    QString fingerprint(const QString& directory) {
        auto db = velora::test::openDatabase(databaseIn(directory));
        QStringList parts;
        for (const QString& statement :
             {QStringLiteral("SELECT COUNT(*), SUM(lines), SUM(chars_modified), SUM(hours_system), "
                             "SUM(incent_pay_modified), MAX(shift_date) FROM Trans_incentive"),
              QStringLiteral("SELECT COUNT(*), SUM(activity_time), SUM(work_type * update_type) "
                             "FROM Trans_activity"),
              QStringLiteral("SELECT COUNT(*), MIN(trans_id), MAX(trans_id), SUM(is_deleted), "
                             "SUM(incentive_group_id) FROM Trans_info"),
              QStringLiteral("SELECT COUNT(*), MIN(hosp_acct_name), SUM(is_deleted) FROM "
                             "Account_info")}) {
            velora::db::Recordset rows = db->openRecordset(statement);
            for (int i = 0; i < rows.fieldCount(); ++i)
                parts << rows.value(i).toString();
        }
        return parts.join(QLatin1Char('|'));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        installation_ = dir_.filePath(QStringLiteral("site"));
        made_ = AdminRun::run(demoArguments(installation_, QStringLiteral("7")));
        QVERIFY2(made_.exitCode == 0, qPrintable(made_.err));
        db_ = velora::test::openDatabase(databaseIn(installation_));
    }

    void layout_configurationAndRegistryFindTheDatabase() {
        const QString ini = installation_ + QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
        auto value = [&](const char* key) {
            return PrivateProfile::getString(ini, QStringLiteral("System"), QLatin1String(key));
        };
        QCOMPARE(value("Server"), QStringLiteral("(embedded)"));
        QCOMPARE(value("Database"), QStringLiteral("incentive.sqlite"));
        QCOMPARE(value("User"), QStringLiteral("sa"));
        QCOMPARE(value("SupportDeletedReports"), QStringLiteral("Y"));
        QCOMPARE(value("IncentiveClientSideCalculations"), QStringLiteral("Y"));
        const QString password = value("Password");
        QVERIFY(!password.isEmpty());
        QVERIFY(password != QStringLiteral("demo"));
        QCOMPARE(velora::config::UnencryptedText(password), QStringLiteral("demo"));
        QVERIFY(QFileInfo::exists(QFileInfo(ini).dir().filePath(value("Database"))));
        // The scrambled password is no business of other accounts on the machine.
        QCOMPARE(QFile::permissions(ini) & (QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());

        const QString registryFile = installation_ + QStringLiteral("/registry.ini");
        const velora::config::Registry registry(registryFile, registryFile);
        QCOMPARE(registry.readString(velora::config::Registry::Root::LocalMachine,
                                     QStringLiteral("Software\\Norvane and Company\\Quillset 2.0 "
                                                    "for Windows\\2.0\\"),
                                     QStringLiteral("LocalRootDir")),
                 QDir(installation_).absolutePath());
        QVERIFY(made_.out.contains(QStringLiteral("VELORA_REGISTRY=") + registryFile +
                                   QStringLiteral(" velora-incentive")));
        QVERIFY(made_.out.contains(ini));
    }

    void layout_refusesAnExistingInstallation() {
        const QString before = fingerprint(installation_);
        const AdminRun again = AdminRun::run(demoArguments(installation_, QStringLiteral("8")));
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.startsWith(QStringLiteral("Error 58: ")));
        QCOMPARE(fingerprint(installation_), before);
    }

    void data_isDeterministicForASeed() {
        const QString same = dir_.filePath(QStringLiteral("same"));
        const QString other = dir_.filePath(QStringLiteral("other"));
        QCOMPARE(AdminRun::run(demoArguments(same, QStringLiteral("7"))).exitCode, 0);
        QCOMPARE(AdminRun::run(demoArguments(other, QStringLiteral("8"))).exitCode, 0);
        QCOMPARE(fingerprint(same), fingerprint(installation_));
        QVERIFY(fingerprint(other) != fingerprint(installation_));
    }

    // Facts of the generated data, each one statement on the demo database: ">0" asks for
    // a positive number, any other text for that exact value.
    void data_facts_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");
        const auto fact = [](const char* name, const char* expected, const char* statement) {
            QTest::newRow(name) << QString::fromLatin1(statement) << QString::fromLatin1(expected);
        };
        fact("a user whose id needs quoting", "O'Brien, Kathleen",
             "SELECT RTRIM(last_name) + ', ' + RTRIM(first_name) FROM Trans_info WHERE trans_id = "
             "'obrien''k' AND trans_type = 1");
        fact("her production", ">0",
             "SELECT COUNT(*) FROM Trans_incentive WHERE trans_id = 'obrien''k'");
        fact("a user id with a point", ">0",
             "SELECT COUNT(*) FROM Trans_incentive WHERE trans_id = 'j.smith'");
        fact("deleted users", ">0",
             "SELECT COUNT(*) FROM Trans_info WHERE trans_type = 1 AND is_deleted = 1");
        fact("deleted accounts", ">0", "SELECT COUNT(*) FROM Account_info WHERE is_deleted = 1");
        fact("live accounts", ">0", "SELECT COUNT(*) FROM Account_info WHERE is_deleted = 0");
        fact("users outside the scheme", ">0",
             "SELECT COUNT(*) FROM Trans_info WHERE trans_type = 2");
        fact("who have no production", "0",
             "SELECT COUNT(*) FROM Trans_incentive ti JOIN Trans_info u ON u.trans_id = "
             "ti.trans_id WHERE u.trans_type <> 1");
        fact("twelve transcriptionists", "12",
             "SELECT COUNT(*) FROM Trans_info WHERE trans_type = 1");
        fact("locked rows", ">0", "SELECT COUNT(*) FROM Trans_incentive WHERE locked = 1");
        fact("locked only before the cut-off", "0",
             "SELECT COUNT(*) FROM Trans_incentive WHERE (locked = 1 AND shift_date >= "
             "'2024-01-30') OR (locked = 0 AND shift_date < '2024-01-30')");
        fact("the last day is yesterday", "2024-03-14",
             "SELECT MAX(shift_date) FROM Trans_incentive");
        fact("no corrections of hours, pages or typed lines", "0",
             "SELECT COUNT(*) FROM Trans_incentive WHERE hours_system_modified <> hours_system OR "
             "pages_modified <> pages OR incent_typed_modified <> incent_typed");
        fact("other work in the activity log", ">0",
             "SELECT COUNT(*) FROM Trans_activity WHERE work_type = 2");
        fact("left-out time in the activity log", ">0",
             "SELECT COUNT(*) FROM Trans_activity WHERE update_type = 6");
        fact("seven formulas", "7", "SELECT COUNT(*) FROM Incentive_formula");
        fact("month-end and per-account formulas", "2",
             "SELECT COUNT(*) FROM Incentive_formula WHERE formula_text LIKE '%MonthToDate(%' OR "
             "formula_text LIKE '%Select Case AccountID%'");
        fact("every group has a date", "0",
             "SELECT COUNT(*) FROM Incentive_group WHERE incentive_effective_date IS NULL");
        fact("every user in a group", "0",
             "SELECT COUNT(*) FROM Trans_info WHERE trans_type = 1 AND (incentive_group_id IS NULL "
             "OR incentive_effective_date IS NULL OR incentive_group_id NOT IN (SELECT group_id "
             "FROM Incentive_group))");
    }

    void data_facts() {
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        const QString value = scalar(statement);
        if (expected == QLatin1String(">0"))
            QVERIFY2(value.toInt() > 0, qPrintable(value));
        else
            QCOMPARE(value, expected);
    }

    void data_coversWorkingDaysUpToYesterday() {
        velora::db::Recordset days =
            db_->openRecordset(QStringLiteral("SELECT DISTINCT shift_date FROM Trans_incentive"));
        int seen = 0;
        for (; !days.eof(); days.moveNext(), ++seen) {
            const QDate day = days.date(QStringLiteral("shift_date"));
            QVERIFY2(day.dayOfWeek() <= 5, qPrintable(day.toString(Qt::ISODate)));
            QVERIFY(day >= QDate(2023, 12, 16) && day <= QDate(2024, 3, 14));
        }
        QCOMPARE(seen, 64); // Monday to Friday from 2023-12-18 to 2024-03-14
        QCOMPARE(scalar(QStringLiteral("SELECT MAX(shift_date) FROM Trans_incentive")),
                 QStringLiteral("2024-03-14"));
    }

    void data_hasAFewCorrections() {
        const int rows = count(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive"));
        const int corrected = count(QStringLiteral(
            "SELECT COUNT(*) FROM Trans_incentive WHERE lines_modified <> lines "
            "OR number_rpts_modified <> number_rpts OR incent_pay_modified <> incent_pay"));
        QVERIFY2(corrected > 0 && corrected * 20 < rows,
                 qPrintable(QStringLiteral("%1 of %2").arg(corrected).arg(rows)));
    }

    void data_activityMatchesSystemHours() {
        // Collected system hours of a day: work type 1, counted, not update type 6.
        QMap<QString, double> activity;
        velora::db::Recordset log = db_->openRecordset(QStringLiteral(
            "SELECT trans_id, shift_date, SUM(activity_time) / 3600.0 AS hours FROM "
            "Trans_activity WHERE work_type = 1 AND count_activity > 0 AND update_type <> 6 "
            "GROUP BY trans_id, shift_date"));
        for (; !log.eof(); log.moveNext())
            activity.insert(log.text(QStringLiteral("trans_id")) +
                                log.text(QStringLiteral("shift_date")),
                            log.value(QStringLiteral("hours")).toDouble());
        velora::db::Recordset days = db_->openRecordset(QStringLiteral(
            "SELECT trans_id, shift_date, MIN(hours_system) AS hours, MAX(hours_system) AS most "
            "FROM Trans_incentive GROUP BY trans_id, shift_date"));
        int checked = 0;
        for (; !days.eof(); days.moveNext(), ++checked) {
            const QString key =
                days.text(QStringLiteral("trans_id")) + days.text(QStringLiteral("shift_date"));
            QVERIFY2(activity.contains(key), qPrintable(key));
            // Every account row of the day carries the day's system time.
            const double hours = days.value(QStringLiteral("hours")).toDouble();
            QCOMPARE(days.value(QStringLiteral("most")).toDouble(), hours);
            QVERIFY2(qAbs(hours - activity.value(key)) < 0.006, qPrintable(key));
            QVERIFY(hours >= 6.0 && hours <= 8.5);
        }
        QCOMPARE(checked, activity.size());
    }

    void catalogue_groupsAssignFormulasForEveryAccount() {
        const int accounts = count(QStringLiteral("SELECT COUNT(*) FROM Account_info"));
        velora::db::Recordset groups = db_->openRecordset(QStringLiteral(
            "SELECT g.group_id, COUNT(f.account_id) AS assignments, MIN(f.account_id) AS first "
            "FROM Incentive_group g JOIN Incentive_group_formula f ON f.group_id = g.group_id "
            "WHERE g.group_id <> 1 GROUP BY g.group_id"));
        int seen = 0;
        for (; !groups.eof(); groups.moveNext(), ++seen) {
            QCOMPARE(groups.value(QStringLiteral("assignments")).toInt(), accounts + 1);
            QCOMPARE(groups.value(QStringLiteral("first")).toInt(), -1);
        }
        QCOMPARE(seen, count(QStringLiteral("SELECT COUNT(*) FROM Incentive_group")) - 1);
    }

    void partitions_makeATreeWithADefaultGroupEach() {
        const QString site = dir_.filePath(QStringLiteral("partitioned"));
        QCOMPARE(AdminRun::run(demoArguments(site, QStringLiteral("3"),
                                             {QStringLiteral("--partitions"), QStringLiteral("4")}))
                     .exitCode,
                 0);
        auto db = velora::test::openDatabase(databaseIn(site));
        auto number = [&](const QString& statement) {
            velora::db::Recordset rows = db->openRecordset(statement);
            return rows.value(0).toInt();
        };
        // Four live partitions below 0 make partition mode; a deleted one does not count.
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM system_partitions "
                                       "WHERE partition_id <> 0 AND delete_date IS NULL")),
                 4);
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM system_partitions "
                                       "WHERE delete_date IS NOT NULL")),
                 1);
        QVERIFY(number(QStringLiteral("SELECT COUNT(*) FROM system_partitions "
                                      "WHERE parent_id <> 0")) > 0);
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM System_partitions p WHERE "
                                       "p.delete_date IS NULL AND (SELECT COUNT(*) FROM "
                                       "Incentive_group g WHERE g.partition_id = p.partition_id "
                                       "AND g.flag1 = 1) <> 1")),
                 0);
        QVERIFY(number(QStringLiteral("SELECT COUNT(DISTINCT extra3) FROM Trans_info "
                                      "WHERE trans_type = 1")) > 1);
        QVERIFY(number(QStringLiteral("SELECT COUNT(DISTINCT partition_id) FROM Account_info")) >
                1);
        // Each user's group lies in the user's partition.
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM Trans_info t JOIN Incentive_group g "
                                       "ON g.group_id = t.incentive_group_id "
                                       "WHERE g.partition_id <> t.extra3")),
                 0);
    }
};

VELORA_TEST(TestAdminDemo)
#include "TestAdminDemo.moc"
