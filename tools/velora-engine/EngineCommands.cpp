#include "EngineCommands.h"

#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "engine/CompiledFormula.h"
#include "engine/FormulaEvaluator.h"
#include "engine/RecalcJob.h"
#include "engine/RecalcQueueServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <csignal>
#include <optional>

namespace velora::tools {

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

// Value of "--name value" in args, or fallback.
QString option(const QStringList& args, const QString& name, const QString& fallback = {}) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

bool readText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err() << "Cannot read " << path << ": " << file.errorString() << Qt::endl;
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}

std::unique_ptr<db::Connection> openDatabase(const QString& path,
                                             db::ConnectionOptions options = {}) {
    options.baseDirectory = QFileInfo(path).absolutePath();
    auto connection = std::make_unique<db::Connection>(options);
    connection->open(QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=") +
                     db::ConnectionString::quoted(QFileInfo(path).absoluteFilePath()) +
                     QStringLiteral(";Data Source=(embedded);PWD=;APP=velora-engine.EXE"));
    return connection;
}

int reportDbError(const db::DbError& e) {
    err() << "Error " << e.number() << ": " << e.description() << Qt::endl;
    return 1;
}

// Prints progress on one line, and every row error on its own. VELORA_ENGINE_DIE_AT=N kills
// the process at the N-th point where the run looks for a cancel (between rows, before a write
// transaction, before its commit), for the tests that check what a killed run leaves behind.
class ConsoleObserver final : public engine::RecalcObserver {
public:
    ConsoleObserver()
        : dieAt_(qEnvironmentVariableIntValue("VELORA_ENGINE_DIE_AT")) {}
    void progress(qint64 rowsDone, qint64 rowsToDo) override {
        out() << "\r" << rowsDone << " of " << rowsToDo << " rows" << Qt::flush;
    }
    void rowError(int number, const QString& description) override {
        err() << "\nError " << number << ": " << description << Qt::endl;
    }
    bool cancelRequested() const override {
        if (dieAt_ > 0 && ++checks_ == dieAt_)
            std::raise(SIGKILL);
        return false;
    }

private:
    int dieAt_;
    mutable int checks_ = 0;
};

// The queue server's log: events on stdout, warnings on stderr, a line each.
class ConsoleQueueLog final : public engine::RecalcQueueServer::Log {
public:
    void event(const QString& line) override { out() << line << Qt::endl; }
    void warning(const QString& line) override { err() << line << Qt::endl; }
};

// A whole number of at least 1 given as "--name value"; fallback when the option is absent,
// nothing when it is given without such a number.
std::optional<int> positiveOption(const QStringList& args, const QString& name, int fallback) {
    if (!args.contains(name))
        return fallback;
    bool ok = false;
    const int value = option(args, name).toInt(&ok);
    if (ok && value >= 1)
        return value;
    err() << name << " takes a whole number of at least 1" << Qt::endl;
    return std::nullopt;
}

} // namespace

int checkCommand(const QStringList& args) {
    QString text;
    if (args.size() != 1 || !readText(args[0], text))
        return 2;
    engine::FormulaError error;
    if (engine::CompiledFormula::compile(text, error)) {
        out() << "OK" << Qt::endl;
        return 0;
    }
    err() << error.number << "\t" << error.line << "\t" << error.description << Qt::endl;
    return 1;
}

int evalCommand(const QStringList& args) {
    QString text;
    if (args.size() < 2 || !readText(args[1], text))
        return 2;
    const QDate day = QDate::fromString(option(args, QStringLiteral("--date")), Qt::ISODate);
    if (!day.isValid()) {
        err() << "--date YYYY-MM-DD is required" << Qt::endl;
        return 2;
    }
    try {
        auto connection = openDatabase(args[0]);
        engine::FormulaEvaluator evaluator(*connection);
        evaluator.ShiftDate(day);
        evaluator.TransID(option(args, QStringLiteral("--user")));
        evaluator.AccountID(option(args, QStringLiteral("--account"), QStringLiteral("0")).toInt());
        evaluator.Evaluate(text);
        if (evaluator.ErrorNumber() != 0) {
            err() << evaluator.ErrorNumber() << "\t" << evaluator.ErrorLine() << "\t"
                  << evaluator.ErrorDescription() << Qt::endl;
            return 1;
        }
        out() << "IHours=" << evaluator.ResultHours() << "\nILines=" << evaluator.ResultLines()
              << "\nIPay=" << evaluator.ResultPay() << Qt::endl;
        return 0;
    } catch (const db::DbError& e) {
        return reportDbError(e);
    }
}

int recalcCommand(const QStringList& args) {
    if (args.isEmpty())
        return 2;
    engine::RecalcRequest request;
    request.filter = option(args, QStringLiteral("--filter"));
    request.startDate = QDate::fromString(
        option(args, QStringLiteral("--from"), QStringLiteral("1980-01-01")), Qt::ISODate);
    request.endDate = QDate::fromString(
        option(args, QStringLiteral("--to"), QStringLiteral("2030-01-01")), Qt::ISODate);
    if (!request.startDate.isValid() || !request.endDate.isValid()) {
        err() << "--from and --to take YYYY-MM-DD" << Qt::endl;
        return 2;
    }
    const auto batchRows = positiveOption(args, QStringLiteral("--batch-rows"), 0);
    if (!batchRows)
        return 2;
    try {
        auto connection = openDatabase(args[0]);
        ConsoleObserver observer;
        engine::RecalcJob job(*connection, observer);
        job.setBatchRows(*batchRows);
        QElapsedTimer timer;
        timer.start();
        const engine::RecalcSummary summary = job.run(request);
        const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
        out() << "\n"
              << summary.rowsDone << " rows recalculated (" << summary.rowsWritten << " changed), "
              << summary.rowsFailed << " failed, " << summary.rowsAutoLocked << " locked, "
              << summary.blankRowsAdded << " month-end rows added in " << seconds << " s"
              << Qt::endl;
        return summary.rowsFailed == 0 ? 0 : 1;
    } catch (const db::DbError& e) {
        return reportDbError(e);
    }
}

int serveQueueCommand(const QStringList& args) {
    if (args.isEmpty())
        return 2;
    engine::RecalcQueueServer::Options options;
    options.once = args.contains(QStringLiteral("--once"));
    const auto interval = positiveOption(args, QStringLiteral("--interval"), options.idleSeconds);
    const auto stale = positiveOption(args, QStringLiteral("--stale"), options.policy.staleSeconds);
    const auto busyTimeout = positiveOption(args, QStringLiteral("--busy-timeout"),
                                            db::ConnectionOptions{}.busyTimeoutMs);
    if (!interval || !stale || !busyTimeout)
        return 2;
    options.idleSeconds = *interval;
    options.policy.staleSeconds = *stale;
    db::ConnectionOptions connection;
    connection.busyTimeoutMs = *busyTimeout;
    const QString path = args[0];
    ConsoleQueueLog log;
    engine::RecalcQueueServer server([path, connection] { return openDatabase(path, connection); },
                                     engine::QueueServerId::current(), options, log);
    try {
        server.serve();
        return 0;
    } catch (const db::DbError& e) {
        return reportDbError(e);
    }
}

} // namespace velora::tools
