#include "DateAnswerer.h"
#include "ShellInstallation.h"
#include "catalogue/QuoteSql.h"
#include "common/TestMain.h"
#include "detail/UserDetailPane.h"
#include "detail/UserHeaderPane.h"
#include "detail/UserPanes.h"
#include "engine/UpdateEngine.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "groups/FindListIndexByItemData.h"
#include "groups/PromptDialog.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using velora::catalogue::QuoteSql;
using velora::common::MessageAnswer;
using velora::detail::ValueKind;
using velora::explorer::ExplorerKeys;
using velora::shell::MainWindow;
using velora::test::DateAnswerer;
using velora::test::ShellInstallation;

namespace {

// A user id, names and a formula that break any statement that splices them without QuoteSql,
// and break it the quiet way: unquoted, the id reads as "x\" OR true and reaches every user.
const QString kHostile = QStringLiteral("j.x\\' OR '1'='1");
const QString kAccountName = QStringLiteral("St. Mary's \\ Clinic'); --");
const QString kFormulaName = QStringLiteral("Rate\\' OR 'a'='a");
const QString kGroupName = QStringLiteral("Night' Shift; DELETE FROM Trans_info --");
const QString kOtherGroupName = QStringLiteral("Day\\Shift 'B'");

QString q(const QString& text) {
    return QLatin1Char('\'') + QuoteSql(text) + QLatin1Char('\'');
}

// Every row of the tables a request can touch, by table and key: column -> value as text.
using Snapshot = QMap<QString, QMap<QString, QString>>;

Snapshot snapshot(velora::db::Connection& connection) {
    const std::pair<const char*, const char*> tables[] = {
        {"Trans_info", "trans_id"},
        {"Trans_incentive", "trans_id, hosp_acct_id, shift_date"},
        {"Account_info", "hosp_acct_id"},
        {"Incentive_formula", "formula_id"},
        {"Incentive_group", "group_id"},
        {"Incentive_group_formula", "group_id, account_id"},
        {"Incentive_preference", "pref_key, user_id, partition_id"}};
    connection.ensureOpen();
    Snapshot rows;
    for (const auto& [table, key] : tables) {
        velora::db::Recordset rs =
            connection.openRecordset(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
        for (; !rs.eof(); rs.moveNext()) {
            QString id = QLatin1String(table);
            for (const QString& column : QString::fromLatin1(key).split(QStringLiteral(", ")))
                id += QLatin1Char('|') + rs.text(column);
            for (const QString& column : rs.columnNames())
                rows[id][column.toLower()] = rs.text(column);
        }
    }
    return rows;
}

// "key: column, column" for each row that changed, "key: added" / "key: removed".
QStringList changes(const Snapshot& before, const Snapshot& after) {
    QStringList result;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key())) {
            result << it.key() + QStringLiteral(": added");
            continue;
        }
        QStringList columns;
        for (auto column = it->cbegin(); column != it->cend(); ++column) {
            if (before[it.key()].value(column.key()) != column.value())
                columns << column.key();
        }
        if (!columns.isEmpty())
            result << it.key() + QStringLiteral(": ") + columns.join(QStringLiteral(", "));
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            result << it.key() + QStringLiteral(": removed");
    }
    return result;
}

// A site in partition mode: North (1) and South (2) below the base partition, the supervisor
// "sup" at the base seeing both, formula 2 and groups 2 to 4, account 5 in the North and
// account 7 in the South. Users and their rows are added by each test.
struct Site {
    ShellInstallation installation;
    std::unique_ptr<velora::common::AppContext> context;
    std::unique_ptr<MainWindow> window;
    QDate start = MainWindow::lastWeekStartBefore(QDate::currentDate(), 1);

    explicit Site(const QString& northAccount = QStringLiteral("Mercy")) {
        installation.db.exec(QStringLiteral(
            "INSERT INTO System_partitions (partition_id, parent_id, partition_name, "
            "partition_description) VALUES (1, 0, 'North', 'North'), (2, 0, 'South', 'South')"));
        addFormulaAndGroups();
        exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, "
                            "partition_id) VALUES (5, ") +
             q(northAccount) + QStringLiteral(", 1), (7, 'South Lab', 2)"));
    }

    void exec(const QString& statement) { installation.db.exec(statement); }
    QString scalar(const QString& statement) { return installation.db.scalar(statement); }

    QString day(int offset) const { return start.addDays(offset).toString(Qt::ISODate); }

    void addUser(const QString& id, const QString& last, int partition, int group,
                 bool deleted = false) {
        exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, trans_type, "
                            "is_deleted, extra3, incentive_group_id, incentive_effective_date) "
                            "VALUES (%1, 'Kim''); DROP TABLE Trans_info; --', %2, 1, %3, %4, %5, "
                            "'1980-01-01')")
                 .arg(q(id), q(last))
                 .arg(deleted ? 1 : 0)
                 .arg(partition)
                 .arg(group));
    }

    // A week of unlocked rows from the start date: 100, 110, ... true lines.
    void addWeek(const QString& id, int account) {
        for (int d = 0; d < 7; ++d)
            exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, "
                                "shift_date, lines, lines_modified) VALUES (%1, %2, '%3', %4, %4)")
                     .arg(q(id))
                     .arg(account)
                     .arg(day(d))
                     .arg(100 + 10 * d));
    }

    // Formula 2 pays ten cents a line; each group pays it on the default and external accounts.
    void addFormulaAndGroups() {
        exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                            "formula_text, partition_id, incentive_effective_date) VALUES (2, ") +
             q(kFormulaName) +
             QStringLiteral(", 'Results.ILines = Lines\r\nResults.IHours = 0\r\nResults.IPay = "
                            "Lines * 0.1', 1, '1980-01-01')"));
        exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id, "
                            "incentive_effective_date, flag1) VALUES (2, %1, 1, '1980-01-01', 1), "
                            "(3, %2, 1, '1980-01-01', 0), (4, 'South Standard', 2, '1980-01-01', "
                            "1)")
                 .arg(q(kGroupName), q(kOtherGroupName)));
        for (int group : {2, 3, 4})
            exec(QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                                "typed_formula_id, hours_worked_formula_id, pay_formula_id) "
                                "VALUES (%1, -1, 2, 2, 2), (%1, -3, 2, 2, 2)")
                     .arg(group));
    }

    // Logs in ("sup" by default) and waits for the start-up recalculation.
    bool open(const QString& switches = QStringLiteral("/UNAME=sup /PASSWORD=pw")) {
        installation.switches = switches;
        context = installation.context();
        window = std::make_unique<MainWindow>(*context);
        if (!window->load())
            return false;
        QSignalSpy completions(context->engine.get(),
                               &velora::engine::UpdateEngine::OnUpdateComplete);
        return completions.wait(30000) || completions.count() > 0;
    }

    velora::explorer::IncentiveExplorer& explorer() { return window->explorer(); }
    velora::detail::UserDetailPane& week() { return window->userPanes()->detailPane(); }
    QString cell(ValueKind kind, int row) { return week().cell(kind, row)->text(); }
    Snapshot rows() { return snapshot(installation.db.connection()); }
    QStringList shown() {
        QStringList texts;
        for (const auto& message : std::as_const(installation.messages.shown))
            texts << message.text;
        return texts;
    }
};

} // namespace

class TestHostileIds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A user, an account, a formula and two groups whose ids and names hold quotes, backslashes
    // and statement fragments, taken through every path: load, expand, open a week, save,
    // revert, save with a recalculation, change the user's group. Only the user's own rows may
    // change, and only as asked; the bystanders in the same group keep every value.
    void everyPathChangesOnlyTheIntendedRows() {
        Site site(kAccountName);
        site.addUser(kHostile, QStringLiteral("O'Hare \\ --"), 1, 2);
        site.addUser(QStringLiteral("bob"), QStringLiteral("Bystander"), 1, 2);
        site.addUser(QStringLiteral("sam"), QStringLiteral("Southerner"), 2, 4);
        for (const QString& id : {kHostile, QStringLiteral("bob"), QStringLiteral("sam")}) {
            site.addWeek(id, 5);
            site.addWeek(id, 7);
        }
        QVERIFY(site.open());
        QCOMPARE(site.shown(), QStringList());
        const Snapshot before = site.rows();

        // Load: every hostile name is shown as stored, under keys the explorer can read back.
        auto& explorer = site.explorer();
        QCOMPARE(explorer.node(ExplorerKeys::User(kHostile)).text(),
                 QStringLiteral("North\\O'Hare \\ --, Kim'); DROP TABLE Trans_info; --"));
        QCOMPARE(explorer.node(ExplorerKeys::Formula(QStringLiteral("2"))).text(),
                 QStringLiteral("North\\") + kFormulaName);
        QCOMPARE(explorer.node(ExplorerKeys::Group(QStringLiteral("3"))).text(),
                 QStringLiteral("North\\") + kOtherGroupName);

        // Expand: the user's own account, and the South account as an external one.
        explorer.ClickNode(ExplorerKeys::User(kHostile));
        QCOMPARE(explorer.node(ExplorerKeys::UserAccount(kHostile, QStringLiteral("5"))).text(),
                 QStringLiteral("North\\") + kAccountName);
        QCOMPARE(explorer.childKeys(ExplorerKeys::UserExternalAccountFolder(kHostile)),
                 QStringList{ExplorerKeys::UserExternalAccount(kHostile, QStringLiteral("7"))});
        // Another user's folders stay as they are until that user is opened.
        QVERIFY(explorer.childKeys(ExplorerKeys::UserExternalAccountFolder(QStringLiteral("bob")))
                    .isEmpty());
        explorer.ClickNode(ExplorerKeys::Group(QStringLiteral("2")));
        QVERIFY(
            explorer.hasNode(ExplorerKeys::GroupAccount(QStringLiteral("2"), QStringLiteral("5"))));
        QCOMPARE(site.shown(), QStringList());

        // Open the week, save a correction, revert it: the row is as it was.
        explorer.ClickNode(ExplorerKeys::UserAccount(kHostile, QStringLiteral("5")));
        QCOMPARE(site.cell(ValueKind::TrueLines, 5), QStringLiteral("150"));
        QCOMPARE(site.cell(ValueKind::IPay, 5), QStringLiteral("15.00"));
        site.installation.messages.queue(MessageAnswer::No);
        site.week().cell(ValueKind::TrueLines, 5)->setText(QStringLiteral("999"));
        site.week().saveChanges()->click();
        const QString dayFive = QStringLiteral("SELECT lines_modified FROM Trans_incentive WHERE "
                                               "hosp_acct_id = 5 AND shift_date = '") +
                                site.day(5) + QStringLiteral("' AND trans_id = ");
        QCOMPARE(site.scalar(dayFive + q(kHostile)).toDouble(), 999.0);
        QCOMPARE(site.scalar(dayFive + QStringLiteral("'bob'")).toDouble(), 150.0);
        Q_EMIT site.week().cellContextMenuRequested(ValueKind::TrueLines, 5, QPoint());
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
        site.window->userPanes()->RevertCell();
        QCOMPARE(site.scalar(dayFive + q(kHostile)).toDouble(), 150.0);
        QCOMPARE(site.cell(ValueKind::TrueLines, 5), QStringLiteral("150"));

        // Save with a recalculation: the engine prices the corrected day of this user alone.
        QSignalSpy completions(site.context->engine.get(),
                               &velora::engine::UpdateEngine::OnUpdateComplete);
        site.installation.messages.queue(MessageAnswer::Yes);
        site.week().cell(ValueKind::TrueLines, 3)->setText(QStringLiteral("250"));
        site.week().saveChanges()->click();
        QTRY_COMPARE(completions.count(), 1);
        QTRY_VERIFY(!site.window->busy().isBusy());
        QCOMPARE(site.cell(ValueKind::IPay, 3), QStringLiteral("25.00"));

        // Change the user's group with an effective date: the user's days before it lock.
        explorer.ClickNode(ExplorerKeys::User(kHostile));
        QComboBox& groups = *site.window->userPanes()->headerPane().cmbUserHeaderGroupName();
        QCOMPARE(groups.currentText(),
                 QStringLiteral("North\\") + kGroupName + QStringLiteral(" (Default)"));
        groups.setCurrentIndex(velora::groups::FindListIndexByItemData(groups, 3));
        const QDate effective = site.start.addDays(4);
        DateAnswerer answerer(site.context->region->formatDate(effective));
        explorer.ClickNode(ExplorerKeys::GroupsFolder());
        QCOMPARE(answerer.prompts.size(), 1);
        QVERIFY(answerer.prompts[0].contains(kGroupName));

        QStringList expected{QStringLiteral("Trans_info|") + kHostile +
                             QStringLiteral(": incentive_effective_date, incentive_group_id")};
        for (int account : {5, 7}) {
            for (int d = 0; d < 4; ++d) {
                const QString key = QStringLiteral("Trans_incentive|") + kHostile +
                                    QStringLiteral("|%1|%2").arg(account).arg(site.day(d));
                expected << key + (account == 5 && d == 3
                                       ? QStringLiteral(": incent_pay, incent_pay_modified, "
                                                        "incent_typed, incent_typed_modified, "
                                                        "lines_modified, locked")
                                       : QStringLiteral(": locked"));
            }
        }
        QStringList changed = changes(before, site.rows());
        changed.sort();
        expected.sort();
        QCOMPARE(changed, expected);
        const QString membership =
            QStringLiteral(" FROM Trans_info WHERE trans_id = ") + q(kHostile);
        QCOMPARE(site.scalar(QStringLiteral("SELECT incentive_group_id") + membership),
                 QStringLiteral("3"));
        QCOMPARE(site.scalar(QStringLiteral("SELECT incentive_effective_date") + membership),
                 effective.toString(Qt::ISODate));
        const QString edited = QStringLiteral(" FROM Trans_incentive WHERE hosp_acct_id = 5 AND "
                                              "shift_date = '") +
                               site.day(3) + QStringLiteral("' AND trans_id = ") + q(kHostile);
        QCOMPARE(site.scalar(QStringLiteral("SELECT lines_modified") + edited).toDouble(), 250.0);
        QCOMPARE(site.scalar(QStringLiteral("SELECT incent_pay_modified") + edited).toDouble(),
                 25.0);
        QCOMPARE(site.shown(), (QStringList{QStringLiteral("Do you wish to recalculate now?"),
                                            QStringLiteral("Do you wish to recalculate now?")}));
    }

    // The operator's login names the user "ANN", the user table "ann" and the production rows
    // "Ann": all three are the same user, whose folders fill without "Element not found".
    void idInAnotherCaseOpensItsAccounts() {
        Site site;
        site.addUser(QStringLiteral("ann"), QStringLiteral("Lee"), 1, 2);
        site.addWeek(QStringLiteral("Ann"), 5);
        site.addWeek(QStringLiteral("Ann"), 7);
        site.installation.addUser(QStringLiteral("ann"), QStringLiteral("pw"),
                                  QStringLiteral("ANN"), {16});
        QVERIFY(site.open(QStringLiteral("/UNAME=ann /PASSWORD=pw")));
        auto& explorer = site.explorer();

        explorer.ClickNode(ExplorerKeys::User(QStringLiteral("ANN")));
        QCOMPARE(explorer.childKeys(ExplorerKeys::UserExternalAccountFolder(QStringLiteral("ANN"))),
                 QStringList{ExplorerKeys::UserExternalAccount(QStringLiteral("ANN"),
                                                               QStringLiteral("7"))});
        explorer.ClickNode(
            ExplorerKeys::UserExternalAccount(QStringLiteral("ANN"), QStringLiteral("7")));
        QCOMPARE(site.cell(ValueKind::TrueLines, 6), QStringLiteral("160"));
        QCOMPARE(site.shown(), QStringList());
    }

    // Keys that the rows do not carry. A deleted user's key ends in " DEL": the header, the
    // external accounts, the week and the week reloaded after a save all find the user's rows.
    // An account with rows that the explorer's account list lacks is keyed "--100", which a
    // statement would read as a comment: its week shows that account's own figures, and a save
    // there changes that one row of that one account.
    void keysTheRowsDoNotCarryFindTheirOwnRows() {
        Site site;
        site.exec(QStringLiteral("INSERT INTO Incentive_preference (user_id, pref_key, pref_value, "
                                 "partition_id) VALUES (-1, 'INCENT_SHOW_DELETED_USERS', 'True', "
                                 "-1)"));
        site.addUser(QStringLiteral("gus"), QStringLiteral("Gone"), 1, 2, true);
        site.addWeek(QStringLiteral("gus"), 5);
        site.addWeek(QStringLiteral("gus"), 7);
        site.addUser(QStringLiteral("ann"), QStringLiteral("Lee"), 1, 2);
        site.addWeek(QStringLiteral("ann"), 5);
        site.addWeek(QStringLiteral("ann"), 9); // no such account
        site.exec(QStringLiteral("UPDATE Trans_incentive SET lines_modified = lines + 1 WHERE "
                                 "hosp_acct_id = 9"));
        QVERIFY(site.open());
        const QString key = QStringLiteral("gus DEL");
        auto& explorer = site.explorer();
        QCOMPARE(explorer.node(ExplorerKeys::User(key)).image(), QStringLiteral("DELUSER"));

        explorer.ClickNode(ExplorerKeys::User(key));
        QCOMPARE(site.window->userPanes()->headerPane().cmbUserHeaderGroupName()->currentData(),
                 QVariant(2));
        QCOMPARE(site.window->userPanes()->headerPane().lblUserHeaderEffectiveDate()->text(),
                 QStringLiteral("01/01/1980"));
        QCOMPARE(explorer.childKeys(ExplorerKeys::UserExternalAccountFolder(key)),
                 QStringList{ExplorerKeys::UserExternalAccount(key, QStringLiteral("7"))});

        explorer.ClickNode(ExplorerKeys::UserAccount(key, QStringLiteral("5")));
        QCOMPARE(site.cell(ValueKind::TrueLines, 2), QStringLiteral("120"));
        site.installation.messages.queue(MessageAnswer::No);
        site.week().cell(ValueKind::TrueLines, 2)->setText(QStringLiteral("125"));
        site.week().saveChanges()->click();
        QCOMPARE(site.scalar(QStringLiteral("SELECT lines_modified FROM Trans_incentive WHERE "
                                            "trans_id = 'gus' AND hosp_acct_id = 5 AND "
                                            "shift_date = '") +
                             site.day(2) + QLatin1Char('\'')),
                 QStringLiteral("125"));
        QCOMPARE(site.cell(ValueKind::TrueLines, 2), QStringLiteral("125"));
        QCOMPARE(site.shown(), QStringList{QStringLiteral("Do you wish to recalculate now?")});

        explorer.ClickNode(ExplorerKeys::User(QStringLiteral("ann")));
        const QString unknown = ExplorerKeys::UnknownExternalAccount(QStringLiteral("ann"), 0);
        QCOMPARE(explorer.node(unknown).text(), QStringLiteral("UNKNOWN ACCOUNT0"));
        const Snapshot before = site.rows();

        explorer.ClickNode(unknown);
        QCOMPARE(site.cell(ValueKind::TrueLines, 4), QStringLiteral("141"));
        site.installation.messages.queue(MessageAnswer::No);
        site.week().cell(ValueKind::TrueLines, 4)->setText(QStringLiteral("200"));
        site.week().saveChanges()->click();
        QCOMPARE(site.cell(ValueKind::TrueLines, 4), QStringLiteral("200"));
        QCOMPARE(changes(before, site.rows()),
                 QStringList{QStringLiteral("Trans_incentive|ann|9|") + site.day(4) +
                             QStringLiteral(": lines_modified")});
    }
};

VELORA_TEST(TestHostileIds)
#include "TestHostileIds.moc"
