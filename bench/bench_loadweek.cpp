// The weekly grid's load (LoadWeek with its day, activity and period-total statements) on a
// large demo database: 200 loads of random users, accounts the user has rows for, and weeks,
// with the pane offscreen. Prints the median, 90th percentile and worst time per load.
//
//   velora-admin demo /tmp/bigdemo --users 1000 --days 1095
//   bench_loadweek /tmp/bigdemo            (or the database file itself)
#include "BenchDatabase.h"
#include "catalogue/User.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "detail/DetailContext.h"
#include "detail/UserDetailPane.h"
#include "detail/WeekLoader.h"
#include "suite/HXLoginUser.h"
#include "suite/HXRegion.h"
#include "widgets/VeloraDatePicker.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace velora;
using namespace velora::bench;

namespace {

constexpr int kLoads = 200;

class CountingMessages final : public common::Messages {
public:
    common::MessageAnswer show(const QString& text, const QString&, common::MessageIcon,
                               common::MessageButtons) override {
        if (++count <= 3)
            std::fprintf(stderr, "  message: %s\n", qPrintable(text));
        return common::MessageAnswer::Ok;
    }
    int count = 0;
};

struct UserAccount {
    QString transID;
    QString accountID;
};

std::vector<UserAccount> userAccounts(db::Connection& connection) {
    std::vector<UserAccount> pairs;
    db::Recordset rows = connection.openRecordset(QStringLiteral(
        "SELECT trans_id, hosp_acct_id FROM Trans_incentive GROUP BY trans_id, hosp_acct_id"));
    for (; !rows.eof(); rows.moveNext())
        pairs.push_back(
            {rows.text(QStringLiteral("trans_id")), rows.text(QStringLiteral("hosp_acct_id"))});
    return pairs;
}

struct Figures {
    double median = 0;
    double p90 = 0;
    double worst = 0;
};

Figures figures(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back()};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_loadweek DEMO-DIR|DATABASE [--summary] [--hour-mode N]\n"
                             "make the database with: velora-admin demo /tmp/bigdemo --users 1000 "
                             "--days 1095\n");
        return 2;
    }
    const QString path = databasePath(QString::fromLocal8Bit(argv[1]));
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr,
                     "no database at %s\nmake one with: velora-admin demo /tmp/bigdemo "
                     "--users 1000 --days 1095\n",
                     qPrintable(path));
        return 2;
    }
    bool summary = false;
    int hourMode = 1;
    for (int i = 2; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--summary")
            summary = true;
        else if (arg == "--hour-mode" && i + 1 < argc)
            hourMode = QByteArray(argv[++i]).toInt();
    }

    db::Connection connection;
    connection.open(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=") + path +
                    QStringLiteral(";Data Source=(embedded)"));
    const std::vector<UserAccount> pairs = userAccounts(connection);
    db::Recordset range = connection.openRecordset(
        QStringLiteral("SELECT MIN(shift_date) AS first_day, MAX(shift_date) AS last_day FROM "
                       "Trans_incentive"));
    const QDate first = range.date(QStringLiteral("first_day"));
    const QDate last = range.date(QStringLiteral("last_day"));
    if (pairs.empty() || !first.isValid()) {
        std::fprintf(stderr, "the database holds no production rows\n");
        return 2;
    }

    const suite::HXRegion region;
    const suite::HXLoginUser login(suite::SuiteUserRecord{}, {18, 19, 22, 23, 45}, QString());
    CountingMessages messages;
    detail::UserDetailPane pane;
    QComboBox groups;
    detail::WeekBuffer week;
    std::shared_ptr<catalogue::User> currentUser;
    detail::DetailContext context{connection,
                                  region,
                                  [&login] { return &login; },
                                  messages,
                                  pane,
                                  groups,
                                  week,
                                  currentUser,
                                  [hourMode] { return hourMode; },
                                  [] { return 1; },
                                  [] { return detail::CurrentSelection{}; },
                                  [] {},
                                  [] {},
                                  [] {}};
    detail::WeekLoader loader(context, [] { return true; });

    std::mt19937 random(20121104);
    std::uniform_int_distribution<std::size_t> pick(0, pairs.size() - 1);
    std::uniform_int_distribution<qint64> day(0, first.daysTo(last) - 6);
    std::vector<double> ms;
    for (int i = 0; i < kLoads; ++i) {
        const UserAccount& pair = pairs[pick(random)];
        pane.startDate()->setText(region.formatDate(first.addDays(day(random))));
        const auto start = Clock::now();
        loader.LoadWeek(pair.transID, pair.transID, pair.accountID,
                        summary ? QStringLiteral("-2") : pair.accountID);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const Figures f = figures(ms);
    std::printf("LoadWeek, %s, hour mode %d, %d loads over %zu user accounts:\n",
                summary ? "account summary" : "single account", hourMode, kLoads, pairs.size());
    std::printf("  median %.2f ms, 90th percentile %.2f ms, worst %.2f ms\n", f.median, f.p90,
                f.worst);
    if (messages.count > 0)
        std::printf("  %d loads reported a failure\n", messages.count);
    return messages.count > 0 ? 1 : 0;
}
