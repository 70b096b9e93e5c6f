#include "SuiteFixture.h"
#include "common/TestMain.h"
#include "suite/HXLogin.h"
#include "suite/LoginCode.h"
#include "suite/LoginDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using velora::suite::LoginDialog;
using velora::suite::LoginPromptRequest;

class TestLoginDialog : public QObject {
    Q_OBJECT

    template <typename T> static T* child(QWidget& dialog, const char* name) {
        return dialog.findChild<T*>(QLatin1String(name));
    }

    // Fills in and answers the login dialog once it runs modally.
    static void answerModalDialog(const QString& userName, const QString& password, bool ok) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            child<QLineEdit>(*dialog, "txtUserName")->setText(userName);
            QTest::keyClicks(child<QLineEdit>(*dialog, "txtPassword"), password);
            QTest::mouseClick(child<QPushButton>(*dialog, ok ? "cmdOK" : "cmdCancel"),
                              Qt::LeftButton);
        });
    }

private Q_SLOTS:
    void okGivesTheEnteredNameAndPassword() {
        LoginDialog dialog(LoginPromptRequest{QStringLiteral("Velora Incentive"), {}, {}});
        dialog.show();
        auto* ok = child<QPushButton>(dialog, "cmdOK");
        QVERIFY(ok);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(child<QLineEdit>(dialog, "txtUserName"), QStringLiteral(" alice "));
        QVERIFY(ok->isEnabled());
        auto* password = child<QLineEdit>(dialog, "txtPassword");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QTest::keyClicks(password, QStringLiteral(" s3cret"));
        QVERIFY(!dialog.answer());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.answer()->userName, QStringLiteral("alice"));
        QCOMPARE(dialog.answer()->password, QStringLiteral(" s3cret"));
    }

    void cancelGivesNoAnswer() {
        LoginDialog dialog(LoginPromptRequest{{}, QStringLiteral("alice"), {}});
        dialog.show();
        QTest::keyClicks(child<QLineEdit>(dialog, "txtPassword"), QStringLiteral("secret"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.answer());
    }

    void loginThroughTheRealDialog() {
        velora::test::SuiteFixture fx;
        fx.addUser(QStringLiteral("alice"), QStringLiteral("secret"), QStringLiteral("T1"), {16});
        velora::suite::HXLogin login(fx.db.connection());

        answerModalDialog(QStringLiteral("alice"), QStringLiteral("secret"), false);
        QCOMPARE(login.Login(QString(), 15, true), velora::suite::LoginCode::Cancelled);
        QVERIFY(!login.User());

        answerModalDialog(QStringLiteral("alice"), QStringLiteral("secret"), true);
        QCOMPARE(login.Login(QString(), 15, true), velora::suite::LoginCode::Ok);
        QVERIFY(login.User()->privilege(16));
    }
};

VELORA_TEST(TestLoginDialog)
#include "TestLoginDialog.moc"
