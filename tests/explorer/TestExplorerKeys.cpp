#include "common/TestMain.h"
#include "explorer/ExplorerKeyPart.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/ExplorerNodeText.h"

#include <QTest>

using velora::explorer::DecodeKeyPart;
using velora::explorer::EncodeKeyPart;
using velora::explorer::ExplorerKeys;
using velora::explorer::ExplorerNodeText;
using velora::explorer::ExplorerNodeType;

namespace {

const QChar kMark(0x01);
const QChar kEscape(0x02);

QString marked(const char* before, const char* after) {
    return QString::fromLatin1(before) + kMark + QString::fromLatin1(after);
}

} // namespace

class TestExplorerKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The quirks of judging by the last two segments, made-up keys of missing accounts, and
    // keys no builder produces; each row also states every segment the key yields. (The
    // ordinary kinds are classified in every dispatch of the event tests.)
    void classification_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("groupAccount");
        QTest::addColumn<QString>("userAccount");
        QTest::addColumn<QString>("formula");
        const QString none;
        const auto row = [](const char* name, const QString& key,
                            ExplorerNodeType type) -> QTestData& {
            return QTest::newRow(name) << key << static_cast<int>(type);
        };
        using T = ExplorerNodeType;
        // clang-format off
        row("user with encoded dot", "[ROOT].USERS." + marked("J", "SMITH"), T::User)
            << marked("J", "SMITH") << none << none << none << none;
        row("first unknown external account", ExplorerKeys::UnknownExternalAccount("JSMITH", 0),
            T::UserExternalAccount) << "JSMITH" << none << none << "--100" << none;
        row("unknown external account past 100", ExplorerKeys::UnknownExternalAccount("JS", 150),
            T::UserExternalAccount) << "JS" << none << none << "-50" << none;
        row("group external placeholder", "[ROOT].GROUPS.7.ACCOUNTS.-2", T::GroupAccount)
            << none << "7" << "-2" << none << none;
        // Ids that equal a folder word: the last two segments decide.
        row("user named GROUPS", "[ROOT].USERS.GROUPS", T::User)
            << "GROUPS" << none << none << none << none;
        row("account folder of user ACCOUNTS", "[ROOT].USERS.ACCOUNTS.USERACCOUNTS",
            T::GroupAccount) << "ACCOUNTS" << none << "USERACCOUNTS" << none << none;
        row("external account of user EXTERNALACCOUNTS",
            "[ROOT].USERS.EXTERNALACCOUNTS.EXTERNALACCOUNTS.15", T::UserExternalAccount)
            << "EXTERNALACCOUNTS" << none << none << "15" << none;
        // Malformed keys.
        row("empty", "", T::Root) << none << none << none << none << none;
        row("empty user id", "[ROOT].USERS.", T::User) << none << none << none << none << none;
        // clang-format on
    }

    void classification() {
        QFETCH(QString, key);
        QFETCH(int, type);
        QCOMPARE(static_cast<int>(ExplorerKeys::GetNodeType(key)), type);
        QTEST(ExplorerKeys::GetUserKeyPart(key), "user");
        QTEST(ExplorerKeys::GetGroupID(key), "group");
        QTEST(ExplorerKeys::GetGroupAccountID(key), "groupAccount");
        QTEST(ExplorerKeys::GetUserAccountID(key), "userAccount");
        QTEST(ExplorerKeys::GetFormulaID(key), "formula");
    }

    // Whatever a TransID holds, its key part has no dot, and the keys built from it classify
    // right and give it back.
    void transIDsSurviveKeys_data() {
        QTest::addColumn<QString>("transID");
        QTest::newRow("no dot") << "JSMITH";
        QTest::newRow("dots at both ends") << ".J.SMITH.";
        QTest::newRow("adjacent dots") << "A..B";
        QTest::newRow("quotes and statement text") << "O'NEIL.K\\' OR '1'='1";
        QTest::newRow("folder word after dot") << "X.USERACCOUNTS";
        QTest::newRow("mark character") << marked("A", ".B");
        QTest::newRow("escape character") << QString(QLatin1Char('A') + kEscape + QLatin1Char('.'));
        QTest::newRow("blanks") << "   ";
        QTest::newRow("blank with dot") << " . ";
    }

    void transIDsSurviveKeys() {
        QFETCH(QString, transID);
        QVERIFY(!EncodeKeyPart(transID).contains(QLatin1Char('.')));
        const QString account = ExplorerKeys::UserAccount(transID, "15");
        QCOMPARE(ExplorerKeys::GetNodeType(ExplorerKeys::User(transID)), ExplorerNodeType::User);
        QCOMPARE(ExplorerKeys::GetNodeType(account), ExplorerNodeType::UserAccount);
        QCOMPARE(ExplorerKeys::GetUserAccountID(account), QStringLiteral("15"));
        QCOMPARE(DecodeKeyPart(ExplorerKeys::GetUserKeyPart(account)), transID);
    }

    // After a dot only 99 characters are kept, counted in plain characters on both sides.
    void longTailsAreCut() {
        const QString x50(50, QLatin1Char('x'));
        const QString y100(100, QLatin1Char('y'));
        const QString text = "A." + x50 + "." + y100;
        const QString kept = "A." + x50 + "." + QString(48, QLatin1Char('y'));
        QCOMPARE(DecodeKeyPart(EncodeKeyPart(text)), kept);
        QCOMPARE(EncodeKeyPart(text).size(), kept.size());

        const QString escapes = "A." + QString(99, kMark);
        QCOMPARE(DecodeKeyPart(EncodeKeyPart(escapes)), escapes);
        QCOMPARE(DecodeKeyPart(EncodeKeyPart(escapes + QLatin1Char('z'))), escapes);

        // Text no encoding made.
        QCOMPARE(DecodeKeyPart(QString(kMark)), QStringLiteral("."));
        const QString danglingEscape = QLatin1Char('A') + kEscape;
        QCOMPARE(DecodeKeyPart(danglingEscape), danglingEscape);
    }

    void cleanedText_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("user account summary")
            << ExplorerKeys::UserAccount("JS", "-2") << "__Account Summary"
            << "Account Summary";
        QTest::newRow("group default by value")
            << ExplorerKeys::GroupAccount("7", "-01") << "__Default Account"
            << "Default Account";
        QTest::newRow("group external accounts")
            << ExplorerKeys::GroupAccount("7", "-3") << "__External Accounts"
            << "External Accounts";
        QTest::newRow("group real account") << ExplorerKeys::GroupAccount("7", "5") << "__Odd"
                                            << "__Odd";
        QTest::newRow("default under a user")
            << ExplorerKeys::UserAccount("JS", "-1") << "__Default Account"
            << "__Default Account";
        QTest::newRow("one underscore") << ExplorerKeys::GroupAccount("7", "-3") << "_External"
                                        << "_External";
    }

    void cleanedText() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTEST(ExplorerNodeText::CleanedText(key, text), "shown");
    }
};

VELORA_TEST(TestExplorerKeys)
#include "TestExplorerKeys.moc"
