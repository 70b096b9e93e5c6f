#include "ExplorerEventLog.h"
#include "common/TestMain.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"

#include <QMenu>
#include <QTest>
#include <QTreeView>

using velora::explorer::ExplorerKeys;
using velora::explorer::ExplorerNode;
using velora::explorer::IncentiveExplorer;
using Keys = ExplorerKeys;

namespace {

const QString kUser = QStringLiteral("J.SMITH");

// A small tree: a user with an account and an external account, two formulas, a group
// with its accounts loaded.
void populate(IncentiveExplorer& e) {
    e.AddUser("Jo Smith", kUser, "", false, true);
    e.AddAccount("__Default Account", "-1");
    e.AddAccount("Acme", "5");
    e.AddFormula("Default", "1");
    e.AddFormula("Rate", "2");
    e.AddGroup("Day", "7", "", false);
    e.AddExternalUserAccount(kUser, "5");
    e.Sort();
}

void click(IncentiveExplorer& e, const QString& key) {
    Q_EMIT e.tree()->clicked(e.modelIndex(key));
}

QAction* menuItem(IncentiveExplorer& e, const char* name) {
    return e.findChild<QAction*>(QLatin1String(name));
}

} // namespace

class TestIncentiveExplorerEvents : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clickDispatchAndLostFocus_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("expected");
        const QString user = Keys::User(kUser);
        const QString account = Keys::UserAccount(kUser, "5");
        const QString external = Keys::UserExternalAccount(kUser, "5");
        const QString formula = Keys::Formula("2");
        const QString group = Keys::Group("7");
        const QString groupAccount = Keys::GroupAccount("7", "-1");
        QTest::newRow("user then formula")
            << user << formula
            << QStringList{"UserClick(Jo Smith,J.SMITH)", "LostFocusUser(Jo Smith,J.SMITH)",
                           "FormulaClick(Rate,2)"};
        QTest::newRow("same node twice")
            << formula << formula << QStringList{"FormulaClick(Rate,2)", "FormulaClick(Rate,2)"};
        QTest::newRow("after an external account")
            << external << group
            << QStringList{"UserAccountClick(Jo Smith,J.SMITH,Acme,5)", "GroupClick(Day,7)"};
        QTest::newRow("after a user account")
            << account << Keys::Root()
            << QStringList{"UserAccountClick(Jo Smith,J.SMITH,Acme,5)",
                           "LostFocusUserAccount(Jo Smith,J.SMITH,5)", "RootClick()"};
        QTest::newRow("after a group account")
            << groupAccount << Keys::GroupAccountFolder("7")
            << QStringList{"AccountClick(Default Account,-1,7,Day)",
                           "LostFocusAccount(Default Account,-1,7)", "AccountFolderClick(7)"};
        QTest::newRow("after a group") << group << Keys::UserAccountFolder(kUser)
                                       << QStringList{"GroupClick(Day,7)", "LostFocusGroup(Day,7)",
                                                      "UserAccountFolderClick(J.SMITH)"};
        QTest::newRow("after a folder")
            << Keys::UsersFolder() << Keys::UserExternalAccountFolder(kUser)
            << QStringList{"UserFolderClick()", "UserExternalAccountFolderClick(J.SMITH)"};
        QTest::newRow("formulas and groups folders")
            << Keys::FormulasFolder() << Keys::GroupsFolder()
            << QStringList{"FormulaFolderClick()", "GroupFolderClick()"};
    }
    void clickDispatchAndLostFocus() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QStringList, expected);
        IncentiveExplorer e;
        populate(e);
        ExplorerEventLog log(e);
        click(e, first);
        click(e, second);
        QCOMPARE(log.events, expected);
    }

    void deleteFormula_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<qint16>("cancel");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("stays");
        QTest::newRow("default formula")
            << "1" << qint16(0) << QStringList{"Error(-1,You can not delete the default formula.)"}
            << true;
        QTest::newRow("below one")
            << "0" << qint16(0)
            << QStringList{"Error(-1,An unresolved error occurred in an attempt to delete this "
                           "formula.)"}
            << true;
        QTest::newRow("cancelled")
            << "2" << qint16(1) << QStringList{"DeleteFormula(Rate,2)"} << true;
        // The deleted formula had the focus: it is gone, so nobody hears it lose it.
        QTest::newRow("deleted") << "2" << qint16(0)
                                 << QStringList{"DeleteFormula(Rate,2)", "FormulaFolderClick()"}
                                 << false;
    }
    void deleteFormula() {
        QFETCH(QString, id);
        QFETCH(qint16, cancel);
        QFETCH(QStringList, expected);
        QFETCH(bool, stays);
        IncentiveExplorer e;
        populate(e);
        click(e, Keys::Formula("2"));
        ExplorerEventLog log(e);
        log.nextCancel = cancel;
        e.DeleteFormula(id);
        QCOMPARE(log.events, expected);
        QCOMPARE(e.hasNode(Keys::Formula("2")), stays || id != "2");
        QVERIFY(e.hasNode(Keys::Formula("1")));
    }

    void deleteGroupHonoursCancel() {
        IncentiveExplorer e;
        populate(e);
        ExplorerEventLog log(e);
        const QStringList before = e.childKeys(Keys::GroupAccountFolder("7"));
        log.nextCancel = 1;
        e.DeleteGroup("7");
        QCOMPARE(log.take(), QStringList{"DeleteGroup(Day,7)"});
        QCOMPARE(e.childKeys(Keys::GroupAccountFolder("7")), before);
        log.nextCancel = 0;
        e.DeleteGroup("7");
        QCOMPARE(log.take(), QStringList({"DeleteGroup(Day,7)", "GroupFolderClick()"}));
        QVERIFY(!e.hasNode(Keys::GroupAccount("7", "5")));
        e.DeleteGroup("7");
        QCOMPARE(log.take().value(0).left(12), QStringLiteral("Error(35601,"));
    }

    void expandAndCollapse() {
        IncentiveExplorer e;
        populate(e);
        ExplorerEventLog log(e);
        QTreeView* view = e.tree();
        const QString group = Keys::Group("7");
        const QString folder = Keys::GroupAccountFolder("7");
        view->expand(e.modelIndex(Keys::GroupsFolder()));
        view->expand(e.modelIndex(group));
        view->expand(e.modelIndex(folder));
        QCOMPARE(e.node(Keys::GroupsFolder()).image(), QStringLiteral("OPENFOLD"));
        QCOMPARE(e.node(folder).image(), QStringLiteral("OPENFOLD"));
        QCOMPARE(e.node(group).image(), QStringLiteral("GROUP"));
        QCOMPARE(log.take(), QStringList{"GroupFolderExpand([ROOT].GROUPS.7,7)"});
        view->collapse(e.modelIndex(folder));
        view->collapse(e.modelIndex(group));
        QCOMPARE(e.node(folder).image(), QStringLiteral("CLSDFOLD"));
        QCOMPARE(log.take(), QStringList({"AccountFolderClick(7)", "GroupClick(Day,7)"}));
        view->expand(e.modelIndex(Keys::FormulasFolder()));
        view->expand(e.modelIndex(Keys::UsersFolder()));
        view->expand(e.modelIndex(Keys::User(kUser)));
        QCOMPARE(log.take(), QStringList({"FormulaFolderClick()", "UserFolderExpand([ROOT].USERS." +
                                                                      Keys::User(kUser).mid(13) +
                                                                      ",J.SMITH)"}));
        QVERIFY(e.node(Keys::User(kUser)).isExpanded());
    }

    void clickNodeExpandsSelectsAndDispatches() {
        IncentiveExplorer e;
        populate(e);
        e.AddFormula("Rate", "3"); // reads like formula 2
        ExplorerEventLog log(e);
        e.ClickNode(Keys::UserAccount(kUser, "5"));
        QVERIFY(e.node(Keys::UserAccountFolder(kUser)).isExpanded());
        QCOMPARE(e.node(Keys::UserAccountFolder(kUser)).image(), QStringLiteral("OPENFOLD"));
        QCOMPARE(e.CurrentNode().key(), Keys::UserAccount(kUser, "5"));
        QCOMPARE(log.take(), QStringList{"UserAccountClick(Jo Smith,J.SMITH,Acme,5)"});

        e.ClickFormulaNode("2");
        QCOMPARE(e.CurrentNode().key(), Keys::Formula("2"));
        log.take();
        e.ClickFormulaNode("3");
        QCOMPARE(e.CurrentNode().key(), Keys::Formula("2")); // same text: not selected
        QCOMPARE(log.take().constLast(), QStringLiteral("FormulaClick(Rate,3)"));

        e.ClickNode("[ROOT].FORMULAS.99");
        QCOMPARE(log.take().value(0).left(12), QStringLiteral("Error(35601,"));
        e.ClickGroupNode("7");
        QCOMPARE(e.CurrentNode().key(), Keys::Group("7"));
    }

    void rightClickMenus_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("operatorMode");
        QTest::addColumn<QString>("menu");
        QTest::newRow("user") << Keys::User(kUser) << false << "mnuUserFolderPopup";
        QTest::newRow("formulas folder")
            << Keys::FormulasFolder() << false << "mnuFormulaFolderPopup";
        QTest::newRow("formula") << Keys::Formula("2") << false << "mnuFormulaPopup";
        QTest::newRow("groups folder") << Keys::GroupsFolder() << false << "mnuGroupFolderPopup";
        QTest::newRow("group") << Keys::Group("7") << false << "mnuGroupPopup";
        QTest::newRow("account") << Keys::UserAccount(kUser, "5") << false << "";
        QTest::newRow("root") << Keys::Root() << false << "";
        QTest::newRow("users folder") << Keys::UsersFolder() << false << "";
        QTest::newRow("formula, operator mode") << Keys::Formula("2") << true << "";
        QTest::newRow("group, operator mode") << Keys::Group("7") << true << "";
    }
    void rightClickMenus() {
        QFETCH(QString, key);
        QFETCH(bool, operatorMode);
        QFETCH(QString, menu);
        IncentiveExplorer e;
        populate(e);
        e.SetOperatorMode(operatorMode);
        ExplorerEventLog log(e);
        e.RightClickNode(key, QPoint(10, 10));
        QCOMPARE(e.CurrentNode().key(), key);
        QCOMPARE(e.lastPopup() ? e.lastPopup()->objectName() : QString(), menu);
        if (e.lastPopup() != nullptr) {
            QVERIFY(e.lastPopup()->isVisible());
            e.lastPopup()->hide();
        }
        QCOMPARE(log.events, QStringList());
    }

    void menuItems() {
        IncentiveExplorer e;
        populate(e);
        e.SetOperatorMode(false);
        ExplorerEventLog log(e);
        e.RightClickNode(Keys::Formula("2"), QPoint());
        e.lastPopup()->hide();
        log.nextName = QStringLiteral("Never");
        log.nextCancel = 1;
        menuItem(e, "mnuRenameFormula")->trigger();
        QCOMPARE(e.node(Keys::Formula("2")).text(), QStringLiteral("Rate"));
        log.nextName = QStringLiteral("Flat");
        log.nextCancel = 0;
        menuItem(e, "mnuRenameFormula")->trigger();
        QCOMPARE(e.node(Keys::Formula("2")).text(), QStringLiteral("Flat"));

        e.RightClickNode(Keys::Group("7"), QPoint());
        e.lastPopup()->hide();
        log.nextName = QStringLiteral("Evening");
        log.nextIsDefault = true;
        menuItem(e, "mnuRenameGroup")->trigger();
        QCOMPARE(e.node(Keys::Group("7")).text(), QStringLiteral("Evening (Default)"));
        log.nextIsDefault = false;
        menuItem(e, "mnuRenameGroup")->trigger();
        QCOMPARE(e.node(Keys::Group("7")).text(), QStringLiteral("Evening"));
        menuItem(e, "mnuCreateGroup")->trigger();
        menuItem(e, "mnuCreateFormula")->trigger();

        e.node(Keys::User(kUser)).setTag(QStringLiteral("LOADED"));
        e.RightClickNode(Keys::User(kUser), QPoint());
        e.lastPopup()->hide();
        menuItem(e, "mnuRefreshUser")->trigger();
        QCOMPARE(e.node(Keys::User(kUser)).tag(), QString());

        e.RightClickNode(Keys::Formula("2"), QPoint());
        e.lastPopup()->hide();
        menuItem(e, "mnuDeleteFormula")->trigger();
        QCOMPARE(log.take(), QStringList({"RenameFormula(2,Rate,)", "RenameFormula(2,Rate,)",
                                          "RenameGroup(7,Day)", "RenameGroup(7,Evening (Default))",
                                          "CreateGroup()", "CreateFormula()",
                                          "UserFolderExpand(" + Keys::User(kUser) + ",J.SMITH)",
                                          "DeleteFormula(Flat,2)", "FormulaFolderClick()"}));
    }
};

VELORA_TEST(TestIncentiveExplorerEvents)
#include "TestIncentiveExplorerEvents.moc"
