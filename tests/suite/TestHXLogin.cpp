#include "SuiteFixture.h"
#include "common/TestMain.h"
#include "suite/HXLogin.h"
#include "suite/LoginCode.h"

#include <QTest>

using velora::suite::HXLogin;
using velora::suite::LoginCredentials;
using velora::suite::LoginPromptRequest;
namespace LoginCode = velora::suite::LoginCode;

class TestHXLogin : public QObject {
    Q_OBJECT

    std::unique_ptr<velora::test::SuiteFixture> fx_;

    // A prompt that answers from a queue (an empty user name is Cancel) and records each
    // request; Cancel also when the queue runs dry.
    struct ScriptedPrompt {
        QList<LoginCredentials> answers;
        QList<LoginPromptRequest> requests;

        velora::suite::LoginPrompt function() {
            return [this](const LoginPromptRequest& request) -> std::optional<LoginCredentials> {
                requests.append(request);
                if (answers.isEmpty() || answers.first().userName.isEmpty())
                    return std::nullopt;
                return answers.takeFirst();
            };
        }
    };

    QString column(const QString& name, const QString& userName) {
        return fx_->db.scalar(
            QStringLiteral("SELECT %1 FROM Suite_user WHERE user_name = '%2'").arg(name, userName));
    }

    int wrongPasswords(HXLogin& login, int count) {
        int code = -1;
        for (int i = 0; i < count; ++i)
            code = login.AutoLogin(QStringLiteral("alice"), QStringLiteral("guess"), true, 15);
        return code;
    }

private Q_SLOTS:
    void init() {
        fx_ = std::make_unique<velora::test::SuiteFixture>();
        fx_->addUser(QStringLiteral("alice"), QStringLiteral("secret"), QStringLiteral("T100"),
                     {16, 17, 45});
        fx_->addUser(QStringLiteral("nopass"), QString(), QStringLiteral("T200"), {16});
        fx_->addUser(QStringLiteral("office"), QStringLiteral("pw"), QString(), {16});
        fx_->addUser(QStringLiteral("blank"), QStringLiteral("pw"), QStringLiteral("   "));
        fx_->addUser(QStringLiteral("gone"), QStringLiteral("pw"), QStringLiteral("T300"));
        fx_->store().setDisabled(QStringLiteral("gone"), true);
    }

    void autoLogin_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("onlyTranscriptionists");
        QTest::addColumn<int>("code");

        QTest::newRow("right password") << "alice"
                                        << "secret" << true << LoginCode::Ok;
        QTest::newRow("name in other case") << "ALICE"
                                            << "secret" << true << LoginCode::Ok;
        QTest::newRow("unknown user") << "bob"
                                      << "secret" << false << LoginCode::UnknownUser;
        QTest::newRow("quote in name") << "x' OR 'a'='a"
                                       << "" << false << LoginCode::UnknownUser;
        QTest::newRow("empty name") << ""
                                    << "" << false << LoginCode::UnknownUser;
        QTest::newRow("password case matters") << "alice"
                                               << "Secret" << false << LoginCode::WrongPassword;
        QTest::newRow("empty password for a set one") << "alice"
                                                      << "" << false << LoginCode::WrongPassword;
        QTest::newRow("no password set, none given") << "nopass"
                                                     << "" << true << LoginCode::Ok;
        QTest::newRow("no password set, one given") << "nopass"
                                                    << "x" << true << LoginCode::WrongPassword;
        QTest::newRow("disabled") << "gone"
                                  << "pw" << false << LoginCode::Disabled;
        QTest::newRow("disabled, wrong password") << "gone"
                                                  << "x" << false << LoginCode::Disabled;
        QTest::newRow("no trans_id, transcriptionists only")
            << "office"
            << "pw" << true << LoginCode::NotTranscriptionist;
        QTest::newRow("blank trans_id, transcriptionists only")
            << "blank"
            << "pw" << true << LoginCode::NotTranscriptionist;
        QTest::newRow("no trans_id, anyone") << "office"
                                             << "pw" << false << LoginCode::Ok;
        QTest::newRow("no trans_id, wrong password") << "office"
                                                     << "x" << true << LoginCode::WrongPassword;
    }

    void autoLogin() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, onlyTranscriptionists);
        QFETCH(int, code);
        HXLogin login(fx_->db.connection());
        login.setAllowOnlyTranscriptionists(onlyTranscriptionists);
        QCOMPARE(login.AutoLogin(user, password, true, 15), code);
        QCOMPARE(login.User() != nullptr, code == LoginCode::Ok);
    }

    void fiveWrongPasswordsLockTheUserOut() {
        HXLogin login(fx_->db.connection());
        QCOMPARE(wrongPasswords(login, 4), LoginCode::WrongPassword);
        QCOMPARE(wrongPasswords(login, 1), LoginCode::LockedOut);
        QCOMPARE(wrongPasswords(login, 1), LoginCode::LockedOut);
        // Locked out means the right password no longer helps.
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::LockedOut);
        QVERIFY(!login.User());
        QCOMPARE(column(QStringLiteral("is_locked_out"), QStringLiteral("alice")),
                 QStringLiteral("1"));
        // Another workstation sees the lock-out too.
        const std::unique_ptr<velora::db::Connection> workstation = fx_->db.openAnother();
        HXLogin other(*workstation);
        QCOMPARE(other.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::LockedOut);
    }

    void lockOutIsLiftedByNewPasswordOrEnable() {
        HXLogin login(fx_->db.connection());
        QCOMPARE(wrongPasswords(login, 5), LoginCode::LockedOut);
        fx_->store().setPassword(QStringLiteral("alice"), QStringLiteral("fresh"));
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("fresh"), true, 15),
                 LoginCode::Ok);

        QCOMPARE(wrongPasswords(login, 5), LoginCode::LockedOut);
        fx_->store().setDisabled(QStringLiteral("alice"), false);
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("fresh"), true, 15),
                 LoginCode::Ok);
    }

    void rightPasswordResetsTheCount() {
        HXLogin login(fx_->db.connection());
        QCOMPARE(wrongPasswords(login, 4), LoginCode::WrongPassword);
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::Ok);
        QCOMPARE(column(QStringLiteral("failed_logins"), QStringLiteral("alice")),
                 QStringLiteral("0"));
        QCOMPARE(wrongPasswords(login, 4), LoginCode::WrongPassword);
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::Ok);
    }

    void userCarriesTheRowAndTheRights() {
        fx_->db.exec(QStringLiteral("UPDATE Suite_user SET partition_id = 2, first_name = 'Alice', "
                                    "last_name = 'Smith', is_administrator = 1 "
                                    "WHERE user_name = 'alice'"));
        HXLogin login(fx_->db.connection());
        QCOMPARE(login.AutoLogin(QStringLiteral("Alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::Ok);
        const velora::suite::HXLoginUser* user = login.User();
        QVERIFY(user);
        QCOMPARE(user->trans_id(), QStringLiteral("T100"));
        QCOMPARE(user->user_id(),
                 column(QStringLiteral("user_id"), QStringLiteral("alice")).toInt());
        QCOMPARE(user->partition_id(), 2);
        QCOMPARE(user->first_name(), QStringLiteral("Alice"));
        QCOMPARE(user->last_name(), QStringLiteral("Smith"));
        QCOMPARE(user->user_name(), QStringLiteral("alice"));
        QCOMPARE(user->Password(), QStringLiteral("secret"));
        QVERIFY(user->is_administrator());
        QVERIFY(user->privilege(16));
        QVERIFY(user->privilege(17));
        QVERIFY(user->privilege(45));
        QVERIFY(!user->privilege(18));
        QVERIFY(!user->privilege(0));
    }

    void logoffAndFailedLoginClearTheUser() {
        HXLogin login(fx_->db.connection());
        QVERIFY(!login.User());
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::Ok);
        QVERIFY(login.User());
        login.Logoff();
        QVERIFY(!login.User());

        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::Ok);
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("nope"), true, 15),
                 LoginCode::WrongPassword);
        QVERIFY(!login.User());
    }

    void databaseVersionAsStored() {
        HXLogin login(fx_->db.connection());
        QCOMPARE(login.DatabaseVersion().toString(), QStringLiteral("2.024"));
        QCOMPARE(login.DatabaseVersion().toFloat(), 2.024f);

        fx_->db.exec(QStringLiteral(
            "UPDATE Suite_info SET info_value = 'two' WHERE info_key = 'DatabaseVersion'"));
        bool numeric = true;
        login.DatabaseVersion().toFloat(&numeric);
        QVERIFY(!numeric);

        fx_->db.exec(QStringLiteral("DELETE FROM Suite_info WHERE info_key = 'DatabaseVersion'"));
        QVERIFY(!login.DatabaseVersion().isValid());
    }

    void connectionIsLeftAsFound() {
        velora::db::Connection& connection = fx_->db.connection();
        const QString connectionString = fx_->db.connectionString();
        connection.close();
        HXLogin login(connection, connectionString);
        QCOMPARE(login.AutoLogin(QStringLiteral("alice"), QStringLiteral("secret"), true, 15),
                 LoginCode::Ok);
        QVERIFY(!connection.isOpen());
        QCOMPARE(login.DatabaseVersion().toString(), QStringLiteral("2.024"));
        QVERIFY(!connection.isOpen());
        // The rights were read at login: asking needs no connection.
        QVERIFY(login.User()->privilege(17));

        connection.open();
        QCOMPARE(login.AutoLogin(QStringLiteral("nopass"), QString(), true, 15), LoginCode::Ok);
        QVERIFY(connection.isOpen());
    }

    void propertiesReadBack() {
        HXLogin login(fx_->db.connection());
        QVERIFY(!login.AllowOnlyTranscriptionists());
        login.setAllowOnlyTranscriptionists(true);
        login.setApplicationName(QStringLiteral("Velora Incentive"));
        login.setApplicationVersion(QStringLiteral("1.0.0"));
        login.setAutoLogoff(true);
        login.setSqlUserName(QStringLiteral("sa"));
        login.setSQLPassword(QStringLiteral("p;w"));
        login.setOdbcsource(QStringLiteral("HV2"));
        login.setSqlDbName(QStringLiteral("incentive.sqlite"));
        login.setSqlServerName(QStringLiteral("(embedded)"));
        login.setHalvexINIFileName(QStringLiteral("/x/HALVEX.INI"));
        login.setUseOfflineDB(true);
        QVERIFY(login.AllowOnlyTranscriptionists());
        QCOMPARE(login.ApplicationName(), QStringLiteral("Velora Incentive"));
        QCOMPARE(login.ApplicationVersion(), QStringLiteral("1.0.0"));
        QVERIFY(login.AutoLogoff());
        QCOMPARE(login.SqlUserName(), QStringLiteral("sa"));
        QCOMPARE(login.SQLPassword(), QStringLiteral("p;w"));
        QCOMPARE(login.odbcsource(), QStringLiteral("HV2"));
        QCOMPARE(login.SqlDbName(), QStringLiteral("incentive.sqlite"));
        QCOMPARE(login.SqlServerName(), QStringLiteral("(embedded)"));
        QCOMPARE(login.HalvexINIFileName(), QStringLiteral("/x/HALVEX.INI"));
        QVERIFY(login.UseOfflineDB());
        // The program sets HalvexINIFileName only when the version compares above "2.025".
        QVERIFY(login.Version() > QStringLiteral("2.025"));
    }

    void loginAsksAgainAfterAWrongPassword() {
        HXLogin login(fx_->db.connection());
        login.setApplicationName(QStringLiteral("Velora Incentive"));
        ScriptedPrompt prompt;
        prompt.answers = {LoginCredentials{QStringLiteral("alice"), QStringLiteral("x")},
                          LoginCredentials{QStringLiteral("alice"), QStringLiteral("secret")}};
        login.setPrompt(prompt.function());
        QCOMPARE(login.Login(QStringLiteral("al"), 15, true), LoginCode::Ok);
        QCOMPARE(prompt.requests.size(), 2);
        QCOMPARE(prompt.requests[0].applicationName, QStringLiteral("Velora Incentive"));
        QCOMPARE(prompt.requests[0].userName, QStringLiteral("al"));
        QVERIFY(prompt.requests[0].message.isEmpty());
        QCOMPARE(prompt.requests[1].userName, QStringLiteral("alice"));
        QCOMPARE(prompt.requests[1].message, QStringLiteral("The password is invalid."));
        QCOMPARE(login.User()->user_name(), QStringLiteral("alice"));
    }

    void loginGivesUpAfterItsAttempts_data() {
        QTest::addColumn<bool>("allowRetry");
        QTest::addColumn<int>("prompts");
        QTest::newRow("retry") << true << HXLogin::kDialogAttempts;
        QTest::newRow("no retry") << false << 1;
    }

    void loginGivesUpAfterItsAttempts() {
        QFETCH(bool, allowRetry);
        QFETCH(int, prompts);
        HXLogin login(fx_->db.connection());
        ScriptedPrompt prompt;
        for (int i = 0; i < 5; ++i)
            prompt.answers.append(LoginCredentials{QStringLiteral("bob"), QStringLiteral("x")});
        login.setPrompt(prompt.function());
        QCOMPARE(login.Login(QString(), 15, allowRetry), LoginCode::UnknownUser);
        QCOMPARE(prompt.requests.size(), prompts);
    }

    void loginStopsAtOnceWhenAskingAgainCannotHelp() {
        HXLogin login(fx_->db.connection());
        ScriptedPrompt prompt;
        prompt.answers = {LoginCredentials{QStringLiteral("gone"), QStringLiteral("pw")},
                          LoginCredentials{QStringLiteral("alice"), QStringLiteral("secret")}};
        login.setPrompt(prompt.function());
        QCOMPARE(login.Login(QString(), 15, true), LoginCode::Disabled);
        QCOMPARE(prompt.requests.size(), 1);
    }

    void cancelGivesSeven() {
        HXLogin login(fx_->db.connection());
        ScriptedPrompt prompt;
        prompt.answers = {LoginCredentials{QStringLiteral("alice"), QStringLiteral("x")},
                          LoginCredentials{}};
        login.setPrompt(prompt.function());
        QCOMPARE(login.Login(QString(), 15, true), LoginCode::Cancelled);
        QVERIFY(!login.User());
        QCOMPARE(column(QStringLiteral("failed_logins"), QStringLiteral("alice")),
                 QStringLiteral("1"));
    }
};

VELORA_TEST(TestHXLogin)
#include "TestHXLogin.moc"
