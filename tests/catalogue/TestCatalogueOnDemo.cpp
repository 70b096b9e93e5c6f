#include "TestPaths.h"
#include "catalogue/CatalogueDisplay.h"
#include "catalogue/CatalogueLoader.h"
#include "common/ScriptedMessages.h"
#include "common/TestMain.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "suite/HXLoginUser.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace velora;
using explorer::ExplorerKeys;

namespace {

// A demo installation made by velora-admin, in partition mode or not.
struct Demo {
    QTemporaryDir dir;
    std::unique_ptr<db::Connection> connection;
    QString connectionString =
        QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=incentive.sqlite;Data "
                       "Source=(embedded);PWD=;");

    bool make(int partitions) {
        QProcess admin;
        admin.start(QStringLiteral(VELORA_ADMIN_PATH),
                    {u"demo"_s, dir.path(), u"--users"_s, u"14"_s, u"--days"_s, u"5"_s,
                     u"--partitions"_s, QString::number(partitions)});
        if (!admin.waitForFinished(300000) || admin.exitCode() != 0)
            return false;
        db::ConnectionOptions options;
        options.baseDirectory = dir.filePath(u"HALVEX/SYSTEM"_s);
        connection = std::make_unique<db::Connection>(options);
        connection->open(connectionString);
        return true;
    }

    // The display closes the shared connection when it is done.
    int count(const QString& statement) {
        connection->ensureOpen();
        db::Recordset rows = connection->openRecordset(statement);
        return rows.value(0).toInt();
    }
    QString text(const QString& statement) {
        connection->ensureOpen();
        db::Recordset rows = connection->openRecordset(statement);
        return rows.eof() ? QString() : rows.value(0).toString().trimmed();
    }
};

// One catalogue display into a real explorer, as the main window runs it at start-up.
struct DemoDisplay {
    Demo& demo;
    suite::HXLoginUser login;
    bool partitionMode;
    catalogue::Catalogue catalogue;
    catalogue::User currentUser;
    catalogue::CatalogueCollection<catalogue::Partition> accessible;
    explorer::IncentiveExplorer tree;
    test::ScriptedMessages messages;
    std::optional<bool> fullControls;

    DemoDisplay(Demo& d, const QString& transID, int partitionID, std::set<int> rights,
                bool partitions)
        : demo(d)
        , login(
              suite::SuiteUserRecord{9, transID, {}, transID, partitionID, u"Pat"_s, u"Operator"_s},
              std::move(rights), u"pw"_s)
        , partitionMode(partitions) {
        currentUser.setTransID(transID);
    }

    catalogue::DisplayResult show() {
        catalogue::CatalogueDisplay display({*demo.connection,
                                             demo.connectionString,
                                             login,
                                             partitionMode,
                                             {},
                                             catalogue,
                                             currentUser,
                                             accessible,
                                             tree,
                                             messages,
                                             [](const QString&) { return true; },
                                             [this](bool full) { fullControls = full; },
                                             [] {}});
        return display.show();
    }

    QStringList users() { return tree.childKeys(ExplorerKeys::UsersFolder()); }
};

} // namespace

class TestCatalogueOnDemo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(onePartition_.make(1));
        QVERIFY(threePartitions_.make(3));
    }

    // The load reads every row of the tables (deleted users by preference), and finds the
    // users whose ids need care in statements under their own keys.
    void loadMatchesTheTables() {
        Demo& demo = threePartitions_;
        catalogue::CatalogueLoader loader(*demo.connection);
        const catalogue::Catalogue loaded = *loader.load();
        QCOMPARE(loaded.partitions().count(),
                 demo.count(u"SELECT COUNT(*) FROM System_partitions"_s));
        QCOMPARE(loaded.accounts().count(), demo.count(u"SELECT COUNT(*) FROM Account_info"_s) + 2);
        QCOMPARE(loaded.formulas().count(),
                 demo.count(u"SELECT COUNT(*) FROM Incentive_formula"_s));
        QCOMPARE(loaded.groups().count(), demo.count(u"SELECT COUNT(*) FROM Incentive_group"_s));
        const QString users =
            u"SELECT COUNT(*) FROM Trans_info WHERE trans_type = 1 AND is_deleted "_s;
        QCOMPARE(loaded.users().count(), demo.count(users + u"= 0"_s));
        const int deleted = demo.count(users + u"<> 0"_s);
        QVERIFY(deleted > 0);
        loader.setShowDeletedUsers(true);
        QCOMPARE(loader.load()->users().count(), loaded.users().count() + deleted);

        const auto quoted = catalogue::GetObjectFromCollection(loaded.users(), u"obrien'k"_s);
        QVERIFY(quoted);
        QCOMPARE(quoted->TransName(), u"O'Brien, Kathleen"_s);
        QVERIFY(loaded.groups().contains(QString::number(quoted->GroupID())));
        QVERIFY(catalogue::GetObjectFromCollection(loaded.users(), u"j.smith"_s));
    }

    // One partition: every live user, formula and group is listed by its own name, and each
    // user's account folder holds the accounts at once.
    void fullModeWithoutPartitions() {
        Demo& demo = onePartition_;
        DemoDisplay display(demo, u"supervisor"_s, 0, {16, 17}, false);
        QCOMPARE(display.show(), catalogue::DisplayResult::Shown);
        QCOMPARE(display.fullControls, std::optional<bool>(true));
        QVERIFY(display.messages.shown.isEmpty());
        QCOMPARE(display.users().size(),
                 demo.count(QStringLiteral(
                     "SELECT COUNT(*) FROM Trans_info WHERE trans_type = 1 AND is_deleted = 0")));
        QCOMPARE(display.tree.childKeys(ExplorerKeys::GroupsFolder()).size(),
                 demo.count(u"SELECT COUNT(*) FROM Incentive_group"_s));
        const QString someUser = display.users().first();
        const int liveAccounts = demo.count(
            QStringLiteral("SELECT COUNT(*) FROM Account_info WHERE hosp_acct_id > -1 AND "
                           "is_deleted = 0"));
        // The accounts and the account summary.
        QCOMPARE(display.tree.childKeys(someUser + u".USERACCOUNTS"_s).size(), liveAccounts + 1);
        QVERIFY(!display.tree.node(someUser).text().contains(QLatin1Char('\\')));
    }

    // Partition mode: names carry their partition, the accounts wait for the first opening,
    // and the supervisor at the root reaches every live partition.
    void fullModeInPartitions() {
        Demo& demo = threePartitions_;
        DemoDisplay display(demo, u"supervisor"_s, 0, {16, 17}, true);
        QCOMPARE(display.show(), catalogue::DisplayResult::Shown);
        QCOMPARE(display.fullControls, std::optional<bool>(true));
        QCOMPARE(display.accessible.count(),
                 demo.count(QStringLiteral(
                     "SELECT COUNT(*) FROM System_partitions WHERE delete_date IS NULL")));
        const QStringList users = display.users();
        QVERIFY(!users.isEmpty());
        for (const QString& user : users) {
            QVERIFY2(display.tree.node(user).text().contains(QLatin1Char('\\')), qPrintable(user));
            QVERIFY(display.tree.hasNode(user + u".EXTERNALACCOUNTS"_s));
        }
        // A group's folder shows its two placeholders until it is opened.
        const QString group = display.tree.childKeys(ExplorerKeys::GroupsFolder()).first();
        QCOMPARE(display.tree.childKeys(group + u".ACCOUNTS"_s).size(), 2);
        QVERIFY(display.messages.shown.isEmpty());
    }

private:
    Demo onePartition_;
    Demo threePartitions_;
};

VELORA_TEST(TestCatalogueOnDemo)
#include "TestCatalogueOnDemo.moc"
