#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "suite/HXLogin.h"
#include "suite/LoginCode.h"
#include "suite/LoginDialog.h"
#include "suite/PasswordHash.h"
#include "suite/SuiteError.h"
#include "suite/SuiteUserStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <mutex>
#include <thread>

using velora::suite::HXLogin;
using velora::suite::LoginCredentials;
using velora::suite::LoginDialog;
using velora::suite::LoginPromptRequest;
namespace LoginCode = velora::suite::LoginCode;

namespace {

// Holds every password check it is asked for until released, and counts how many were
// asked for and how many attempts ended without one.
struct CheckGate {
    std::mutex mutex;
    std::condition_variable changed;
    int checking = 0;
    int endedUnchecked = 0;
    bool open = false;

    bool check(const QString& hash, const QString& password) {
        std::unique_lock lock(mutex);
        ++checking;
        changed.notify_all();
        changed.wait(lock, [this] { return open; });
        return velora::suite::PasswordHash::verify(hash, password);
    }
};

} // namespace

class TestHXLogin : public QObject {
    Q_OBJECT

    std::unique_ptr<velora::test::TestDatabase> db_;

    // Hashes use the smallest cost so that a test can make and check many of them quickly.
    velora::suite::SuiteUserStore store() {
        return velora::suite::SuiteUserStore(db_->connection(),
                                             velora::suite::PasswordHash::Cost::Minimum);
    }

    void addUser(const QString& name, const QString& password, const QString& transId,
                 const QList<int>& rights = {}) {
        velora::suite::NewSuiteUser user;
        user.userName = name;
        user.password = password;
        user.transId = transId;
        store().add(user);
        if (!rights.isEmpty())
            store().grant(name, rights);
    }

    QString column(const QString& name) {
        return db_->scalar(
            QStringLiteral("SELECT %1 FROM Suite_user WHERE user_name = 'alice'").arg(name));
    }

    static int tryAlice(HXLogin& login, const QString& password, int times = 1) {
        int code = -1;
        for (int i = 0; i < times; ++i)
            code = login.AutoLogin(QStringLiteral("alice"), password, true, 15);
        return code;
    }

private Q_SLOTS:
    void init() {
        db_ = std::make_unique<velora::test::TestDatabase>();
        addUser(QStringLiteral("alice"), QStringLiteral("secret"), QStringLiteral("T100"),
                {16, 17, 45});
        addUser(QStringLiteral("office"), QStringLiteral("pw"), QString(), {16});
        addUser(QStringLiteral("blank"), QStringLiteral("pw"), QStringLiteral("   "));
        addUser(QStringLiteral("gone"), QStringLiteral("pw"), QStringLiteral("T300"));
        store().setDisabled(QStringLiteral("gone"), true);
        // A row left without a hash by some other tool.
        db_->exec(QStringLiteral("INSERT INTO Suite_user (user_name, password_hash, trans_id) "
                                 "VALUES ('nohash', '', 'T200')"));
    }

    void autoLogin_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("onlyTranscriptionists");
        QTest::addColumn<int>("code");
        const auto row = [](const char* name, const char* user, const char* password,
                            bool onlyTranscriptionists, int code) {
            QTest::newRow(name) << QString::fromLatin1(user) << QString::fromLatin1(password)
                                << onlyTranscriptionists << code;
        };
        row("right password", "alice", "secret", true, LoginCode::Ok);
        row("name in other case", "ALICE", "secret", true, LoginCode::Ok);
        row("unknown user", "bob", "secret", false, LoginCode::UnknownUser);
        row("quote in name", "x' OR 'a'='a", "x", false, LoginCode::UnknownUser);
        row("password case matters", "alice", "Secret", false, LoginCode::WrongPassword);
        row("empty password for a set one", "alice", "", false, LoginCode::WrongPassword);
        row("no stored hash, none given", "nohash", "", false, LoginCode::WrongPassword);
        row("disabled, even with a wrong password", "gone", "x", false, LoginCode::Disabled);
        row("no trans_id, transcriptionists only", "office", "pw", true,
            LoginCode::NotTranscriptionist);
        row("blank trans_id, transcriptionists only", "blank", "pw", true,
            LoginCode::NotTranscriptionist);
        row("no trans_id, anyone", "office", "pw", false, LoginCode::Ok);
        row("no trans_id, wrong password", "office", "x", true, LoginCode::WrongPassword);
    }

    void autoLogin() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, onlyTranscriptionists);
        QFETCH(int, code);
        HXLogin login(db_->connection());
        login.setAllowOnlyTranscriptionists(onlyTranscriptionists);
        QCOMPARE(login.AutoLogin(user, password, true, 15), code);
        QCOMPARE(login.User() != nullptr, code == LoginCode::Ok);
    }

    // Four wrong passwords and a right one start the count again; five in a row lock the user
    // out on every workstation until a new password is set or the user is enabled.
    void wrongPasswordsLockTheUserOut() {
        HXLogin login(db_->connection());
        QCOMPARE(tryAlice(login, QStringLiteral("guess"), 4), LoginCode::WrongPassword);
        QCOMPARE(tryAlice(login, QStringLiteral("secret")), LoginCode::Ok);
        QCOMPARE(column(QStringLiteral("failed_logins")), QStringLiteral("0"));
        QCOMPARE(tryAlice(login, QStringLiteral("guess"), 4), LoginCode::WrongPassword);
        QCOMPARE(tryAlice(login, QStringLiteral("guess")), LoginCode::LockedOut);
        QCOMPARE(tryAlice(login, QStringLiteral("secret")), LoginCode::LockedOut);
        QVERIFY(!login.User());
        const std::unique_ptr<velora::db::Connection> workstation = db_->openAnother();
        HXLogin other(*workstation);
        QCOMPARE(tryAlice(other, QStringLiteral("secret")), LoginCode::LockedOut);
        QCOMPARE(column(QStringLiteral("failed_logins")), QStringLiteral("5"));

        store().setPassword(QStringLiteral("alice"), QStringLiteral("fresh"));
        QCOMPARE(tryAlice(login, QStringLiteral("fresh")), LoginCode::Ok);
        QCOMPARE(tryAlice(login, QStringLiteral("guess"), 5), LoginCode::LockedOut);
        store().setDisabled(QStringLiteral("alice"), false);
        QCOMPARE(tryAlice(login, QStringLiteral("fresh")), LoginCode::Ok);
    }

    // Eight workstations guessing at the same moment: only five passwords are checked, the
    // other attempts are refused without a check, and the user ends locked out.
    void parallelWrongPasswordsCheckNoMoreThanTheLimit() {
        constexpr int kWorkstations = 8;
        CheckGate gate;
        std::vector<int> codes(kWorkstations, -1);
        std::vector<std::thread> workstations;
        for (int i = 0; i < kWorkstations; ++i) {
            workstations.emplace_back([this, &gate, &codes, i] {
                try {
                    const std::unique_ptr<velora::db::Connection> connection = db_->openAnother();
                    HXLogin login(*connection);
                    login.setPasswordCheck([&gate](const QString& hash, const QString& password) {
                        return gate.check(hash, password);
                    });
                    codes[static_cast<size_t>(i)] = tryAlice(login, QStringLiteral("guess"));
                } catch (const velora::NumberedError&) {
                    // The code stays -1 and fails the test below.
                }
                std::lock_guard lock(gate.mutex);
                if (!gate.open)
                    ++gate.endedUnchecked;
                gate.changed.notify_all();
            });
        }
        int checking = 0;
        {
            std::unique_lock lock(gate.mutex);
            gate.changed.wait(
                lock, [&gate] { return gate.checking + gate.endedUnchecked == kWorkstations; });
            checking = gate.checking;
            gate.open = true;
            gate.changed.notify_all();
        }
        for (std::thread& workstation : workstations)
            workstation.join();
        QCOMPARE(checking, HXLogin::kLockoutThreshold);
        for (int code : codes)
            QVERIFY(code == LoginCode::WrongPassword || code == LoginCode::LockedOut);
        QCOMPARE(column(QStringLiteral("failed_logins")), QStringLiteral("5"));
        QCOMPARE(column(QStringLiteral("is_locked_out")), QStringLiteral("1"));
        HXLogin login(db_->connection());
        QCOMPARE(tryAlice(login, QStringLiteral("secret")), LoginCode::LockedOut);
    }

    void loginsAreNeverMadeWithoutAPassword() {
        QVERIFY_THROWS_EXCEPTION(velora::suite::SuiteError,
                                 addUser(QStringLiteral("open"), QString(), QStringLiteral("T")));
        QVERIFY_THROWS_EXCEPTION(velora::suite::SuiteError,
                                 store().setPassword(QStringLiteral("alice"), QString()));
        QCOMPARE(db_->scalar(QStringLiteral("SELECT COUNT(*) FROM Suite_user WHERE user_name = "
                                            "'open'")),
                 QStringLiteral("0"));
        HXLogin login(db_->connection());
        QCOMPARE(tryAlice(login, QStringLiteral("secret")), LoginCode::Ok);
    }

    // The user carries the row and the rights read at login until logoff; the connection is
    // opened only while needed and left as found, and the version is the stored text.
    void userAndVersionAndConnectionLeftAsFound() {
        db_->exec(QStringLiteral("UPDATE Suite_user SET partition_id = 2, first_name = 'Alice', "
                                 "last_name = 'Smith', is_administrator = 1 "
                                 "WHERE user_name = 'alice'"));
        velora::db::Connection& connection = db_->connection();
        connection.close();
        HXLogin login(connection, db_->connectionString());
        QCOMPARE(login.DatabaseVersion().toString(), QStringLiteral("2.024"));
        QVERIFY(!login.User());
        QCOMPARE(tryAlice(login, QStringLiteral("secret")), LoginCode::Ok);
        QVERIFY(!connection.isOpen());
        const velora::suite::HXLoginUser* user = login.User();
        QCOMPARE(user->trans_id() + user->first_name() + user->last_name() + user->Password(),
                 QStringLiteral("T100AliceSmithsecret"));
        QCOMPARE(user->partition_id(), 2);
        QVERIFY(user->is_administrator());
        QVERIFY(user->privilege(16) && user->privilege(17) && user->privilege(45));
        QVERIFY(!user->privilege(18) && !user->privilege(0));
        login.Logoff();
        QVERIFY(!login.User());
        QCOMPARE(tryAlice(login, QStringLiteral("nope")), LoginCode::WrongPassword);
        QVERIFY(!login.User());

        connection.open();
        QCOMPARE(tryAlice(login, QStringLiteral("secret")), LoginCode::Ok);
        QCOMPARE(login.User()->user_id(), column(QStringLiteral("user_id")).toInt());
        db_->exec(QStringLiteral(
            "UPDATE Suite_info SET info_value = 'two' WHERE info_key = 'DatabaseVersion'"));
        QCOMPARE(login.DatabaseVersion().toString(), QStringLiteral("two"));
        QVERIFY(connection.isOpen());
        db_->exec(QStringLiteral("DELETE FROM Suite_info WHERE info_key = 'DatabaseVersion'"));
        QVERIFY(!login.DatabaseVersion().isValid());
    }

    void loginAsksAgainOnlyWhenThatCanHelp_data() {
        QTest::addColumn<QStringList>("answers"); // name, password, name, password ...
        QTest::addColumn<bool>("allowRetry");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("prompts");
        QTest::newRow("wrong, then right")
            << QStringList{"alice", "x", "alice", "secret"} << true << LoginCode::Ok << 2;
        QTest::newRow("unknown until it gives up")
            << QStringList{"bob", "x", "bob", "x", "bob", "x", "bob", "x"} << true
            << LoginCode::UnknownUser << HXLogin::kDialogAttempts;
        QTest::newRow("no retry") << QStringList{"bob", "x", "alice", "secret"} << false
                                  << LoginCode::UnknownUser << 1;
        QTest::newRow("disabled stops at once")
            << QStringList{"gone", "pw", "alice", "secret"} << true << LoginCode::Disabled << 1;
        QTest::newRow("cancel") << QStringList{"alice", "x", "", ""} << true << LoginCode::Cancelled
                                << 2;
    }

    void loginAsksAgainOnlyWhenThatCanHelp() {
        QFETCH(QStringList, answers);
        QFETCH(bool, allowRetry);
        QFETCH(int, code);
        QFETCH(int, prompts);
        HXLogin login(db_->connection());
        login.setApplicationName(QStringLiteral("Velora Incentive"));
        // Answers pairs of name and password in turn; an empty name, or none left, is Cancel.
        QList<LoginPromptRequest> requests;
        login.setPrompt([&](const LoginPromptRequest& request) -> std::optional<LoginCredentials> {
            const qsizetype i = 2 * requests.size();
            requests.append(request);
            if (i + 1 >= answers.size() || answers[i].isEmpty())
                return std::nullopt;
            return LoginCredentials{answers[i], answers[i + 1]};
        });
        QCOMPARE(login.Login(QStringLiteral("al"), 15, allowRetry), code);
        QCOMPARE(requests.size(), prompts);
        QCOMPARE(login.User() != nullptr, code == LoginCode::Ok);
        QCOMPARE(requests[0].applicationName, QStringLiteral("Velora Incentive"));
        QCOMPARE(requests[0].userName, QStringLiteral("al"));
        if (prompts > 1 && answers[0] == QLatin1String("alice")) {
            QCOMPARE(requests[1].userName, QStringLiteral("alice"));
            QCOMPARE(requests[1].message, QStringLiteral("The password is invalid."));
        }
    }

    // The real dialog through the login component: OK is offered once a name is typed, the
    // name is trimmed and the password is taken as typed; Cancel and OK reach the result.
    void realDialog() {
        addUser(QStringLiteral("spaced"), QStringLiteral(" s3cret "), QStringLiteral("T5"));
        HXLogin login(db_->connection());
        for (const bool accept : {false, true}) {
            QTimer::singleShot(0, [accept] {
                auto* modal = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
                QVERIFY(modal);
                auto* ok = modal->findChild<QPushButton*>(QStringLiteral("cmdOK"));
                auto* password = modal->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
                QVERIFY(!ok->isEnabled());
                QTest::keyClicks(modal->findChild<QLineEdit*>(QStringLiteral("txtUserName")),
                                 QStringLiteral(" spaced "));
                QCOMPARE(password->echoMode(), QLineEdit::Password);
                QTest::keyClicks(password, QStringLiteral(" s3cret "));
                QTest::mouseClick(
                    accept ? ok : modal->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                    Qt::LeftButton);
            });
            QCOMPARE(login.Login(QString(), 15, true),
                     accept ? LoginCode::Ok : LoginCode::Cancelled);
            QCOMPARE(login.User() != nullptr, accept);
        }
    }
};

VELORA_TEST(TestHXLogin)
#include "TestHXLogin.moc"
