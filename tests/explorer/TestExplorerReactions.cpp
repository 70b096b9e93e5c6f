#include "catalogue/CatalogueLoader.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"
#include "common/DetailArea.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/ExplorerReactions.h"
#include "explorer/IncentiveExplorer.h"

#include <QListWidget>
#include <QMainWindow>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace velora;
using explorer::ExplorerKeys;

namespace {

// Partitions 1 North (below 0) and 2 South (below 1), 3 West beside them; accounts in each,
// one without a partition (-1) and one deleted; user "ann" in North with rows in a West
// account (written "ANN" and "Ann" there), "bob" in West without any account of his partition.
void fillCatalogue(test::TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO System_partitions (partition_id, parent_id, partition_name) VALUES "
        "(1, 0, 'North'), (2, 1, 'South'), (3, 0, 'West')"));
    db.exec(QStringLiteral(
        "INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, is_deleted, partition_id) "
        "VALUES (10, 'North General', 0, 1), (11, 'North Old', 1, 1), (20, 'South Clinic', 0, 2), "
        "(30, 'West Hospital', 0, 3), (40, 'Shared Lab', 0, -1), (50, 'Closed West', 0, 4)"));
    db.exec(QStringLiteral(
        "INSERT INTO Trans_info (trans_id, first_name, last_name, extra3, incentive_group_id) "
        "VALUES ('ann', 'Ann', 'Smith', 1, 2), ('bob', 'Bob', 'Jones', 4, 2)"));
    db.exec(QStringLiteral(
        "INSERT INTO Incentive_group (group_id, group_name, partition_id, "
        "incentive_effective_date, flag1) VALUES (2, 'North Standard', 1, '2020-01-01', 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date) VALUES "
        "('ann', 10, '2026-11-02'), ('ANN', 30, '2026-11-02'), ('Ann', 30, '2026-11-03'), "
        "('bob', 30, '2026-11-02')"));
}

// The main window's side of the explorer on a real database, without the main window.
struct Bench {
    test::TestDatabase db;
    test::ScriptedMessages messages;
    common::AppContext context{messages, config::Registry(QString(), QString()),
                               [] { return QString(); }};
    QMainWindow window;
    common::BusyIndicator busy{window};
    explorer::IncentiveExplorer* tree = nullptr;
    common::DetailArea* details = nullptr;
    std::unique_ptr<explorer::ExplorerReactions> reactions;
    QStringList loadedUsers;

    explicit Bench(bool partitionMode) {
        fillCatalogue(db);
        context.partitionMode = partitionMode;
        context.connection = db.openAnother();
        context.catalogue = *catalogue::CatalogueLoader(*context.connection).load();
        auto* centre = new QWidget(&window);
        window.setCentralWidget(centre);
        tree = new explorer::IncentiveExplorer(centre);
        details = new common::DetailArea(centre);
        explorer::ExplorerEditors editors;
        // Loading a user rebuilds the partitions below the user's own (North: 1 and 2).
        editors.loadUser = [this](const QString& transID, const QString&) {
            loadedUsers.append(transID);
            context.userPartitions.clear();
            for (const char* id : {"1", "2"})
                context.userPartitions.add(
                    QString::fromLatin1(id),
                    context.catalogue.partitions().find(QString::fromLatin1(id)));
        };
        reactions =
            std::make_unique<explorer::ExplorerReactions>(context, *tree, *details, busy, editors);
        for (const auto& account : context.catalogue.accounts())
            tree->AddAccount(account->AccountName(), QString::number(account->AccountID()),
                             account->IsDeleted());
        tree->AddUser(u"North\\Smith, Ann"_s, u"ann"_s, QString(), false, partitionMode);
        tree->AddUser(u"West\\Jones, Bob"_s, u"bob"_s, QString(), false, partitionMode);
        tree->AddGroup(u"North Standard"_s, u"2"_s, QString(), partitionMode);
        tree->AddGroup(u"Lost Group"_s, u"77"_s, QString(), partitionMode);
        context.connection->close();
    }

    QStringList children(const QString& key) { return tree->childKeys(key); }
    QStringList lastSegments(const QString& key) {
        QStringList ids;
        for (const QString& child : children(key))
            ids.append(child.section(QLatin1Char('.'), -1));
        ids.sort();
        return ids;
    }
};

} // namespace

class TestExplorerReactions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A user's folder shows the accounts of the user's partitions (deleted ones by preference)
    // and the summary; every other account with rows goes to the external folder. The second
    // expansion does not load again; Refresh does.
    void userAccountsLoadOnDemandOnce() {
        Bench bench(true);
        const QString user = ExplorerKeys::User(u"ann"_s);
        bench.reactions->loadUserAccounts(bench.tree->node(user), u"ann"_s);
        // The click on the user loads the user (the tree may report the expansion again).
        QVERIFY(!bench.loadedUsers.isEmpty());
        QCOMPARE(bench.loadedUsers.count(u"ann"_s), bench.loadedUsers.size());
        QCOMPARE(bench.lastSegments(ExplorerKeys::UserAccountFolder(u"ann"_s)),
                 (QStringList{u"-2"_s, u"10"_s, u"20"_s}));
        QCOMPARE(bench.lastSegments(ExplorerKeys::UserExternalAccountFolder(u"ann"_s)),
                 QStringList{u"30"_s});
        // The account's number stays with its node, which a missing account's key lacks.
        QCOMPARE(bench.tree->node(ExplorerKeys::UserExternalAccount(u"ann"_s, u"30"_s)).tag(),
                 u"30"_s);
        QCOMPARE(bench.tree->node(user).tag(), u"LOADED"_s);
        QVERIFY(!bench.context.connection->isOpen());
        QVERIFY(!bench.busy.isBusy());

        // Rows added later are not seen until the folder is loaded again.
        bench.db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, "
                                     "shift_date) VALUES ('ann', 50, '2026-11-04')"));
        bench.reactions->loadUserAccounts(bench.tree->node(user), u"ann"_s);
        QCOMPARE(bench.children(ExplorerKeys::UserExternalAccountFolder(u"ann"_s)).size(), 1);

        bench.context.preferences.showDeletedAccounts = true;
        bench.tree->RightClickNode(user, QPoint());
        bench.tree->lastPopup(); // the refresh item works whether or not a menu was shown
        auto* refresh = bench.tree->findChild<QAction*>(u"mnuRefreshUser"_s);
        QVERIFY(refresh);
        refresh->trigger();
        QCOMPARE(bench.lastSegments(ExplorerKeys::UserAccountFolder(u"ann"_s)),
                 (QStringList{u"-2"_s, u"10"_s, u"11"_s, u"20"_s}));
        QCOMPARE(bench.lastSegments(ExplorerKeys::UserExternalAccountFolder(u"ann"_s)),
                 (QStringList{u"30"_s, u"50"_s}));

        // Without accounts in the user's partitions only the summary shows, and the external
        // query runs without its NOT IN list.
        bench.reactions->editors().loadUser = [&](const QString&, const QString&) {
            bench.context.userPartitions.clear();
        };
        bench.reactions->loadUserAccounts(bench.tree->node(ExplorerKeys::User(u"bob"_s)), u"bob"_s);
        QCOMPARE(bench.lastSegments(ExplorerKeys::UserAccountFolder(u"bob"_s)),
                 QStringList{u"-2"_s});
        QCOMPARE(bench.lastSegments(ExplorerKeys::UserExternalAccountFolder(u"bob"_s)),
                 QStringList{u"30"_s});
        QVERIFY(bench.messages.shown.isEmpty());
    }

    // A group's folder gets the accounts of the partitions below the group's, and those
    // without a partition; a group missing from the catalogue reports error 99 and stays
    // unloaded, its placeholders already gone.
    void groupAccountsLoadOnDemand() {
        Bench bench(true);
        const QString group = ExplorerKeys::Group(u"2"_s);
        bench.reactions->loadGroupAccounts(bench.tree->node(group), u"2"_s);
        QCOMPARE(bench.lastSegments(ExplorerKeys::GroupAccountFolder(u"2"_s)),
                 (QStringList{u"-1"_s, u"-3"_s, u"10"_s, u"20"_s, u"40"_s}));
        QCOMPARE(bench.tree->node(group).tag(), u"LOADED"_s);

        const QString lost = ExplorerKeys::Group(u"77"_s);
        bench.reactions->loadGroupAccounts(bench.tree->node(lost), u"77"_s);
        QCOMPARE(bench.messages.shown.size(), 1);
        QCOMPARE(bench.messages.shown[0].text,
                 QStringLiteral("Error Number:99\r\nError Description:Group 77 could not be "
                                "loaded because the ID was not in the collection."));
        QVERIFY(bench.children(ExplorerKeys::GroupAccountFolder(u"77"_s)).isEmpty());
        QVERIFY(bench.tree->node(lost).tag().isEmpty());
        QVERIFY(!bench.busy.isBusy());
        QVERIFY(!bench.context.connection->isOpen());
    }

    // Outside partition mode the folders were filled when the items were added: expanding
    // changes nothing.
    void nothingLoadsOutsidePartitionMode() {
        Bench bench(false);
        const QString folder = ExplorerKeys::UserAccountFolder(u"ann"_s);
        const QStringList before = bench.children(folder);
        bench.reactions->loadUserAccounts(bench.tree->node(ExplorerKeys::User(u"ann"_s)), u"ann"_s);
        bench.reactions->loadGroupAccounts(bench.tree->node(ExplorerKeys::Group(u"77"_s)), u"77"_s);
        QCOMPARE(bench.children(folder), before);
        QVERIFY(bench.loadedUsers.isEmpty());
        QVERIFY(bench.messages.shown.isEmpty());
    }

    // Folder clicks fill the list from the tree; an item click moves the tree only after a
    // mouse press in the list.
    void listViewFollowsTheMouseOnly() {
        Bench bench(false);
        bench.window.show();
        bench.tree->ClickNode(ExplorerKeys::UsersFolder());
        QVERIFY(bench.details->listView()->isVisibleTo(&bench.window));
        QListWidget* list = bench.details->listView();
        QCOMPARE(list->count(), 2);
        QListWidgetItem* ann = list->item(0);
        QCOMPARE(ann->data(Qt::UserRole).toString(), ExplorerKeys::User(u"ann"_s));

        Q_EMIT list->itemClicked(ann); // a click made by code
        QVERIFY(bench.loadedUsers.isEmpty());

        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(ann).center());
        QVERIFY(bench.reactions->mousePressed());
        Q_EMIT list->itemClicked(ann);
        QVERIFY(bench.loadedUsers.contains(u"ann"_s));
        QVERIFY(!bench.reactions->mousePressed());
    }

    // An explorer failure reaches the operator as it is.
    void explorerErrorsAreShown() {
        Bench bench(false);
        bench.tree->ClickNode(u"[ROOT].NOWHERE.X"_s);
        QCOMPARE(bench.messages.shown.size(), 1);
        QVERIFY(bench.messages.shown[0].text.startsWith(u"Zarererov Avudezez Error "_s));
        QCOMPARE(bench.messages.shown[0].title, u"Velora Incentive"_s);
    }
};

VELORA_TEST(TestExplorerReactions)
#include "TestExplorerReactions.moc"
