// Filling the explorer as the partitioned load does: 10,000 deferred users, then 202 accounts
// (which every user's account folder receives), 200 formulas, 40 deferred groups and a final
// Sort. Prints the time and the peak memory, then the time to open one user's account folder
// and one user's accounts as the on-demand load replaces them. Never fails on time.
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"

#include <QApplication>
#include <QListWidget>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

using velora::explorer::ExplorerKeys;
using velora::explorer::IncentiveExplorer;
using Clock = std::chrono::steady_clock;

namespace {

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of this process in ms: on a busy machine it shows the work itself.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

constexpr int kUsers = 10000;
constexpr int kAccounts = 200;
constexpr int kFormulas = 200;
constexpr int kGroups = 40;

// Fills the explorer and prints the time of each phase.
void fill(IncentiveExplorer& explorer) {
    auto phase = Clock::now();
    double phaseCpu = cpuMs();
    const auto report = [&phase, &phaseCpu](const char* what) {
        std::printf("  %-10s %8.1f ms (processor %.1f ms)\n", what, msSince(phase),
                    cpuMs() - phaseCpu);
        phase = Clock::now();
        phaseCpu = cpuMs();
    };
    for (int u = 0; u < kUsers; ++u)
        explorer.AddUser(QStringLiteral("User %1").arg(u), QStringLiteral("U%1").arg(u), QString(),
                         false, true);
    report("users");
    explorer.AddAccount(QStringLiteral("__Default Account"), QStringLiteral("-1"));
    explorer.AddAccount(QStringLiteral("__External Accounts"), QStringLiteral("-3"));
    for (int a = 0; a < kAccounts; ++a)
        explorer.AddAccount(QStringLiteral("Account %1").arg(a), QString::number(100 + a));
    report("accounts");
    for (int f = 1; f <= kFormulas; ++f)
        explorer.AddFormula(QStringLiteral("Formula %1").arg(f), QString::number(f));
    report("formulas");
    for (int g = 1; g <= kGroups; ++g)
        explorer.AddGroup(QStringLiteral("Group %1").arg(g), QString::number(g), QString(), true);
    report("groups");
    explorer.Sort();
    report("Sort");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    IncentiveExplorer explorer;
    explorer.resize(300, 600);
    explorer.show();
    QApplication::processEvents();
    const long rssBefore = peakRssKb();

    int errors = 0;
    QObject::connect(&explorer, &IncentiveExplorer::IncentiveExplorerError,
                     [&errors] { ++errors; });
    const auto start = Clock::now();
    const double startCpu = cpuMs();
    fill(explorer);
    const double fillMs = msSince(start);
    const double fillCpu = cpuMs() - startCpu;
    const auto paintStart = Clock::now();
    explorer.tree()->expand(explorer.modelIndex(ExplorerKeys::UsersFolder()));
    explorer.repaint();
    QApplication::processEvents();
    const double showMs = msSince(paintStart);
    const long rssAfter = peakRssKb();

    std::printf("fill %d deferred users, %d accounts, %d formulas, %d groups, Sort: %.1f ms "
                "(processor %.1f ms)\n",
                kUsers, kAccounts + 2, kFormulas, kGroups, fillMs, fillCpu);
    std::printf("expand and paint the users folder: %.1f ms\n", showMs);
    std::printf("peak RSS: %ld KiB before, %ld KiB after (+%ld KiB), errors %d\n", rssBefore,
                rssAfter, rssAfter - rssBefore, errors);

    const QString user = QStringLiteral("U5000");
    auto step = Clock::now();
    const QStringList children = explorer.childKeys(ExplorerKeys::UserAccountFolder(user));
    std::printf("materialise one user account folder (%lld nodes): %.2f ms\n",
                static_cast<long long>(children.size()), msSince(step));

    QListWidget list;
    step = Clock::now();
    explorer.FillUserAccountFolderListView(user, &list);
    std::printf("fill the list view from it (%d items): %.2f ms\n", list.count(), msSince(step));

    step = Clock::now();
    explorer.ClickNode(ExplorerKeys::User(user));
    explorer.ClearAllChildren(explorer.node(ExplorerKeys::UserAccountFolder(user)));
    explorer.ClearAllChildren(explorer.node(ExplorerKeys::UserExternalAccountFolder(user)));
    for (int a = 0; a < 20; ++a)
        explorer.AddUserAccount(user, QString::number(100 + a));
    explorer.AddUserAccount(user, QStringLiteral("-2"));
    explorer.Sort();
    QApplication::processEvents();
    std::printf("on-demand reload of one user (20 accounts) with Sort: %.2f ms\n", msSince(step));
    return 0;
}
