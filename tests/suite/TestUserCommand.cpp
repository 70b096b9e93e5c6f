#include "admin/AdminRun.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "suite/HXLogin.h"
#include "suite/LoginCode.h"

#include <QTemporaryDir>
#include <QTest>

using velora::suite::HXLogin;
using velora::test::AdminRun;
namespace LoginCode = velora::suite::LoginCode;

// velora-admin's user commands, run as the built program against a database file, and checked
// by logging in through the login component.
class TestUserCommand : public QObject {
    Q_OBJECT

    std::unique_ptr<velora::test::TestDatabase> db_;
    std::unique_ptr<HXLogin> login_;

    // "user" and the blank-separated words of `line`, DB standing for the database file.
    AdminRun user(const QString& line) {
        QStringList arguments = line.split(u' ', Qt::SkipEmptyParts);
        arguments.replaceInStrings(QStringLiteral("DB"), db_->path());
        return AdminRun::run(QStringList{QStringLiteral("user")} + arguments);
    }

    int login(const QString& name, const QString& password) {
        return login_->AutoLogin(name, password, true, 15);
    }

private Q_SLOTS:
    void init() {
        db_ = std::make_unique<velora::test::TestDatabase>();
        login_ = std::make_unique<HXLogin>(db_->connection());
    }

    // A login made by "add" carries what was given and a hash, never the password; rights,
    // disabling and a new password take effect at the next login.
    void commandsReachTheLogin() {
        const AdminRun added = user(QStringLiteral(
            "add DB jdoe --password it's --trans-id T9 --partition 3 --first John --last O'Doe"));
        QCOMPARE(added.exitCode, 0);
        const QString hash = db_->scalar(
            QStringLiteral("SELECT password_hash FROM Suite_user WHERE user_name = 'jdoe'"));
        QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")) && !hash.contains(u'\''));
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("it's")), LoginCode::Ok);
        QCOMPARE(login_->User()->trans_id() + login_->User()->last_name(),
                 QStringLiteral("T9O'Doe"));
        QCOMPARE(login_->User()->partition_id(), 3);
        QVERIFY(!login_->User()->privilege(16));

        QCOMPARE(user(QStringLiteral("grant DB JDOE 16 17 16")).exitCode, 0);
        QCOMPARE(user(QStringLiteral("revoke DB jdoe 17")).exitCode, 0);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("it's")), LoginCode::Ok);
        QVERIFY(login_->User()->privilege(16) && !login_->User()->privilege(17));
        QCOMPARE(user(QStringLiteral("disable DB jdoe")).exitCode, 0);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("it's")), LoginCode::Disabled);
        QCOMPARE(user(QStringLiteral("enable DB jdoe")).exitCode, 0);
        QCOMPARE(user(QStringLiteral("passwd DB jdoe b")).exitCode, 0);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("it's")), LoginCode::WrongPassword);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("b")), LoginCode::Ok);
    }

    // Refused commands change nothing; a login without a password is never made.
    void failures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* line, int exitCode, const char* message) {
            QTest::newRow(name) << QString::fromLatin1(line).split(u' ') << exitCode
                                << QString::fromLatin1(message);
        };
        row("unknown user", "grant DB nobody 16", 1, "Error 3265:");
        row("name taken", "add DB Admin1 --password p", 1, "Error -2147217873:");
        row("missing file", "add /nonexistent/x.sqlite a --password p", 1, "Error 53:");
        row("login without a password", "add DB open", 2, "needs --password");
        row("login with an empty password", "add DB open --password ", 2, "needs --password");
        row("empty new password", "passwd DB admin1 ", 1, "Error 5: A login needs a password");
        row("right not a number", "grant DB admin1 x", 2, "not \"x\"");
        row("unknown action", "rename DB admin1", 2, "unknown action");
        row("option without value", "add DB x --password", 2, "expects a value");
    }

    void failures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QCOMPARE(user(QStringLiteral("add DB admin1 --password p")).exitCode, 0);
        arguments.replaceInStrings(QStringLiteral("DB"), db_->path());
        const AdminRun run = AdminRun::run(QStringList{QStringLiteral("user")} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(db_->scalar(QStringLiteral("SELECT COUNT(*) FROM Suite_user")),
                 QStringLiteral("1"));
    }

    void demoLoginsHavePasswordsAndTheirRights() {
        QTemporaryDir dir;
        QCOMPARE(AdminRun::run(QStringLiteral("demo %1 --users 4 --accounts 1 --days 1")
                                   .arg(dir.path())
                                   .split(u' '))
                     .exitCode,
                 0);
        auto connection = velora::test::openDatabase(
            dir.filePath(QStringLiteral("HALVEX/SYSTEM/incentive.sqlite")));
        HXLogin component(*connection);
        component.setAllowOnlyTranscriptionists(true);
        QCOMPARE(component.AutoLogin(QStringLiteral("supervisor"), QString(), true, 15),
                 LoginCode::WrongPassword);
        for (const char* name : {"supervisor", "operator"}) {
            QCOMPARE(component.AutoLogin(QLatin1String(name), QLatin1String(name), true, 15),
                     LoginCode::Ok);
            QVERIFY(component.User()->privilege(16));
            QCOMPARE(component.User()->privilege(17), QByteArray(name) == "supervisor");
            QCOMPARE(component.User()->privilege(45), QByteArray(name) == "supervisor");
        }
    }
};

VELORA_TEST(TestUserCommand)
#include "TestUserCommand.moc"
