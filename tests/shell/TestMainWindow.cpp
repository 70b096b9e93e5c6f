#include "MnemonicCheck.h"
#include "ShellInstallation.h"
#include "common/DetailArea.h"
#include "common/TestMain.h"
#include "detail/UserDetailPane.h"
#include "detail/UserPanes.h"
#include "detail/WeekNavigator.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "formulas/FormulaPane.h"
#include "formulas/FormulaPanes.h"
#include "shell/CommandLine.h"
#include "shell/MainWindow.h"
#include "widgets/Twips.h"
#include "widgets/VeloraDatePicker.h"
#include "widgets/cSplitter.h"
#include "widgets/frmWait.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTreeView>

using velora::common::MessageIcon;
using velora::shell::MainWindow;
using velora::test::ShellInstallation;

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With no preference rows the window opens 11325 x 9540 twips with the splash in front
    // and the start dates set; about 125 ms later everybody is recalculated once. Text boxes
    // never show the standard context menu; the window keeps its minimum height and leaves the
    // explorer room for typical names.
    void loadsWithDefaultsAndRecalculatesOnce() {
        ShellInstallation installation;
        installation.db.exec(QStringLiteral("UPDATE Incentive_formula SET formula_text = "
                                            "'Results.IPay = 3' WHERE formula_id = 1"));
        installation.db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, "
                                            "shift_date) VALUES ('sup', 5, '") +
                             QDate::currentDate().toString(Qt::ISODate) + QStringLiteral("')"));
        auto context = installation.context();
        MainWindow window(*context);
        QVERIFY(window.load());
        QVERIFY(installation.messages.shown.isEmpty());
        QCOMPARE(window.size(), velora::widgets::Twips::toPixels(QSize(11325, 9540)));
        QVERIFY(window.loaderTimer().isActive());
        using Pane = velora::common::DetailArea::Pane;
        QVERIFY(window.details().pane(Pane::Splash)->isVisibleTo(&window));
        QVERIFY(!window.details().pane(Pane::UserDetail)->isVisibleTo(&window));
        const QString format = context->region->DateFormat();
        QCOMPARE(window.userPanes()->detailPane().startDate()->Text(),
                 MainWindow::lastWeekStartBefore(QDate::currentDate(), 1).toString(format));
        QCOMPARE(window.formulaPanes()->pane().txtFormulaShiftDate()->text(),
                 QDate::currentDate().toString(format));
        QVERIFY(!context->connection->isOpen());
        for (QLineEdit* box : window.findChildren<QLineEdit*>())
            QVERIFY(box->contextMenuPolicy() != Qt::DefaultContextMenu);

        QTRY_COMPARE(
            installation.db.scalar(QStringLiteral("SELECT incent_pay FROM Trans_incentive"))
                .toDouble(),
            3.0);
        QVERIFY(!window.loaderTimer().isActive());
        QVERIFY(window.isEnabled());
        window.show();
        QVERIFY(window.explorer().width() >= window.explorer().typicalWidth()); // names show
        window.resize(300, 200);
        QVERIFY(velora::widgets::Twips::fromPixels(window.centralWidget()->height()) >= 8800 - 15);
        window.close();
        QVERIFY(context->login->User() == nullptr); // logged off
    }

    // A window closed and opened again comes back where and as large as it was, with the
    // explorer as wide as it was left; a window too wide for the stored numbers is stored at
    // the largest width the next start can read, and opens no wider than the screen. A window
    // left partly off the screen opens on it.
    void windowAndSplitterComeBackAsTheyWereLeft() {
        ShellInstallation installation;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect left(37, 41, 1100, 650);
        {
            auto context = installation.context();
            MainWindow window(*context);
            QVERIFY(window.load());
            window.show();
            window.setGeometry(left);
            window.splitter().setPosition(300);
            QCOMPARE(window.explorer().width(), 300);
            window.close();
        }
        {
            auto context = installation.context();
            MainWindow window(*context);
            QVERIFY(window.load());
            window.show();
            if (screen.contains(left)) {
                QCOMPARE(window.geometry(), left);
            } else { // a small screen: the window opens on it, from its left edge
                QCOMPARE(window.geometry().topLeft(), QPoint(screen.left(), left.top()));
                QCOMPARE(window.height(), left.height());
            }
            if (window.width() >= left.width())
                QCOMPARE(window.explorer().width(), 300);
            window.resize(2300, 700);
            window.close();
        }
        QCOMPARE(installation.userPreference(QStringLiteral("INCENT_WINDOW_WIDTH")),
                 QStringLiteral("32767"));
        // Left above the screen and near its right edge, the window still opens on it.
        const QString stored =
            QStringLiteral("EXEC usp_incentive_add_preference 1, 4, 'INCENT_WINDOW_%1', '%2'");
        installation.db.exec(stored.arg(QStringLiteral("TOP")).arg(-3000));
        installation.db.exec(stored.arg(QStringLiteral("LEFT"))
                                 .arg(velora::widgets::Twips::fromPixels(screen.width() - 100)));
        auto context = installation.context();
        MainWindow window(*context);
        QVERIFY(window.load());
        QVERIFY(installation.messages.shown.isEmpty());
        QCOMPARE(window.width(), std::min(velora::widgets::Twips::toPixels(32767), screen.width()));
        window.show();
        QVERIFY(window.frameGeometry().top() >= screen.top());
        QVERIFY(window.geometry().bottom() <= screen.bottom());
        if (window.width() <= screen.width())
            QVERIFY(screen.contains(window.frameGeometry()));
        else // wider than the screen at its minimum: from the screen's left edge
            QCOMPARE(window.frameGeometry().left(), screen.left());
    }

    // The explorer's menus create, rename and delete: a supervisor (right 17) has them, an
    // operator (right 16 only) never does.
    void explorerMenusBelongToFullMode_data() {
        QTest::addColumn<QString>("switches");
        QTest::addColumn<QString>("transId");
        QTest::addColumn<bool>("menus");
        QTest::newRow("supervisor") << "/UNAME=sup /PASSWORD=pw"
                                    << "sup" << true;
        QTest::newRow("operator") << "/UNAME=op /PASSWORD=pw"
                                  << "op" << false;
    }
    void explorerMenusBelongToFullMode() {
        QFETCH(QString, switches);
        QFETCH(QString, transId);
        QFETCH(bool, menus);
        using velora::explorer::ExplorerKeys;
        ShellInstallation installation;
        installation.db.exec(
            QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, "
                           "last_name, trans_type) VALUES ('op', 'Otto', 'Pe', 1)"));
        installation.addUser(QStringLiteral("op"), QStringLiteral("pw"), QStringLiteral("op"),
                             {16});
        installation.switches = switches;
        auto context = installation.context();
        MainWindow window(*context);
        QVERIFY(window.load());
        window.show();
        velora::explorer::IncentiveExplorer& explorer = window.explorer();
        const QList<QPair<QString, QString>> nodes{
            {ExplorerKeys::FormulasFolder(), QStringLiteral("mnuFormulaFolderPopup")},
            {ExplorerKeys::GroupsFolder(), QStringLiteral("mnuGroupFolderPopup")},
            {ExplorerKeys::User(transId), QStringLiteral("mnuUserFolderPopup")}};
        for (const auto& [key, menu] : nodes) {
            QTreeView* tree = explorer.tree();
            const QModelIndex index = explorer.modelIndex(key);
            QVERIFY2(index.isValid(), qPrintable(key));
            tree->scrollTo(index);
            QTest::mousePress(tree->viewport(), Qt::RightButton, {},
                              tree->visualRect(index).center());
            QCOMPARE(explorer.CurrentNode().key(), key);
            QCOMPARE(explorer.lastPopup() ? explorer.lastPopup()->objectName() : QString(),
                     menus ? menu : QString());
            if (explorer.lastPopup())
                explorer.lastPopup()->hide();
        }
        window.close();
    }

    // The configuration, the switches and the logins as they stand decide what opens, or
    // start-up ends with one message that says what is wrong (and saves no settings); nothing
    // falls back to a default quietly. In the texts, DB stands for the database file, OTHER for
    // a second configuration file and CONFIG for the default one; an ini of "-" removes it.
    void startUpOutcomes_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error"); // empty: start-up succeeds
        const QString embedded = QStringLiteral("[System]\r\nServer=(embedded)\r\nDatabase=");
        const QString db = embedded + QStringLiteral("DB");
        const QStringList login{"/UNAME=sup", "/PASSWORD=pw"};
        const QString failed = QStringLiteral("The Incentive program failed to initialize due to "
                                              "the following error:\r\n");
        const QString version =
            QStringLiteral("UPDATE Suite_info SET info_value = '%1' WHERE info_key = "
                           "'DatabaseVersion'");
        const auto row = [](const char* name, const QString& ini, const QStringList& arguments,
                            const QString& setup, const QString& error) {
            QTest::newRow(name) << ini << arguments << setup << error;
        };
        row("configuration named after its switch", embedded + "missing.sqlite",
            {"/INI", "OTHER", "/UNAME", "sup", "/PASSWORD", "pw"}, "", "");
        row("semicolon in the database path",
            embedded + "../../a;Data Source=elsewhere;b/incentive.sqlite", login, "", "");
        row("switch without its value", db, login + QStringList{"/INI"}, "",
            "Error Number:5\r\nError Description:The switch /INI needs a value");
        row("user name without its value", db, {"/UNAME", "/PASSWORD=pw"}, "",
            "Error Number:5\r\nError Description:The switch /UNAME needs a value");
        row("password empty after equals", db, {"/UNAME=sup", "/PASSWORD="}, "",
            "Error Number:5\r\nError Description:The switch /PASSWORD needs a value");
        row("configuration of blanks only", db, login + QStringList{"/INI=  "}, "",
            "Error Number:5\r\nError Description:The switch /INI needs a value");
        row("named configuration missing", db, QStringList{"/INI=/nonexistent/HALVEX.INI"} + login,
            "",
            "Error Number:-2147211503\r\nError Description:The configuration file "
            "/nonexistent/HALVEX.INI named by the switch /INI could not be found.");
        row("default configuration missing", "-", login, "",
            "Error Number:-2147211503\r\nError Description:The CONFIG file could not be found.");
        row("empty configuration", "", login, "",
            "Error Number:-2147211502\r\nError Description:The key \"Server\" of section "
            "[System] in the configuration file CONFIG is missing or empty.");
        row("garbage configuration", "\x01\x02PK;;==\n[[[\nServer\n", login, "",
            "Error Number:-2147211502\r\nError Description:The key \"Server\" of section");
        row("embedded without a file", "[System]\r\nServer=(embedded)\r\n", login, "",
            "Error Number:-2147211502\r\nError Description:The key \"Database\" of section "
            "[System] in the configuration file CONFIG is missing");
        row("duplicated switch", db, {"/UNAME=sup", "/UNAME=sup"}, "",
            "Error Number:457\r\nError Description:");
        row("unreachable database", embedded + "missing.sqlite", login, "",
            "Error Number:-2147467259\r\nError Description:Cannot open database");
        row("wrong password", db, {"/UNAME=sup", "/PASSWORD=nope"}, "",
            failed + "The password is invalid.");
        row("unknown user", db, {"/UNAME=nobody"}, "", failed + "The login failed.");
        row("no right 16", db, {"/UNAME=norights", "/PASSWORD=x"}, "",
            failed + "The user does not have sufficient rights.");
        row("not a transcriptionist", db, {"/UNAME=clerk", "/PASSWORD=x"}, "",
            failed + "The user does not have sufficient rights.");
        row("old database", db, login, version.arg("2.023"),
            failed + "The current version of the HV2 Database does not support Incentive.");
        row("version not a number", db, login, version.arg("two"),
            "Error Number:13\r\nError Description:");
        row("preference that does not convert", db, login,
            "EXEC usp_incentive_add_preference 1, 4, 'INCENT_WINDOW_WIDTH', '40000'",
            "An error occurred initializing the incentive application. Please contact the "
            "vendors of this product for more information.\r\n\r\nError 6:");
    }
    void startUpOutcomes() {
        QFETCH(QString, ini);
        QFETCH(QStringList, arguments);
        QFETCH(QString, setup);
        QFETCH(QString, error);
        ShellInstallation installation;
        installation.addUser(QStringLiteral("norights"), QStringLiteral("x"), QStringLiteral("sup"),
                             {17});
        installation.addUser(QStringLiteral("clerk"), QStringLiteral("x"), QString(), {16});
        if (!setup.isEmpty())
            installation.db.exec(setup);
        const QString other = installation.db.folder() + QStringLiteral("/other dir/HALVEX.INI");
        QDir().mkpath(QFileInfo(other).absolutePath());
        QFile otherFile(other);
        QVERIFY(otherFile.open(QIODevice::WriteOnly));
        otherFile.write("[System]\nServer=(embedded)\nDatabase=" + installation.db.path().toUtf8());
        otherFile.close();
        const QString folder =
            installation.db.folder() + QStringLiteral("/a;Data Source=elsewhere;b");
        QDir().mkpath(folder);
        installation.db.connection().close(); // the copy needs everything in the main file
        QVERIFY(QFile::copy(installation.db.path(), folder + QStringLiteral("/incentive.sqlite")));
        if (ini == QLatin1String("-"))
            QFile::remove(installation.iniPath);
        else
            installation.writeIni(
                QString(ini).replace(QStringLiteral("DB"), installation.db.path()));
        arguments.replaceInStrings(QStringLiteral("OTHER"), other);
        installation.switches = velora::shell::CommandLine::argumentText(
            QStringList{QStringLiteral("velora-incentive")} + arguments);
        auto context = installation.context();
        MainWindow window(*context);
        QCOMPARE(window.load(), error.isEmpty());
        if (error.isEmpty()) {
            QVERIFY(installation.messages.shown.isEmpty());
            QCOMPARE(context->configurationPath,
                     arguments.first() == QLatin1String("/INI") ? other : installation.iniPath);
            return;
        }
        QCOMPARE(installation.messages.shown.size(), 1);
        const QString shown = installation.messages.shown[0].text;
        QVERIFY2(shown.startsWith(
                     QString(error).replace(QStringLiteral("CONFIG"), installation.iniPath)),
                 qPrintable(shown));
        QVERIFY(installation.messages.shown[0].icon ==
                (error.startsWith(QLatin1String("Error Number:")) ? MessageIcon::None
                                                                  : MessageIcon::Critical));
        installation.db.connection().ensureOpen();
        if (!context->loggedIn) // nothing is saved for a start-up that logged nobody in
            QCOMPARE(installation.db.scalar(QStringLiteral("SELECT COUNT(*) FROM "
                                                           "Incentive_preference WHERE pref_key "
                                                           "<> 'INCENT_FIRST_TIME_USE'")),
                     QStringLiteral("0"));
    }

    // Every menu entry and every button of the assembled window can be reached with Alt and a
    // letter of its own: within a menu no two entries share one, and no pane's buttons share
    // one with each other or with the menu bar.
    void everyMenuEntryAndButtonKeepsItsOwnMnemonic() {
        ShellInstallation installation;
        auto context = installation.context();
        MainWindow window(*context);
        QVERIFY(window.load());
        using velora::test::mnemonicFaults;
        QStringList titles;
        for (const QAction* action : window.menuBar()->actions())
            titles << action->text();
        QStringList faults = mnemonicFaults(QStringLiteral("menu bar"), titles);
        QList<QMenu*> menus = window.findChildren<QMenu*>();
        menus << window.userPanes()->navigator().contextMenu();
        for (const QMenu* menu : menus) {
            if (menu->objectName().startsWith(QLatin1String("mnu"))) // not Qt's own (calendar)
                faults << mnemonicFaults(menu->objectName(), velora::test::menuCaptions(*menu));
        }
        using Pane = velora::common::DetailArea::Pane;
        for (Pane pane : {Pane::UserHeader, Pane::UserDetail, Pane::Account, Pane::Formula}) {
            const QWidget& shown = *window.details().pane(pane);
            faults << mnemonicFaults(shown.objectName(),
                                     titles + velora::test::buttonCaptions(shown));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void busyStateIsNotCounted() {
        ShellInstallation installation;
        auto context = installation.context();
        MainWindow window(*context);
        window.busy().BeginBusy(false, QString(), QString(), 201);
        QVERIFY(!window.centralWidget()->isEnabled() && !window.menuBar()->isEnabled());
        QVERIFY(window.busy().waitDialog() == nullptr);
        window.busy().EndBusy();
        QVERIFY(window.centralWidget()->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // The control the operator was typing in has the focus again afterwards.
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidget* tree = window.findChild<QWidget*>(QStringLiteral("tvwExplorer"));
        QVERIFY(tree);
        tree->setFocus();
        QCOMPARE(QApplication::focusWidget(), tree);
        window.busy().BeginBusy(false, QString(), QString(), 201);
        QVERIFY(QApplication::focusWidget() != tree);
        window.busy().EndBusy();
        QCOMPARE(QApplication::focusWidget(), tree);

        // A nested BeginBusy keeps the first text; one EndBusy ends the busy state.
        window.busy().BeginBusy(true, QStringLiteral("Loading Users..."), QString(), 201);
        window.busy().BeginBusy(true, QStringLiteral("ignored"), QString(), 202);
        QCOMPARE(window.busy().waitDialog()->MessageText(), QStringLiteral("Loading Users..."));
        window.busy().EndBusy();
        QVERIFY(window.centralWidget()->isEnabled());
        QVERIFY(window.busy().waitDialog() == nullptr);
    }

    void startDateIsTheWeekStartStrictlyBeforeToday() {
        const QDate sunday(2026, 12, 6);
        QCOMPARE(MainWindow::lastWeekStartBefore(sunday, 1), QDate(2026, 11, 29));
        QCOMPARE(MainWindow::lastWeekStartBefore(sunday, 2), QDate(2026, 11, 30));
        QCOMPARE(MainWindow::lastWeekStartBefore(sunday.addDays(1), 1), sunday);
        QCOMPARE(MainWindow::lastWeekStartBefore(QDate(2026, 12, 5), 7), QDate(2026, 11, 28));
    }
};

VELORA_TEST(TestMainWindow)
#include "TestMainWindow.moc"
