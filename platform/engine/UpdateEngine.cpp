#include "UpdateEngine.h"

#include "db/ConnectionString.h"

#include "RecalcJob.h"
#include "RecalcQueue.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QEventLoop>
#include <QThread>
#include <optional>

namespace velora::engine {

namespace {

QDate parseEngineDate(const QString& text, const QDate& fallback) {
    const QString trimmed = text.trimmed();
    for (const QString& format :
         {QStringLiteral("MM/dd/yyyy"), QStringLiteral("M/d/yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = QDate::fromString(trimmed, format);
        if (date.isValid())
            return date;
    }
    return fallback;
}

// Reports from the worker thread through the engine's signals (queued to its thread).
class SignalObserver final : public RecalcObserver {
public:
    SignalObserver(UpdateEngine& engine, const std::atomic<bool>& cancel)
        : engine_(engine)
        , cancel_(cancel) {}
    void progress(qint64 rowsDone, qint64 rowsToDo) override {
        Q_EMIT engine_.progress(rowsDone, rowsToDo);
    }
    void rowError(int number, const QString& description) override {
        Q_EMIT engine_.OnError(number, description);
    }
    bool cancelRequested() const override { return cancel_; }

private:
    UpdateEngine& engine_;
    const std::atomic<bool>& cancel_;
};

} // namespace

UpdateEngine::UpdateEngine(QObject* parent)
    : QObject(parent) {}

UpdateEngine::~UpdateEngine() = default;

QString UpdateEngine::connectionString() const {
    using db::ConnectionString;
    if (!dataSourceName_.trimmed().isEmpty())
        return QStringLiteral("DSN=") + ConnectionString::quoted(dataSourceName_) +
               QStringLiteral(";User ID=") + ConnectionString::quoted(userName_) +
               QStringLiteral(";PWD=") + ConnectionString::quoted(password_);
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=") +
           ConnectionString::quoted(userName_) + QStringLiteral(";Initial Catalog=") +
           ConnectionString::quoted(databaseName_) + QStringLiteral(";Data Source=") +
           ConnectionString::quoted(serverName_) + QStringLiteral(";PWD=") +
           ConnectionString::quoted(password_);
}

RecalcRequest UpdateEngine::request() const {
    RecalcRequest request;
    request.startDate = parseEngineDate(startDate_, request.startDate);
    request.endDate = parseEngineDate(endDate_, request.endDate);
    request.filter = filter_;
    return request;
}

void UpdateEngine::queueRequest(const RecalcRequest& request) {
    db::Connection connection(options_);
    connection.open(connectionString());
    RecalcQueue::enqueue(connection, request, requestedBy_);
}

void UpdateEngine::runOnWorkerThread(const RecalcRequest& request) {
    std::optional<db::DbError> failure;
    QThread* worker = QThread::create([this, request, &failure] {
        try {
            db::Connection connection(options_);
            connection.open(connectionString());
            SignalObserver observer(*this, cancelRequested_);
            RecalcJob job(connection, observer);
            job.run(request);
        } catch (const db::DbError& e) {
            failure = e;
        } catch (const std::exception& e) {
            failure = db::DbError(db::ErrorNumber::General, QString::fromUtf8(e.what()));
        }
    });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(); // the progress dialog's Cancel must stay usable
    worker->wait();
    delete worker;
    if (failure)
        throw *failure;
}

void UpdateEngine::Run(const QString&, const QString&, const QString&, const QString&,
                       const QString&, const QString&, const QString&) {
    if (running_)
        throw db::DbError(db::ErrorNumber::General,
                          QStringLiteral("A recalculation is already running."));
    running_ = true;
    cancelRequested_ = false;
    try {
        if (localUpdatesDisabled_)
            queueRequest(request());
        else
            runOnWorkerThread(request());
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
    // Delivered as an event after Run has returned, on the caller's thread.
    QMetaObject::invokeMethod(this, &UpdateEngine::OnUpdateComplete, Qt::QueuedConnection);
}

} // namespace velora::engine
