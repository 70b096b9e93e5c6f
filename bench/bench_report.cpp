// The pay-period report on a large demo database: one bi-week and one year of every user
// (the users' statement, then the accounts' statement the window runs on a click), ten years,
// and the exports of the year. Each is run five times; prints the median and the worst time
// beside its target.
//
//   velora-admin demo /tmp/demo1000 --users 1000 --days 1095
//   bench_report /tmp/demo1000             (or the database file itself)
#include "BenchDatabase.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "report/PayPeriodReport.h"
#include "report/ReportCsv.h"
#include "report/ReportXlsx.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace velora;
using namespace velora::bench;

namespace {

constexpr int kRuns = 5;

// Runs the work kRuns times and prints its median and worst wall-clock time, and the median
// processor time of this process (the fairer figure on a machine shared with other work), in
// milliseconds.
void measure(const char* what, const char* target, const std::function<void()>& work) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        work();
        cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("  %-22s median %7.1f ms  worst %7.1f ms  cpu %7.1f ms  (target %s)\n", what,
                wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2], target);
}

QDate lastDay(db::Connection& connection) {
    db::Recordset rows = connection.openRecordset(
        QStringLiteral("SELECT MAX(shift_date) AS last FROM Trans_incentive"));
    return rows.date(QStringLiteral("last"));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_report DEMO-FOLDER-OR-DATABASE [HOUR-TYPE]\n");
        return 2;
    }
    const QString path =
        QFileInfo(databasePath(QString::fromLocal8Bit(argv[1]))).absoluteFilePath();
    db::Connection connection;
    connection.open(QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=") + path +
                    QStringLiteral(";Data Source=(embedded);PWD=;"));
    const report::ReportScope scope{argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1, {}};
    const QDate last = lastDay(connection);
    const report::PayPeriod biWeek = report::PayPeriod::biWeek(last, 1);
    const report::PayPeriod year = report::PayPeriod::range(last.addDays(-364), last);
    const report::PayPeriod decade = report::PayPeriod::range(last.addYears(-10).addDays(1), last);
    report::PayPeriodReport report(connection);
    std::printf("pay-period report, %s, hour type %d\n", qPrintable(path), scope.hourMode);

    report::ReportTable table;
    measure("bi-week, users", "200 ms", [&] { table = report.users(biWeek, scope); });
    std::printf("    %zu users, %s\n", table.lines.size(), qPrintable(biWeek.title()));
    measure("bi-week, accounts", "200 ms", [&] { report.accounts(biWeek, scope); });
    measure("year, users", "1 s", [&] { table = report.users(year, scope); });
    std::printf("    %zu users, %s\n", table.lines.size(), qPrintable(year.title()));
    measure("year, accounts", "1 s", [&] { report.accounts(year, scope); });
    report::ReportTable decadeTable;
    measure("ten years, users", "none", [&] { decadeTable = report.users(decade, scope); });

    QTemporaryDir dir;
    const QString xlsx = dir.filePath(QStringLiteral("year.xlsx"));
    const QString csv = dir.filePath(QStringLiteral("year.csv"));
    bool written = true;
    measure("year, XLSX export", "none",
            [&] { written = report::ReportXlsx::write(table, xlsx).ok && written; });
    measure("year, CSV export", "none",
            [&] { written = report::ReportCsv::write(table, csv).ok && written; });
    std::printf("    XLSX %lld bytes, CSV %lld bytes%s\n", QFileInfo(xlsx).size(),
                QFileInfo(csv).size(), written ? "" : ", AN EXPORT FAILED");
    return written ? 0 : 1;
}
