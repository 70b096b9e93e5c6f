#pragma once

#include "RecalcRequest.h"
#include "db/ConnectionOptions.h"

#include <QObject>
#include <QString>
#include <atomic>

namespace velora::engine {

// The update engine (objIncUpdt): told where the database is, which days and which users, it
// recalculates the incentive values on its own thread and connection. Run waits for the work
// while the caller's window keeps being painted; OnUpdateComplete arrives after Run returned.
// With local updates disabled, Run only queues the request in the database for the engine
// that serves the queue next to it.
class UpdateEngine : public QObject {
    Q_OBJECT

public:
    explicit UpdateEngine(QObject* parent = nullptr);
    ~UpdateEngine() override;

    void RunOptionOne(bool& value) { runOptionOne_ = value; }
    void RunOptionTwo(bool& value) { runOptionTwo_ = value; }
    void StartDate(const QString& usDate) { startDate_ = usDate; }
    void EndDate(const QString& usDate) { endDate_ = usDate; }
    void ServerName(const QString& value) { serverName_ = value; }
    void DatabaseName(const QString& value) { databaseName_ = value; }
    void UserName(const QString& value) { userName_ = value; }
    void Password(const QString& value) { password_ = value; }
    void DataSourceName(const QString& value) { dataSourceName_ = value; }
    void Filter(const QString& value) { filter_ = value; }
    void LocalUpdatesDisabled(bool& value) { localUpdatesDisabled_ = value; }

    // Where a relative embedded database lies, and the other connection settings.
    void setConnectionOptions(const db::ConnectionOptions& options) { options_ = options; }
    // The operator's name recorded with a queued request.
    void setRequestedBy(const QString& name) { requestedBy_ = name; }

    // Recalculates (or queues). The seven texts are accepted and not used. Throws db::DbError:
    // number 6 when cancelled, another number on any other failure.
    void Run(const QString& a1 = {}, const QString& a2 = {}, const QString& a3 = {},
             const QString& a4 = {}, const QString& a5 = {}, const QString& a6 = {},
             const QString& a7 = {});

    // Asks the running recalculation to stop; the open batch is rolled back.
    void cancel() { cancelRequested_ = true; }
    bool isRunning() const { return running_; }

    // The connection string the engine's own connection uses, from the values set above.
    QString connectionString() const;
    // The request Run would carry out now.
    RecalcRequest request() const;

Q_SIGNALS:
    void OnError(int number, const QString& description);
    void OnUpdateComplete();
    void progress(qint64 rowsDone, qint64 rowsToDo);

private:
    void runOnWorkerThread(const RecalcRequest& request);
    void queueRequest(const RecalcRequest& request);

    bool runOptionOne_ = false;
    bool runOptionTwo_ = false;
    QString startDate_ = QStringLiteral("01/01/1980");
    QString endDate_ = QStringLiteral("01/01/2030");
    QString serverName_;
    QString databaseName_;
    QString userName_;
    QString password_;
    QString dataSourceName_;
    QString filter_;
    bool localUpdatesDisabled_ = false;
    QString requestedBy_;
    db::ConnectionOptions options_;
    std::atomic<bool> cancelRequested_ = false;
    bool running_ = false;
};

} // namespace velora::engine
