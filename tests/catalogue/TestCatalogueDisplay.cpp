#include "catalogue/CatalogueDisplay.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "explorer/ExplorerPopulation.h"
#include "suite/HXLoginUser.h"

#include <QTest>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

using namespace velora;
using namespace velora::catalogue;
using common::MessageAnswer;

namespace {

// Writes down every call the display makes on the explorer, one line each.
class RecordingExplorer final : public explorer::ExplorerPopulation {
public:
    void AddAccount(const QString& name, const QString& id, bool isDeleted) override {
        calls << u"Account %1 | %2 | %3"_s.arg(name, id, flag(isDeleted));
    }
    void AddFormula(const QString& name, const QString& id) override {
        calls << u"Formula %1 | %2"_s.arg(name, id);
    }
    void AddGroup(const QString& name, const QString& id, const QString& tag,
                  bool deferred) override {
        calls << u"Group %1 | %2 | %3 | %4"_s.arg(name, id, tag, flag(deferred));
    }
    void AddUser(const QString& text, const QString& transID, const QString& tag, bool isDeleted,
                 bool deferred) override {
        calls << u"User %1 | %2 | %3 | %4 | %5"_s.arg(text, transID, tag, flag(isDeleted),
                                                      flag(deferred));
    }
    void SetOperatorMode(bool operatorMode) override {
        calls << u"OperatorMode "_s + flag(operatorMode);
    }
    void Sort() override { calls << u"Sort"_s; }

    QStringList calls;

private:
    static QString flag(bool value) { return value ? u"1"_s : u"0"_s; }
};

// Answers the failure box and, before answering, lets the test change the database the way an
// operator would before pressing Retry.
class RepairingMessages final : public common::Messages {
public:
    MessageAnswer show(const QString& text, const QString&, common::MessageIcon,
                       common::MessageButtons) override {
        texts << text;
        if (repair)
            std::exchange(repair, nullptr)();
        return answer;
    }

    MessageAnswer answer = MessageAnswer::Abort;
    std::function<void()> repair;
    QStringList texts;
};

// Partitions 0 (Base) > 1 (North) > 3 (Lakes) and 0 > 2 (South). Formula 1 and group 1 (the
// defaults of partition 0) come with the schema.
void addRows(test::TestDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO System_partitions (partition_id, parent_id, partition_name, "
        "partition_description) VALUES (1, 0, 'North', 'North'), (2, 0, 'South', 'South'), "
        "(3, 1, 'Lakes', 'Lakes')"));
    db.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, "
                           "hosp_acct_description, is_deleted, partition_id) VALUES "
                           "(0, 'Walk-in', NULL, 0, 0), (10, 'Mercy', NULL, 0, 1), "
                           "(11, 'Old Clinic', NULL, 1, 1), (20, 'Harbor', NULL, 0, 2)"));
    db.exec(QStringLiteral(
        "INSERT INTO Trans_info (trans_id, first_name, last_name, is_deleted, trans_type, "
        "extra3, incentive_group_id) VALUES ('ann', 'Ann', 'Smith', 0, 1, 1, 20), "
        "('gone', 'Gus', 'Gone', 1, 1, 1, 21), ('sam', 'Sam', 'South', 0, 1, 2, 22), "
        "('nopart', NULL, NULL, 0, 1, NULL, NULL), ('lake', 'Lou', 'Lake', 0, 1, 3, 20), "
        "('editor', 'Ed', 'Itor', 0, 2, 1, 20)"));
    db.exec(QStringLiteral(
        "INSERT INTO Incentive_formula (formula_id, formula_name, formula_text, partition_id) "
        "VALUES (5, 'Line Rate', 'Results.IPay = 0', 1), (6, 'South Rate', 'Results.IPay = 0', "
        "2)"));
    db.exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id, "
                           "incentive_effective_date, flag1) VALUES "
                           "(20, 'North Standard', 1, '2024-03-04', 1), "
                           "(21, 'North Alpha', 1, '2024-01-01', 0), "
                           "(22, 'South Team', 2, '2024-01-01', 1)"));
}

QStringList loadMessages() {
    return {u"Loading Partitions..."_s, u"Loading Accounts..."_s, u"Loading Users..."_s,
            u"Loading Formulas..."_s, u"Loading Groups..."_s};
}

// The lists outside partition mode, as the database orders them.
QStringList plainAccounts() {
    return {u"Account Walk-in | 0 | 0"_s, u"Account Mercy | 10 | 0"_s,
            u"Account Harbor | 20 | 0"_s};
}
QStringList plainUsers() {
    return {u"User nopart | nopart |  | 0 | 0"_s, u"User Lake, Lou | lake |  | 0 | 0"_s,
            u"User Smith, Ann | ann |  | 0 | 0"_s, u"User South, Sam | sam |  | 0 | 0"_s};
}
QStringList plainFormulas() {
    return {u"Formula Default Formula | 1"_s, u"Formula Line Rate | 5"_s,
            u"Formula South Rate | 6"_s};
}
QStringList plainGroups() {
    return {u"Group Default Group | 1 |  | 0"_s, u"Group North Alpha | 21 |  | 0"_s,
            u"Group North Standard | 20 |  | 0"_s, u"Group South Team | 22 |  | 0"_s};
}
QStringList fullModeEnd() {
    return {u"OperatorMode 0"_s, u"Sort"_s};
}

// One display against a test database, with everything the main window would hand it.
struct DisplayRun {
    explicit DisplayRun(test::TestDatabase& database, int partitionId = 0, bool fullMode = true)
        : db(database)
        , login(
              suite::SuiteUserRecord{7, u"ann"_s, {}, u"ann"_s, partitionId, u"Ann"_s, u"Smith"_s},
              fullMode ? std::set<int>{1, 17} : std::set<int>{1}, u"pw"_s) {
        currentUser.setTransID(u"ann"_s);
    }

    DisplayResult show() {
        CatalogueDisplay display(
            {db.connection(), db.connectionString(), login, partitionMode, preferences, catalogue,
             currentUser, accessible, explorer, messages ? *messages : scripted,
             [this](const QString& message) {
                 progress << message;
                 return message != cancelAt;
             },
             [this](bool full) { fullControls = full; }, [this] { ++endProgramCalls; }});
        return display.show();
    }

    test::TestDatabase& db;
    suite::HXLoginUser login;
    bool partitionMode = true;
    DisplayPreferences preferences;
    Catalogue catalogue;
    User currentUser;
    CatalogueCollection<Partition> accessible;
    RecordingExplorer explorer;
    test::ScriptedMessages scripted;
    common::Messages* messages = nullptr; // another answerer than `scripted`
    QStringList progress;
    QString cancelAt;
    std::optional<bool> fullControls;
    int endProgramCalls = 0;
};

QStringList keys(const CatalogueCollection<Partition>& partitions) {
    QStringList result;
    for (int i = 1; i <= partitions.count(); ++i)
        result << partitions.key(i);
    return result;
}

} // namespace

class TestCatalogueDisplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partitionModeShowsQualifiedItems();
    void onlyAccessiblePartitionsAreShown();
    void deletedItemsFollowThePreferences_data();
    void deletedItemsFollowThePreferences();
    void operatorModeShowsOnlyTheOperator_data();
    void operatorModeShowsOnlyTheOperator();
    void failedStatementAsksAbortRetryIgnore_data();
    void failedStatementAsksAbortRetryIgnore();
    void ignoredLoadFailureKeepsWhatWasRead();
    void ignoredRowFailureSkipsOnlyThatRow();
    void cancelDuringUsersEndsTheProgram();
};

// Users (deferred), the two special accounts, accounts, formulas and groups, each labelled
// with its partition (before the name, or behind it by preference); a user without a partition
// is never shown.
void TestCatalogueDisplay::partitionModeShowsQualifiedItems() {
    test::TestDatabase db;
    addRows(db);
    DisplayRun run(db);

    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(
        run.explorer.calls,
        (QStringList{u"User Lakes\\Lake, Lou | lake |  | 0 | 1"_s,
                     u"User North\\Smith, Ann | ann |  | 0 | 1"_s,
                     u"User South\\South, Sam | sam |  | 0 | 1"_s,
                     u"Account __Default Account | -1 | 0"_s,
                     u"Account __External Accounts | -3 | 0"_s, u"Account Base\\Walk-in | 0 | 0"_s,
                     u"Account North\\Mercy | 10 | 0"_s, u"Account South\\Harbor | 20 | 0"_s,
                     u"Formula Base\\Default Formula (Default) | 1"_s,
                     u"Formula North\\Line Rate | 5"_s, u"Formula South\\South Rate | 6"_s,
                     u"Group Base\\Default Group (Default) | 1 |  | 1"_s,
                     u"Group North\\North Alpha | 21 |  | 1"_s,
                     u"Group North\\North Standard (Default) | 20 |  | 1"_s,
                     u"Group South\\South Team (Default) | 22 |  | 1"_s} +
         fullModeEnd()));
    QCOMPARE(run.progress, loadMessages() << u"Loading User Interface elements..."_s);
    QCOMPARE(run.fullControls, std::optional<bool>(true));
    QVERIFY(run.scripted.shown.isEmpty());
    QVERIFY(!db.connection().isOpen());
    QCOMPARE(run.catalogue.users().count(), 4); // nopart is read though never shown

    DisplayRun behind(db);
    behind.preferences.partitionDisplay = 1;
    QCOMPARE(behind.show(), DisplayResult::Shown);
    for (const char* line :
         {"User Smith, Ann\\North | ann |  | 0 | 1", "Account Walk-in\\Base | 0 | 0",
          "Formula Default Formula\\Base (Default) | 1",
          "Group North Standard\\North (Default) | 20 |  | 1"})
        QVERIFY2(behind.explorer.calls.contains(QLatin1String(line)), line);
}

void TestCatalogueDisplay::onlyAccessiblePartitionsAreShown() {
    test::TestDatabase db;
    addRows(db);
    DisplayRun run(db, 1);

    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(
        run.explorer.calls,
        (QStringList{u"User Lakes\\Lake, Lou | lake |  | 0 | 1"_s,
                     u"User North\\Smith, Ann | ann |  | 0 | 1"_s,
                     u"Account __Default Account | -1 | 0"_s,
                     u"Account __External Accounts | -3 | 0"_s, u"Account North\\Mercy | 10 | 0"_s,
                     u"Formula North\\Line Rate | 5"_s, u"Group North\\North Alpha | 21 |  | 1"_s,
                     u"Group North\\North Standard (Default) | 20 |  | 1"_s} +
         fullModeEnd()));
    QCOMPARE(keys(run.accessible), (QStringList{u"1"_s, u"3"_s}));
    QCOMPARE(run.currentUser.AvailablePartitions(), u"1,3"_s);
    // The current-user record takes the catalogue's fields of the logged-in user.
    QCOMPARE(run.currentUser.TransName(), u"Smith, Ann"_s);
    QCOMPARE(run.currentUser.GroupID(), 20);
    QCOMPARE(run.currentUser.PartitionID(), 1);
    QVERIFY(!run.currentUser.IsDeleted());
    // South's user stays in the catalogue though it is not shown.
    QVERIFY(run.catalogue.users().contains(u"sam"_s));

    // A second display rebuilds the accessible partitions but appends to the user's list.
    run.accessible.add(u"2"_s, GetObjectFromCollection(run.catalogue.partitions(), u"2"_s));
    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(keys(run.accessible), (QStringList{u"1"_s, u"3"_s}));
    QCOMPARE(run.currentUser.AvailablePartitions(), u"1,3,1,3"_s);
}

void TestCatalogueDisplay::deletedItemsFollowThePreferences_data() {
    QTest::addColumn<bool>("partitionMode");
    QTest::addColumn<bool>("showUsers");
    QTest::addColumn<bool>("showAccounts");
    QTest::addColumn<QString>("deletedUser");
    QTest::addColumn<QString>("deletedAccount");
    const QString partitionUser = u"User North\\Gone, Gus | gone DEL |  | 1 | 1"_s;
    const QString partitionAccount = u"Account North\\Old Clinic | 11 | 1"_s;
    const QString plainUser = u"User Gone, Gus | gone |  | 1 | 0"_s;
    const QString plainAccount = u"Account Old Clinic | 11 | 1"_s;
    for (const bool partitionMode : {true, false}) {
        for (const bool show : {false, true}) {
            QTest::addRow("%s, deleted %s", partitionMode ? "partitions" : "plain",
                          show ? "users shown" : "accounts shown")
                << partitionMode << show << !show << (partitionMode ? partitionUser : plainUser)
                << (partitionMode ? partitionAccount : plainAccount);
        }
    }
}

void TestCatalogueDisplay::deletedItemsFollowThePreferences() {
    QFETCH(bool, partitionMode);
    QFETCH(bool, showUsers);
    QFETCH(bool, showAccounts);
    QFETCH(QString, deletedUser);
    QFETCH(QString, deletedAccount);
    test::TestDatabase db;
    addRows(db);
    DisplayRun run(db);
    run.partitionMode = partitionMode;
    run.preferences.showDeletedUsers = showUsers;
    run.preferences.showDeletedAccounts = showAccounts;

    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(run.explorer.calls.contains(deletedUser), showUsers);
    QCOMPARE(run.explorer.calls.contains(deletedAccount), showAccounts);
    const int live = partitionMode ? 3 : 4; // users shown besides the deleted one
    int users = 0;
    for (const QString& call : std::as_const(run.explorer.calls))
        users += call.startsWith(u"User "_s) ? 1 : 0;
    QCOMPARE(users, live + (showUsers ? 1 : 0));
}

void TestCatalogueDisplay::operatorModeShowsOnlyTheOperator_data() {
    QTest::addColumn<bool>("partitionMode");
    QTest::newRow("partitions") << true;
    QTest::newRow("plain") << false;
}

void TestCatalogueDisplay::operatorModeShowsOnlyTheOperator() {
    QFETCH(bool, partitionMode);
    test::TestDatabase db;
    addRows(db);
    DisplayRun run(db, 1, false);
    run.partitionMode = partitionMode;
    run.preferences.showDeletedUsers = true;

    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(run.explorer.calls,
             (QStringList{u"Account Mercy | 10 | 0"_s, u"Account Harbor | 20 | 0"_s,
                          u"User Ann Smith | ann | 7 | 0 | "_s + (partitionMode ? u"1"_s : u"0"_s),
                          u"OperatorMode 1"_s, u"Sort"_s}));
    QCOMPARE(run.fullControls, std::optional<bool>(false));
    QCOMPARE(run.progress, loadMessages());
    QVERIFY(run.catalogue.users().contains(u"gone DEL"_s));
    QVERIFY(!db.connection().isOpen());
}

void TestCatalogueDisplay::failedStatementAsksAbortRetryIgnore_data() {
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<DisplayResult>("result");
    QTest::addColumn<QStringList>("expected");
    const QStringList before = plainAccounts() + plainUsers();
    QTest::newRow("abort") << MessageAnswer::Abort << DisplayResult::Aborted << before;
    // Outside partition mode the lists come straight from the database, accounts first.
    QTest::newRow("ignore") << MessageAnswer::Ignore << DisplayResult::Shown
                            << before + plainGroups() + fullModeEnd();
    // The explorer is not cleared between passes: what the failed pass added stays.
    QTest::newRow("retry") << MessageAnswer::Retry << DisplayResult::Shown
                           << before + before + plainFormulas() + plainGroups() + fullModeEnd();
}

void TestCatalogueDisplay::failedStatementAsksAbortRetryIgnore() {
    QFETCH(MessageAnswer, answer);
    QFETCH(DisplayResult, result);
    QFETCH(QStringList, expected);
    test::TestDatabase db;
    addRows(db);
    db.exec(u"ALTER TABLE Incentive_formula RENAME TO Hidden_formula"_s);
    RepairingMessages messages;
    messages.answer = answer;
    messages.repair = [&db] {
        db.exec(u"ALTER TABLE Hidden_formula RENAME TO Incentive_formula"_s);
    };
    DisplayRun run(db);
    run.partitionMode = false;
    run.messages = &messages;

    QCOMPARE(run.show(), result);
    QCOMPARE(run.explorer.calls, expected);
    // The catalogue is not loaded.
    QVERIFY(run.progress.isEmpty());
    QVERIFY(run.catalogue.users().isEmpty());
    QVERIFY(run.accessible.isEmpty());
    QCOMPARE(run.fullControls,
             result == DisplayResult::Shown ? std::optional<bool>(true) : std::optional<bool>());
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY2(messages.texts[0].startsWith(
                 QStringLiteral("An Error Occurred Attempting To Load The Nodes Of The Zarererov "
                                "Avudezez. Please Contact The Vendor For More "
                                "Information.\r\n\r\nError -2147217900:")),
             qPrintable(messages.texts[0]));
    QVERIFY(!db.connection().isOpen());
}

// A group row that cannot be read fails the load in its last step; on Ignore the display goes
// on with what the load had read, the groups before the bad one included.
void TestCatalogueDisplay::ignoredLoadFailureKeepsWhatWasRead() {
    test::TestDatabase db;
    addRows(db);
    db.exec(QStringLiteral(
        "UPDATE Incentive_group SET incentive_effective_date = NULL WHERE group_id = 21"));
    DisplayRun run(db);
    run.scripted.queue(MessageAnswer::Ignore);

    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(run.scripted.shown.size(), 1);
    const auto& box = run.scripted.shown[0];
    QVERIFY2(box.text.endsWith(u"\r\n\r\nError 94:Invalid use of Null"_s), qPrintable(box.text));
    QCOMPARE(box.title, u"Velora Incentive"_s);
    QCOMPARE(box.icon, common::MessageIcon::Critical);
    QCOMPARE(box.buttons, common::MessageButtons::AbortRetryIgnore);
    QVERIFY(run.explorer.calls.contains(u"User North\\Smith, Ann | ann |  | 0 | 1"_s));
    QVERIFY(run.explorer.calls.contains(u"Formula North\\Line Rate | 5"_s));
    QCOMPARE(run.explorer.calls.filter(u"Group "_s),
             QStringList{u"Group Base\\Default Group (Default) | 1 |  | 1"_s});
    QCOMPARE(run.explorer.calls.mid(run.explorer.calls.size() - 2), fullModeEnd());
}

// A row whose flag is NULL (a server column that allows it) is one failed statement: on Ignore
// the other rows are still shown.
void TestCatalogueDisplay::ignoredRowFailureSkipsOnlyThatRow() {
    test::TestDatabase db;
    addRows(db);
    db.exec(u"DROP TABLE Account_info"_s);
    db.exec(QStringLiteral(
        "CREATE TABLE Account_info (hosp_acct_id INTEGER PRIMARY KEY, hosp_acct_name TEXT, "
        "hosp_acct_description TEXT, is_deleted INTEGER NULL, partition_id INTEGER)"));
    db.exec(QStringLiteral("INSERT INTO Account_info VALUES (0, 'Walk-in', NULL, 0, 0), "
                           "(10, 'Mercy', NULL, NULL, 1), (20, 'Harbor', NULL, 0, 2)"));
    DisplayRun run(db);
    run.partitionMode = false;
    run.scripted.queue(MessageAnswer::Ignore);

    QCOMPARE(run.show(), DisplayResult::Shown);
    QCOMPARE(run.scripted.shown.size(), 1);
    QVERIFY(run.scripted.shown[0].text.contains(u"\r\n\r\nError 94:"_s));
    QCOMPARE(run.explorer.calls.mid(0, 3),
             (QStringList{u"Account Walk-in | 0 | 0"_s, u"Account Harbor | 20 | 0"_s,
                          plainUsers().first()}));
}

void TestCatalogueDisplay::cancelDuringUsersEndsTheProgram() {
    test::TestDatabase db;
    addRows(db);
    DisplayRun run(db);
    run.cancelAt = u"Loading Users..."_s;

    QCOMPARE(run.show(), DisplayResult::Cancelled);
    QCOMPARE(run.endProgramCalls, 1);
    QCOMPARE(run.progress, loadMessages().mid(0, 3));
    QVERIFY(run.explorer.calls.isEmpty());
    QVERIFY(run.scripted.shown.isEmpty());
    QVERIFY(!run.fullControls.has_value());
}

VELORA_TEST(TestCatalogueDisplay)
#include "TestCatalogueDisplay.moc"
