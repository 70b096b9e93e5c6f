#include "ExplorerEventLog.h"
#include "common/TestMain.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"

#include <QAbstractItemModelTester>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <functional>

using velora::explorer::ExplorerImages;
using velora::explorer::ExplorerKeys;
using velora::explorer::IncentiveExplorer;
using Keys = ExplorerKeys;

namespace {

const QString kUser = QStringLiteral("J.SMITH");

// Every node below key in display order: "key|text|image|tag", one line each.
QStringList listing(IncentiveExplorer& e, const QString& key = Keys::Root()) {
    const auto n = e.node(key);
    QStringList lines{key + u'|' + n.text() + u'|' + n.image() + u'|' + n.tag()};
    for (const QString& child : e.childKeys(key))
        lines << listing(e, child);
    return lines;
}

// The list view's items as "key|text|icon key".
QStringList items(const IncentiveExplorer& e, const QListWidget& list) {
    QStringList result;
    for (int i = 0; i < list.count(); ++i) {
        const QListWidgetItem* item = list.item(i);
        QString icon = QStringLiteral("?");
        for (const QString& key : ExplorerImages::keys()) {
            if (e.imglTreeView().icon(key).cacheKey() == item->icon().cacheKey())
                icon = key;
        }
        result << item->data(Qt::UserRole).toString() + u'|' + item->text() + u'|' + icon;
    }
    return result;
}

QString childOf(const QString& folder, const char* id) {
    return folder + u'.' + QLatin1String(id);
}

} // namespace

class TestIncentiveExplorer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initialisationAndClearAllNodes() {
        IncentiveExplorer e;
        ExplorerEventLog log(e);
        const QStringList fresh = listing(e);
        QCOMPARE(
            fresh,
            QStringList({"[ROOT]|Zarererov Avudezez|ROOT|", "[ROOT].USERS|Users|CLSDFOLD|",
                         "[ROOT].FORMULAS|Formulas|CLSDFOLD|", "[ROOT].GROUPS|Groups|CLSDFOLD|"}));
        QCOMPARE(e.CurrentNode().key(), Keys::UsersFolder());

        // Without account folders an account only joins the account list.
        e.AddAccount("Acme", "5");
        QCOMPARE(listing(e), fresh);
        QCOMPARE(e.accountList().size(), 2);
        e.AddUser("Jo", kUser, "", false, true);
        e.AddExternalUserAccount(kUser, "77");
        e.SetOperatorMode(false);
        e.ClickNode(Keys::FormulasFolder());
        QCOMPARE(e.unknownExternalCounter(), qint16(1));

        e.ClearAllNodes();
        QCOMPARE(listing(e), fresh);
        QCOMPARE(e.accountList().size(), 1);
        QCOMPARE(e.accountList().at(0).AccountID, QStringLiteral("-2"));
        QCOMPARE(e.accountList().at(0).AccountName, QStringLiteral("__Account Summary"));
        QCOMPARE(e.CurrentNode().key(), Keys::UsersFolder());
        QCOMPARE(e.unknownExternalCounter(), qint16(1));
        e.RightClickNode(Keys::FormulasFolder(), QPoint());
        QVERIFY2(e.lastPopup() == nullptr, "operator mode is on again");
        QVERIFY(!log.events.join(u';').contains(QStringLiteral("Error")));
    }

    // What AddAccount puts into a user's and a group's account folder, for folders made in
    // either mode before the account arrives.
    void addAccountRules_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("userImage");  // "" when the user folder gets nothing
        QTest::addColumn<QString>("groupImage"); // "" when the group folder gets nothing
        // clang-format off
        QTest::newRow("default") << "-1" << false << "ACCOUNTDEF" << "";
        QTest::newRow("deleted default") << "-1" << true << "DELACCOUNT" << "";
        QTest::newRow("external") << "-3" << false << "" << "ACCOUNTEXT";
        QTest::newRow("summary") << "-2" << false << "" << "";
        QTest::newRow("deleted account") << "12" << true << "ACCOUNT" << "ACCOUNT";
        // clang-format on
    }
    void addAccountRules() {
        QFETCH(QString, id);
        QFETCH(bool, deleted);
        QFETCH(QString, userImage);
        QFETCH(QString, groupImage);
        for (const bool deferred : {true, false}) {
            IncentiveExplorer e;
            e.AddUser("Jo", "JO", "", false, deferred);
            e.AddGroup("Day", "7", "", deferred);
            const QString userFolder = Keys::UserAccountFolder("JO");
            const QString groupFolder = Keys::GroupAccountFolder("7");
            const QStringList userBefore = e.childKeys(userFolder);
            const QStringList groupBefore = e.childKeys(groupFolder);
            e.AddAccount("Name", id, deleted);
            const auto gained = [&](const QString& folder, const QStringList& before) {
                if (e.childKeys(folder) == before)
                    return QString();
                const auto added = e.node(folder + u'.' + id);
                return added.text() == QStringLiteral("Name") ? added.image() : QString();
            };
            QCOMPARE(gained(userFolder, userBefore), userImage);
            QCOMPARE(gained(groupFolder, groupBefore), groupImage);
            QCOMPARE(e.accountList().size(), 2);
            QCOMPARE(e.accountList().at(1).IsDeleted, deleted);
        }
    }

    void immediateAndDeferredFolders() {
        IncentiveExplorer e;
        e.AddAccount("Beta", "5");
        e.AddAccount("__Default Account", "-1");
        e.AddAccount("Gone", "9", true);
        e.AddUser("Jo", kUser, "t1", false, false);
        e.AddGroup("Day", "7", "t2", false);
        e.AddUser("Al", "AL", "", true, true);
        e.AddGroup("Night", "8", "", true);

        const QString userFolder = Keys::UserAccountFolder(kUser);
        QCOMPARE(e.childKeys(Keys::User(kUser)), QStringList{userFolder});
        QCOMPARE(e.node(Keys::User(kUser)).tag(), QStringLiteral("t1"));
        QCOMPARE(e.node(Keys::User("AL")).image(), QStringLiteral("DELUSER"));
        // Sorted: the "__" texts first, then by text.
        QCOMPARE(e.childKeys(userFolder),
                 QStringList({childOf(userFolder, "-2"), childOf(userFolder, "-1"),
                              childOf(userFolder, "5"), childOf(userFolder, "9")}));
        QCOMPARE(e.node(childOf(userFolder, "-1")).image(), QStringLiteral("ACCOUNT"));
        QCOMPARE(e.node(childOf(userFolder, "9")).image(), QStringLiteral("DELACCOUNT"));
        const QString groupFolder = Keys::GroupAccountFolder("7");
        QCOMPARE(e.childKeys(groupFolder),
                 QStringList({childOf(groupFolder, "-1"), childOf(groupFolder, "5"),
                              childOf(groupFolder, "9")}));

        QCOMPARE(
            e.childKeys(Keys::User("AL")),
            QStringList({Keys::UserAccountFolder("AL"), Keys::UserExternalAccountFolder("AL")}));
        QVERIFY(e.childKeys(Keys::UserAccountFolder("AL")).isEmpty());
        const QString placeholders = Keys::GroupAccountFolder("8");
        QCOMPARE(listing(e, placeholders),
                 QStringList({placeholders + "|Accounts|CLSDFOLD|",
                              placeholders + ".-1|Default Account|ACCOUNTDEF|",
                              placeholders + ".-2|External Accounts|ACCOUNTEXT|"}));
    }

    // The members the on-demand loads use: each kind of account under a group's, a user's and a
    // user's external folder, with the caller's tags; accounts missing from the account list get
    // "UNKNOWN" texts, and in the external folder made-up keys from the never-reset counter.
    void accountsAddedOnDemand() {
        IncentiveExplorer e;
        ExplorerEventLog log(e);
        e.AddAccount("__Default Account", "-1");
        e.AddAccount("__External Accounts", "-3");
        e.AddAccount("Acme", "5");
        e.AddAccount("Gone", "9", true);
        e.AddGroup("Day", "7", "", true);
        e.AddUser("Jo", kUser, "", false, true);
        const QString group = Keys::GroupAccountFolder("7");
        const QString user = Keys::UserAccountFolder(kUser);
        const QString external = Keys::UserExternalAccountFolder(kUser);
        e.ClearAllChildren(e.node(group));
        e.ClearAllChildren(e.node(user));
        for (const char* id : {"-1", "-3", "9", "42"}) {
            e.AddGroupAccount("7", QLatin1String(id), "g");
            e.AddUserAccount(kUser, QLatin1String(id));
        }
        for (const char* id : {"5", "9", "300", "301"})
            e.AddExternalUserAccount(kUser, QLatin1String(id), QLatin1String(id));
        QCOMPARE(listing(e, group).mid(1),
                 QStringList({group + ".-1|__Default Account|ACCOUNTDEF|g",
                              group + ".-3|__External Accounts|ACCOUNTEXT|g",
                              group + ".9|Gone|DELACCOUNT|g",
                              group + ".42|UNKNOWN ACCTID 42|ACCOUNT|g"}));
        QCOMPARE(listing(e, user).mid(1), QStringList({user + ".-1|__Default Account|ACCOUNT|",
                                                       user + ".-3|__External Accounts|ACCOUNT|",
                                                       user + ".9|Gone|DELACCOUNT|",
                                                       user + ".42|UNKNOWN ACCTID 42|ACCOUNT|"}));
        QCOMPARE(listing(e, external).mid(1),
                 QStringList({external + ".5|Acme|ACCOUNTEXT|5", external + ".9|Gone|DELACCOUNT|9",
                              external + ".--100|UNKNOWN ACCOUNT0|ACCOUNTEXT|300",
                              external + ".--99|UNKNOWN ACCOUNT1|ACCOUNTEXT|301"}));
        QCOMPARE(e.unknownExternalCounter(), qint16(2));
        QCOMPARE(log.events, QStringList());
    }

    void failuresRaiseTheErrorEvent() {
        IncentiveExplorer e;
        ExplorerEventLog log(e);
        e.AddFormula("Base", "1");
        e.AddFormula("Other", "1");
        QCOMPARE(e.node(Keys::Formula("1")).text(), QStringLiteral("Base"));
        e.AddGroupAccount("99", "5");
        e.AddUserAccount("NOBODY", "5");
        e.AddExternalUserAccount("NOBODY", "5");
        e.AddAccount("Odd", "x12");
        e.AddAccount("Huge", "40000");
        e.ClickNode("[ROOT].USERS.NOBODY");
        e.FillUserListView(nullptr);
        QStringList numbers;
        for (const QString& event : log.events)
            numbers << event.section(u',', 0, 0);
        QCOMPARE(numbers, QStringList({"Error(35602", "Error(35601", "Error(35601", "Error(35601",
                                       "Error(13", "Error(6", "Error(35601", "Error(91"}));
        QCOMPARE(e.accountList().size(), 1);
    }

    void listViews() {
        IncentiveExplorer e;
        e.AddFormula("Second ", "3");
        e.AddFormula("First", "2");
        e.AddUser("Zoe", "Z", "", true, true);
        e.AddUser("Jo", kUser, "", false, true);
        e.AddGroup("Night", "8", "", true);
        e.AddGroup("Day", "7", "", false);
        e.AddAccount("  Zed  ", "5");
        e.AddAccount("Alpha", "6");
        e.AddExternalUserAccount(kUser, "6");
        e.AddExternalUserAccount(kUser, "400");
        QListWidget list;
        list.addItem(QStringLiteral("stale"));

        e.FillFormulaListView(&list);
        QCOMPARE(items(e, list), QStringList({"[ROOT].FORMULAS.3|Second|FORMULA",
                                              "[ROOT].FORMULAS.2|First|FORMULA"}));

        e.FillUserListView(&list);
        QCOMPARE(items(e, list),
                 QStringList({"[ROOT].USERS.Z|Zoe|USER", Keys::User(kUser) + "|Jo|USER"}));
        e.FillGroupListView(&list);
        QCOMPARE(items(e, list),
                 QStringList({"[ROOT].GROUPS.8|Night|GROUP", "[ROOT].GROUPS.7|Day|GROUP"}));
        e.FillGroupAccountFolderListView("8", &list);
        QCOMPARE(items(e, list),
                 QStringList({"[ROOT].GROUPS.8.ACCOUNTS.-1|Default Account|ACCOUNTDEF",
                              "[ROOT].GROUPS.8.ACCOUNTS.-2|External Accounts|ACCOUNT",
                              "[ROOT].GROUPS.8.ACCOUNTS.5|Zed|ACCOUNT",
                              "[ROOT].GROUPS.8.ACCOUNTS.6|Alpha|ACCOUNT"}));
        // A group filled at once from a list without the default account gets its own.
        e.FillGroupAccountFolderListView("7", &list);
        QCOMPARE(items(e, list),
                 QStringList({"[ROOT].GROUPS.7.ACCOUNTS.-1|__Default Account|ACCOUNTDEF",
                              "[ROOT].GROUPS.7.ACCOUNTS.5|Zed|ACCOUNT",
                              "[ROOT].GROUPS.7.ACCOUNTS.6|Alpha|ACCOUNT"}));
        e.FillUserAccountFolderListView(kUser, &list);
        QCOMPARE(items(e, list), QStringList({Keys::UserAccount(kUser, "5") + "|Zed|ACCOUNT",
                                              Keys::UserAccount(kUser, "6") + "|Alpha|ACCOUNT"}));
        e.FillUserExternalAccountFolderListView(kUser, &list);
        QCOMPARE(items(e, list),
                 QStringList(
                     {Keys::UserExternalAccount(kUser, "6") + "|Alpha|ACCOUNT",
                      Keys::UserExternalAccountFolder(kUser) + ".--100|UNKNOWN ACCOUNT0|ACCOUNT"}));
        e.ShowGroupAccountFolder("7", &list);
        QCOMPARE(items(e, list), QStringList{"[ROOT].GROUPS.7.ACCOUNTS|Accounts|CLSDFOLD"});
    }

    // The lazy account folders must build exactly the tree the plain algorithm builds,
    // including the failures and the clean-up of Sort.
    void lazyFoldersMatchPlainOnes() {
        const std::function<void(IncentiveExplorer&)> script = [](IncentiveExplorer& e) {
            e.AddUser("Imm", "IMM", "", false, false);
            e.AddGroup("GImm", "1", "", false);
            e.AddUser("Def", "D.EF", "x", false, true);
            e.AddGroup("GDef", "2", "", true);
            e.AddAccount("__Default Account", "-1");
            e.AddAccount("____Ext", "-3"); // two Sort calls clean it twice
            e.AddAccount("Again", "-1");   // a duplicate: fails at the first folder
            e.AddAccount("Acme", "10");
            e.Sort();
            e.AddAccount("Beta", "11", true);
            e.AddUser("Late", "LATE", "", false, false);
            e.AddGroup("GLate", "3", "", false);
            e.AddUserAccount("D.EF", "77");
            e.AddAccount("Gamma", "12");
            e.ClearAllChildren(e.node(Keys::UserAccountFolder("LATE")));
            e.AddAccount("Delta", "13");
            e.AddAccount("__Summary again", "-2");
            e.AddUser("Dup", "DUP", "", false, false); // the repeated -2 stops the copy
            e.AddGroup("GDup", "4", "", false);
            e.AddAccount("Acme again", "10"); // fails at the first folder holding 10
            e.Sort();
            e.Sort();
            e.AddUser("New", "NEW", "", false, true);
            e.AddAccount("Omega", "14");
        };
        IncentiveExplorer lazy;
        IncentiveExplorer plain;
        plain.setLazyAccountFolders(false);
        ExplorerEventLog lazyLog(lazy);
        ExplorerEventLog plainLog(plain);
        script(lazy);
        script(plain);
        QCOMPARE(lazyLog.events, plainLog.events);
        QCOMPARE(lazyLog.events.size(), 3);
        QCOMPARE(lazy.accountList().size(), plain.accountList().size());
        QCOMPARE(listing(lazy), listing(plain));
        QListWidget lazyList;
        QListWidget plainList;
        for (const char* user : {"IMM", "D.EF", "LATE", "DUP", "NEW"}) {
            lazy.FillUserAccountFolderListView(QLatin1String(user), &lazyList);
            plain.FillUserAccountFolderListView(QLatin1String(user), &plainList);
            QCOMPARE(items(lazy, lazyList), items(plain, plainList));
        }
    }

    // A name cut off by a narrow explorer or list reads whole in its tooltip; the pictures are
    // drawn for screens at twice the scale as well.
    void namesAndPicturesShowWhole() {
        IncentiveExplorer e;
        e.AddUser("Fitzgerald-Lopez, Annemarie Josephine", "FLA", "", false, true);
        const QModelIndex user = e.modelIndex(Keys::User("FLA"));
        QCOMPARE(user.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Fitzgerald-Lopez, Annemarie Josephine"));
        QListWidget list;
        e.FillUserListView(&list);
        QCOMPARE(list.item(0)->toolTip(), QStringLiteral("Fitzgerald-Lopez, Annemarie Josephine"));
        for (const QString& key : ExplorerImages::keys()) {
            const QList<QSize> sizes = e.imglTreeView().icon(key).availableSizes();
            QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)),
                     qPrintable(key));
        }
    }

    void modelStaysConsistent() {
        IncentiveExplorer e;
        QAbstractItemModelTester tester(e.tree()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        e.AddUser("Jo", "JO", "", false, true);
        e.tree()->expandAll();
        e.AddAccount("Acme", "5");
        e.AddAccount("Beta", "6");
        e.AddUser("Al", "AL", "", false, false);
        e.AddGroup("Day", "7", "", true);
        e.AddFormula("F", "2");
        e.tree()->expandAll();
        e.Sort();
        e.ClearAllChildren(e.node(Keys::GroupAccountFolder("7")));
        e.AddGroupAccount("7", "5");
        e.DeleteFormula("2");
        e.ClearAllNodes();
        QCOMPARE(e.tree()->model()->rowCount(), 1);
    }
};

VELORA_TEST(TestIncentiveExplorer)
#include "TestIncentiveExplorer.moc"
