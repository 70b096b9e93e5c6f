#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "config/Registry.h"
#include "engine/UpdateEngine.h"
#include "recalc/IncentiveRecalculation.h"
#include "shell/LocalUpdatePolicy.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using velora::recalc::IncentiveRecalculation;
using velora::recalc::RecalcOutcome;

namespace {

// A suite installation in a temporary folder: HALVEX.INI beside the test database and a
// registry naming the folder, so the recalculation reads its settings as the program does.
struct Installation {
    velora::test::TestDatabase db;
    QString iniPath;
    QString registryPath;

    explicit Installation(const QString& iniExtra = {}) {
        QDir(db.folder()).mkpath(QStringLiteral("HALVEX/SYSTEM"));
        iniPath = db.folder() + QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
        QFile ini(iniPath);
        ini.open(QIODevice::WriteOnly);
        ini.write(
            QByteArrayLiteral("[System]\r\nServer=(embedded)\r\nDatabase=incentive.sqlite\r\n") +
            iniExtra.toUtf8());
        registryPath = db.folder() + QStringLiteral("/registry.ini");
        QFile registry(registryPath);
        registry.open(QIODevice::WriteOnly);
        registry.write(
            QByteArrayLiteral(
                "[Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0]\r\nLocalRootDir=") +
            db.folder().toUtf8() + "\r\n");
        db.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, "
                               "trans_type, incentive_group_id) VALUES ('o''brien', 'Kate', "
                               "'O''Brien', 1, 1)"));
        db.exec(QStringLiteral("UPDATE Incentive_formula SET formula_text = 'Results.IPay = 12' "
                               "WHERE formula_id = 1"));
        db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date) "
                               "VALUES ('o''brien', 3, '") +
                QDate::currentDate().toString(Qt::ISODate) + QStringLiteral("')"));
    }

    double pay() {
        return db.scalar(QStringLiteral("SELECT incent_pay FROM Trans_incentive")).toDouble();
    }
    QString queued() {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Incentive_recalc_request"));
    }
};

struct Harness {
    velora::engine::UpdateEngine engine;
    velora::test::ScriptedMessages messages;
    velora::config::Registry registry;
    QWidget window;
    QString switches;
    velora::shell::LocalUpdatePolicy policy;
    IncentiveRecalculation recalculation;

    explicit Harness(Installation& installation, const QString& databaseName = {})
        : registry(installation.registryPath, installation.registryPath)
        , policy(registry, installation.iniPath, [this] { return switches; })
        , recalculation(
              {engine,
               messages,
               {QString(), QStringLiteral("(embedded)"),
                databaseName.isEmpty() ? QStringLiteral("incentive.sqlite") : databaseName,
                QStringLiteral("sa"), QString()},
               [this] { return policy.localUpdatesDisabled(); }},
              &window) {
        velora::db::ConnectionOptions options;
        options.baseDirectory = installation.db.folder();
        engine.setConnectionOptions(options);
    }
};

} // namespace

class TestIncentiveRecalculation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The engine computes unless the command line or the configuration disables local updates;
    // then it only queues the request for the server and says so to the caller; either way for a
    // user whose id holds a quote.
    void localUpdates_data() {
        QTest::addColumn<QString>("iniExtra");
        QTest::addColumn<QString>("switches");
        QTest::addColumn<bool>("queued");
        const QString key = QStringLiteral("IncentiveClientSideCalculations=");
        QTest::newRow("setting missing") << QString() << QString() << false;
        QTest::newRow("setting empty") << key + "\r\n" << QString() << false;
        QTest::newRow("setting yes") << key + "Yes\r\n" << QString() << false;
        QTest::newRow("setting no") << key + "no\r\n" << QString() << true;
        QTest::newRow("switch last") << QString() << "/UNAME=x /DisableLocalUpdates" << true;
        QTest::newRow("switch, any case") << QString() << "/DisableLocalUpdates=true" << true;
    }
    void localUpdates() {
        QFETCH(QString, iniExtra);
        QFETCH(QString, switches);
        QFETCH(bool, queued);
        Installation installation(iniExtra);
        Harness h(installation);
        h.switches = switches;
        QCOMPARE(
            h.recalculation.RecalculateIncentives(IncentiveRecalculation::userFilter("o'brien"))
                .result,
            queued ? RecalcOutcome::Result::Queued : RecalcOutcome::Result::Completed);
        QCOMPARE(installation.pay(), queued ? 0.0 : 12.0);
        QCOMPARE(installation.queued(), QString::number(queued ? 1 : 0));
        QVERIFY(h.window.isEnabled());
        QVERIFY(h.messages.shown.isEmpty());
    }

    // Any other failure shows nothing here but is handed back with the engine's error, so the
    // caller knows no completion event will come.
    void otherFailuresAreHandedBack() {
        Installation installation;
        Harness h(installation, QStringLiteral("missing.sqlite"));
        const RecalcOutcome outcome = h.recalculation.RecalculateIncentives(QString());
        QCOMPARE(outcome.result, RecalcOutcome::Result::Failed);
        QVERIFY2(outcome.error.startsWith(QStringLiteral("Error ")), qPrintable(outcome.error));
        QVERIFY(h.messages.shown.isEmpty());
        QVERIFY(h.window.isEnabled());
        // Nothing else is queued behind a failed run: the event loop has no completion to give.
        QSignalSpy completions(&h.engine, &velora::engine::UpdateEngine::OnUpdateComplete);
        QCoreApplication::processEvents();
        QCOMPARE(completions.count(), 0);
    }
};

VELORA_TEST(TestIncentiveRecalculation)
#include "TestIncentiveRecalculation.moc"
