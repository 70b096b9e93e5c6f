#include "AdminRun.h"
#include "common/TestMain.h"
#include "config/PasswordScrambling.h"
#include "config/PrivateProfile.h"
#include "config/Registry.h"
#include "db/Recordset.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using velora::config::PrivateProfile;
using velora::test::AdminRun;

namespace {

// A small installation made for a fixed day: production runs 2023-12-16 to 2024-03-14 and
// rows before 2024-01-30 (45 days earlier) are locked.
QStringList demoArguments(const QString& directory, const QString& seed,
                          const QStringList& more = {}) {
    return QStringLiteral("demo %1 --users 12 --accounts 6 --days 90 --seed %2 --today 2024-03-15")
               .arg(directory, seed)
               .split(u' ') +
           more;
}

QString databaseIn(const QString& directory) {
    return directory + QStringLiteral("/HALVEX/SYSTEM/incentive.sqlite");
}

QString scalar(velora::db::Connection& db, const QString& statement) {
    velora::db::Recordset rows = db.openRecordset(statement);
    return rows.eof() ? QString() : rows.value(0).toString();
}

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

} // namespace

class TestAdminDemo : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString installation_;
    AdminRun made_;
    std::unique_ptr<velora::db::Connection> db_;
    std::unique_ptr<velora::db::Connection> partitioned_;

private Q_SLOTS:
    // The plain installation, and one with four partitions.
    void initTestCase() {
        QVERIFY(dir_.isValid());
        installation_ = dir_.filePath(QStringLiteral("site"));
        made_ = AdminRun::run(demoArguments(installation_, QStringLiteral("7")));
        QVERIFY2(made_.exitCode == 0, qPrintable(made_.err));
        db_ = velora::test::openDatabase(databaseIn(installation_));
        const QString site = dir_.filePath(QStringLiteral("partitioned"));
        const AdminRun partitions = AdminRun::run(demoArguments(
            site, QStringLiteral("3"), {QStringLiteral("--partitions"), QStringLiteral("4")}));
        QVERIFY2(partitions.exitCode == 0, qPrintable(partitions.err));
        partitioned_ = velora::test::openDatabase(databaseIn(site));
    }

    void layout_configurationAndRegistryFindTheDatabase() {
        const QString ini = installation_ + QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
        auto value = [&](const char* key) {
            return PrivateProfile::getString(ini, QStringLiteral("System"), QLatin1String(key));
        };
        QCOMPARE(
            QStringList({value("Server"), value("Database"), value("User"),
                         value("SupportDeletedReports"), value("IncentiveClientSideCalculations")}),
            QStringList({"(embedded)", "incentive.sqlite", "sa", "Y", "Y"}));
        const QString password = value("Password");
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

    // The same seed makes the same data, another seed other data; an existing installation
    // is refused and left as it was.
    void data_isDeterministicAndNeverOverwritten() {
        const QString before = fingerprint(installation_);
        const AdminRun again = AdminRun::run(demoArguments(installation_, QStringLiteral("8")));
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.startsWith(QStringLiteral("Error 58: ")));
        QCOMPARE(fingerprint(installation_), before);
        const QString same = dir_.filePath(QStringLiteral("same"));
        const QString other = dir_.filePath(QStringLiteral("other"));
        QCOMPARE(AdminRun::run(demoArguments(same, QStringLiteral("7"))).exitCode, 0);
        QCOMPARE(AdminRun::run(demoArguments(other, QStringLiteral("8"))).exitCode, 0);
        QCOMPARE(fingerprint(same), before);
        QVERIFY(fingerprint(other) != before);
    }

    // Facts of the generated data, each one statement on a demo database: ">n" asks for a
    // number above n, any other text for that exact value.
    void data_facts_data() {
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");
        const auto fact = [](const char* name, const char* expected, const char* statement,
                             bool partitions = false) {
            QTest::newRow(name) << partitions << QString::fromLatin1(statement)
                                << QString::fromLatin1(expected);
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
        fact("the first working day", "2023-12-18", "SELECT MIN(shift_date) FROM Trans_incentive");
        fact("the last day is yesterday", "2024-03-14",
             "SELECT MAX(shift_date) FROM Trans_incentive");
        fact("every working day between", "64",
             "SELECT COUNT(DISTINCT shift_date) FROM Trans_incentive");
        fact("no weekends", "0",
             "SELECT COUNT(*) FROM Trans_incentive WHERE strftime('%w', shift_date) IN ('0', '6')");
        fact("a few corrections of lines, reports or pay, under 5 in 100", ">0",
             "SELECT CASE WHEN COUNT(*) * 20 < (SELECT COUNT(*) FROM Trans_incentive) THEN "
             "COUNT(*) ELSE 0 END FROM Trans_incentive WHERE lines_modified <> lines OR "
             "number_rpts_modified <> number_rpts OR incent_pay_modified <> incent_pay");
        fact("no corrections of hours, pages or typed lines", "0",
             "SELECT COUNT(*) FROM Trans_incentive WHERE hours_system_modified <> hours_system OR "
             "pages_modified <> pages OR incent_typed_modified <> incent_typed");
        fact("other work in the activity log", ">0",
             "SELECT COUNT(*) FROM Trans_activity WHERE work_type = 2");
        fact("left-out time in the activity log", ">0",
             "SELECT COUNT(*) FROM Trans_activity WHERE update_type = 6");
        // Collected system hours of a day: work type 1, counted, not update type 6; every
        // account row of the day carries them.
        fact("system hours are the day's activity", "0",
             "SELECT COUNT(*) FROM Trans_incentive ti WHERE hours_system < 6 OR hours_system > "
             "8.5 OR ABS(hours_system - (SELECT SUM(activity_time) / 3600.0 FROM Trans_activity a "
             "WHERE a.trans_id = ti.trans_id AND a.shift_date = ti.shift_date AND work_type = 1 "
             "AND count_activity > 0 AND update_type <> 6)) >= 0.006");
        fact("no activity on a day without production", "0",
             "SELECT COUNT(*) FROM Trans_activity a WHERE NOT EXISTS (SELECT * FROM "
             "Trans_incentive ti WHERE a.trans_id = ti.trans_id AND a.shift_date = ti.shift_date)");
        fact("seven formulas", "7", "SELECT COUNT(*) FROM Incentive_formula");
        fact("month-end and per-account formulas", "2",
             "SELECT COUNT(*) FROM Incentive_formula WHERE formula_text LIKE '%MonthToDate(%' OR "
             "formula_text LIKE '%Select Case AccountID%'");
        fact("groups besides the default", ">0",
             "SELECT COUNT(*) FROM Incentive_group WHERE group_id <> 1");
        fact("each assigns formulas for every account and for the rest", "0",
             "SELECT COUNT(*) FROM Incentive_group g WHERE g.group_id <> 1 AND (SELECT COUNT(*) "
             "FROM Incentive_group_formula f WHERE f.group_id = g.group_id AND (f.account_id = -1 "
             "OR f.account_id IN (SELECT hosp_acct_id FROM Account_info))) <> (SELECT COUNT(*) "
             "FROM Account_info) + 1");
        fact("every group has a date", "0",
             "SELECT COUNT(*) FROM Incentive_group WHERE incentive_effective_date IS NULL");
        fact("every user in a group", "0",
             "SELECT COUNT(*) FROM Trans_info WHERE trans_type = 1 AND (incentive_group_id IS NULL "
             "OR incentive_effective_date IS NULL OR incentive_group_id NOT IN (SELECT group_id "
             "FROM Incentive_group))");

        // Four live partitions below 0 make partition mode; a deleted one does not count.
        fact("four live partitions", "4",
             "SELECT COUNT(*) FROM System_partitions WHERE partition_id <> 0 AND delete_date IS "
             "NULL",
             true);
        fact("a deleted partition", "1",
             "SELECT COUNT(*) FROM System_partitions WHERE delete_date IS NOT NULL", true);
        fact("partitions below partitions", ">0",
             "SELECT COUNT(*) FROM System_partitions WHERE parent_id <> 0", true);
        fact("one default group in each live partition", "0",
             "SELECT COUNT(*) FROM System_partitions p WHERE p.delete_date IS NULL AND (SELECT "
             "COUNT(*) FROM Incentive_group g WHERE g.partition_id = p.partition_id AND g.flag1 = "
             "1) <> 1",
             true);
        fact("users in several partitions", ">1",
             "SELECT COUNT(DISTINCT extra3) FROM Trans_info WHERE trans_type = 1", true);
        fact("accounts in several partitions", ">1",
             "SELECT COUNT(DISTINCT partition_id) FROM Account_info", true);
        fact("each user's group in the user's partition", "0",
             "SELECT COUNT(*) FROM Trans_info t JOIN Incentive_group g ON g.group_id = "
             "t.incentive_group_id WHERE g.partition_id <> t.extra3",
             true);
    }

    void data_facts() {
        QFETCH(bool, partitions);
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        const QString value = scalar(partitions ? *partitioned_ : *db_, statement);
        if (expected.startsWith(u'>'))
            QVERIFY2(value.toInt() > expected.mid(1).toInt(), qPrintable(value));
        else
            QCOMPARE(value, expected);
    }
};

VELORA_TEST(TestAdminDemo)
#include "TestAdminDemo.moc"
