// The catalogue display at start-up: from the first query to the sorted explorer tree, for the
// supervisor of a demo installation, with the real explorer control. Prints the median and the
// worst of the runs, the split between the catalogue load and the filling of the explorer, and
// the row counts. Prints figures only; never fails on time.
//
//   velora-admin demo /tmp/catdemo --users 10000 --accounts 200 --partitions 5
//   bench_catalogue /tmp/catdemo
#include "BenchDatabase.h"
#include "catalogue/CatalogueDisplay.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "explorer/IncentiveExplorer.h"
#include "suite/HXLoginUser.h"
#include "suite/SuiteUserStore.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace velora;
using namespace velora::bench;

namespace {

constexpr int kRuns = 10;

double milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Passes every call on to the explorer (when there is one) and counts the calls per kind.
class CountingPopulation final : public explorer::ExplorerPopulation {
public:
    explicit CountingPopulation(explorer::ExplorerPopulation* target)
        : target_(target) {}

    void AddAccount(const QString& name, const QString& id, bool isDeleted) override {
        ++counts["accounts"];
        if (target_)
            target_->AddAccount(name, id, isDeleted);
    }
    void AddFormula(const QString& name, const QString& id) override {
        ++counts["formulas"];
        if (target_)
            target_->AddFormula(name, id);
    }
    void AddGroup(const QString& name, const QString& id, const QString& tag,
                  bool deferred) override {
        ++counts["groups"];
        if (target_)
            target_->AddGroup(name, id, tag, deferred);
    }
    void AddUser(const QString& text, const QString& transID, const QString& tag, bool isDeleted,
                 bool deferred) override {
        ++counts["users"];
        if (target_)
            target_->AddUser(text, transID, tag, isDeleted, deferred);
    }
    void SetOperatorMode(bool operatorMode) override {
        if (target_)
            target_->SetOperatorMode(operatorMode);
    }
    void Sort() override {
        if (target_)
            target_->Sort();
    }

    std::map<std::string, int> counts;

private:
    explorer::ExplorerPopulation* target_;
};

// A failure box during a benchmark is reported and ends the display.
class PrintedMessages final : public common::Messages {
public:
    common::MessageAnswer show(const QString& text, const QString&, common::MessageIcon,
                               common::MessageButtons) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return common::MessageAnswer::Abort;
    }
};

struct Timing {
    double total = 0;                              // the whole display
    double load = 0;                               // the five statements of the catalogue load
    std::vector<std::pair<QString, double>> steps; // each wait-dialog message to the next
};

struct Setup {
    db::Connection connection;
    QString connectionString;
    std::unique_ptr<suite::HXLoginUser> login;
    bool partitionMode = false;
};

// The start-up decision: more than one live partition besides partition 0.
bool partitionMode(db::Connection& connection) {
    db::Recordset rows = connection.openRecordset(
        QStringLiteral("SELECT COUNT(*) AS live FROM System_partitions WHERE partition_id <> 0 "
                       "AND delete_date IS NULL"));
    return rows.value(0).toInt() > 1;
}

Timing runOnce(Setup& setup, bool withExplorer, std::map<std::string, int>& counts,
               catalogue::Catalogue& catalogue) {
    auto control = withExplorer ? std::make_unique<explorer::IncentiveExplorer>() : nullptr;
    CountingPopulation population(control.get());
    PrintedMessages messages;
    catalogue::User currentUser;
    currentUser.setTransID(setup.login->trans_id());
    catalogue::CatalogueCollection<catalogue::Partition> accessible;
    Clock::time_point loadEnd;
    std::vector<std::pair<QString, Clock::time_point>> marks;

    catalogue::CatalogueDisplay display(
        {setup.connection, setup.connectionString, *setup.login, setup.partitionMode,
         catalogue::DisplayPreferences{}, catalogue, currentUser, accessible, population, messages,
         [&](const QString& message) {
             marks.emplace_back(message, Clock::now());
             if (message == QStringLiteral("Loading User Interface elements..."))
                 loadEnd = Clock::now();
             QCoreApplication::processEvents();
             return true;
         },
         [](bool) {}, [] {}});
    const Clock::time_point start = Clock::now();
    display.show();
    const Clock::time_point end = Clock::now();
    counts = population.counts;
    if (loadEnd == Clock::time_point())
        loadEnd = start;
    Timing timing{milliseconds(start, end), milliseconds(start, loadEnd), {}};
    for (std::size_t i = 0; i < marks.size(); ++i)
        timing.steps.emplace_back(
            marks[i].first,
            milliseconds(marks[i].second, i + 1 < marks.size() ? marks[i + 1].second : end));
    return timing;
}

void report(const char* label, std::vector<Timing> timings) {
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.total < b.total; });
    const Timing& median = timings[timings.size() / 2];
    std::printf("  %-28s median %7.1f ms (load %6.1f, fill %6.1f)   worst %7.1f ms\n", label,
                median.total, median.load, median.total - median.load, timings.back().total);
    for (const auto& [message, ms] : median.steps)
        std::printf("    %-36s %7.1f ms\n", qPrintable(message), ms);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 || !QFileInfo::exists(databasePath(QString::fromLocal8Bit(argv[1])))) {
        std::fprintf(stderr, "usage: bench_catalogue DEMO-DIR|DATABASE\n  make one with: "
                             "velora-admin demo /tmp/catdemo --users 10000 --accounts 200 "
                             "--partitions 5\n");
        return 2;
    }
    try {
        Setup setup;
        setup.connectionString = QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=") +
                                 databasePath(QString::fromLocal8Bit(argv[1])) +
                                 QStringLiteral(";Data Source=(embedded)");
        setup.connection.open(setup.connectionString);
        suite::SuiteUserStore store(setup.connection);
        const suite::SuiteUserRecord supervisor = store.require(QStringLiteral("supervisor"));
        setup.login = std::make_unique<suite::HXLoginUser>(
            supervisor, store.privileges(supervisor.userId), QString());
        setup.partitionMode = partitionMode(setup.connection);

        std::map<std::string, int> counts;
        catalogue::Catalogue catalogue;
        std::vector<Timing> withExplorer;
        std::vector<Timing> countingOnly;
        for (int run = 0; run < kRuns; ++run) {
            withExplorer.push_back(runOnce(setup, true, counts, catalogue));
            countingOnly.push_back(runOnce(setup, false, counts, catalogue));
        }

        std::printf("catalogue display, supervisor, partition mode %s, %d runs\n",
                    setup.partitionMode ? "on" : "off", kRuns);
        std::printf("  catalogue: %d partitions, %d accounts, %d users, %d formulas, %d groups\n",
                    catalogue.partitions().count(), catalogue.accounts().count(),
                    catalogue.users().count(), catalogue.formulas().count(),
                    catalogue.groups().count());
        std::printf("  explorer:  %d users, %d accounts, %d formulas, %d groups added\n",
                    counts["users"], counts["accounts"], counts["formulas"], counts["groups"]);
        report("IncentiveExplorer", withExplorer);
        report("counting population only", countingOnly);
        std::printf("  target: under 300 ms with the explorer\n");
    } catch (const NumberedError& e) {
        std::fprintf(stderr, "Error %d: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}
