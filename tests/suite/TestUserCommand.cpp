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

    AdminRun user(const QString& action, const QStringList& rest) {
        return AdminRun::run(QStringList{QStringLiteral("user"), action, db_->path()} + rest);
    }

    int login(const QString& name, const QString& password) {
        HXLogin component(db_->connection());
        return component.AutoLogin(name, password, true, 15);
    }

private Q_SLOTS:
    void init() { db_ = std::make_unique<velora::test::TestDatabase>(); }

    void addStoresTheUserAndAHash() {
        const AdminRun run =
            user(QStringLiteral("add"),
                 {QStringLiteral("jdoe"), QStringLiteral("--password"), QStringLiteral("it's"),
                  QStringLiteral("--trans-id"), QStringLiteral("T9"), QStringLiteral("--partition"),
                  QStringLiteral("3"), QStringLiteral("--first"), QStringLiteral("John"),
                  QStringLiteral("--last"), QStringLiteral("O'Doe")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("jdoe")));
        const QString hash = db_->scalar(
            QStringLiteral("SELECT password_hash FROM Suite_user WHERE user_name = 'jdoe'"));
        QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")));
        QVERIFY(!hash.contains(QStringLiteral("it's")));

        HXLogin component(db_->connection());
        QCOMPARE(component.AutoLogin(QStringLiteral("jdoe"), QStringLiteral("it's"), true, 15),
                 LoginCode::Ok);
        QCOMPARE(component.User()->trans_id(), QStringLiteral("T9"));
        QCOMPARE(component.User()->partition_id(), 3);
        QCOMPARE(component.User()->first_name(), QStringLiteral("John"));
        QCOMPARE(component.User()->last_name(), QStringLiteral("O'Doe"));
        QVERIFY(!component.User()->privilege(16));
    }

    void grantRevokeDisableEnablePasswd() {
        QCOMPARE(user(QStringLiteral("add"),
                      {QStringLiteral("jdoe"), QStringLiteral("--password"), QStringLiteral("a")})
                     .exitCode,
                 0);
        QCOMPARE(user(QStringLiteral("grant"), {QStringLiteral("JDOE"), QStringLiteral("16"),
                                                QStringLiteral("17"), QStringLiteral("16")})
                     .exitCode,
                 0);
        QCOMPARE(
            user(QStringLiteral("revoke"), {QStringLiteral("jdoe"), QStringLiteral("17")}).exitCode,
            0);
        {
            HXLogin component(db_->connection());
            QCOMPARE(component.AutoLogin(QStringLiteral("jdoe"), QStringLiteral("a"), true, 15),
                     LoginCode::Ok);
            QVERIFY(component.User()->privilege(16));
            QVERIFY(!component.User()->privilege(17));
        }

        QCOMPARE(user(QStringLiteral("disable"), {QStringLiteral("jdoe")}).exitCode, 0);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("a")), LoginCode::Disabled);
        QCOMPARE(user(QStringLiteral("enable"), {QStringLiteral("jdoe")}).exitCode, 0);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("a")), LoginCode::Ok);

        for (int i = 0; i < HXLogin::kLockoutThreshold; ++i)
            login(QStringLiteral("jdoe"), QStringLiteral("wrong"));
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("a")), LoginCode::LockedOut);
        QCOMPARE(
            user(QStringLiteral("passwd"), {QStringLiteral("jdoe"), QStringLiteral("b")}).exitCode,
            0);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("a")), LoginCode::WrongPassword);
        QCOMPARE(login(QStringLiteral("jdoe"), QStringLiteral("b")), LoginCode::Ok);
    }

    void failures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown user")
            << QStringList{"grant", "DB", "nobody", "16"} << 1 << "Error 3265:";
        QTest::newRow("name taken")
            << QStringList{"add", "DB", "Admin1", "--password", "p"} << 1 << "Error -2147217873:";
        QTest::newRow("missing file")
            << QStringList{"add", "/nonexistent/x.sqlite", "a"} << 1 << "Error 53:";
        QTest::newRow("login without a password")
            << QStringList{"add", "DB", "open"} << 2 << "needs --password";
        QTest::newRow("login with an empty password")
            << QStringList{"add", "DB", "open", "--password", ""} << 2 << "needs --password";
        QTest::newRow("empty new password") << QStringList{"passwd", "DB", "admin1", ""} << 1
                                            << "Error 5: A login needs a password";
        QTest::newRow("right not a number")
            << QStringList{"grant", "DB", "admin1", "x"} << 2 << "not \"x\"";
        QTest::newRow("unknown action")
            << QStringList{"rename", "DB", "admin1"} << 2 << "unknown action";
        QTest::newRow("option without value")
            << QStringList{"add", "DB", "x", "--password"} << 2 << "expects a value";
    }

    void failures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QCOMPARE(user(QStringLiteral("add"),
                      {QStringLiteral("admin1"), QStringLiteral("--password"), QStringLiteral("p")})
                     .exitCode,
                 0);
        arguments.replaceInStrings(QStringLiteral("DB"), db_->path());
        const AdminRun run = AdminRun::run(QStringList{QStringLiteral("user")} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(db_->scalar(QStringLiteral("SELECT COUNT(*) FROM Suite_user")),
                 QStringLiteral("1"));
    }

    void demoLoginsHavePasswords() {
        QTemporaryDir dir;
        const AdminRun run =
            AdminRun::run({QStringLiteral("demo"), dir.path(), QStringLiteral("--users"),
                           QStringLiteral("4"), QStringLiteral("--accounts"), QStringLiteral("1"),
                           QStringLiteral("--days"), QStringLiteral("1")});
        QCOMPARE(run.exitCode, 0);
        auto connection = velora::test::openDatabase(
            dir.filePath(QStringLiteral("HALVEX/SYSTEM/incentive.sqlite")));
        HXLogin component(*connection);
        component.setAllowOnlyTranscriptionists(true);
        QCOMPARE(component.AutoLogin(QStringLiteral("supervisor"), QString(), true, 15),
                 LoginCode::WrongPassword);
        QCOMPARE(component.AutoLogin(QStringLiteral("supervisor"), QStringLiteral("supervisor"),
                                     true, 15),
                 LoginCode::Ok);
        QVERIFY(component.User()->privilege(17));
        QCOMPARE(
            component.AutoLogin(QStringLiteral("operator"), QStringLiteral("operator"), true, 15),
            LoginCode::Ok);
        QVERIFY(component.User()->privilege(16));
        QVERIFY(!component.User()->privilege(17));
    }
};

VELORA_TEST(TestUserCommand)
#include "TestUserCommand.moc"
