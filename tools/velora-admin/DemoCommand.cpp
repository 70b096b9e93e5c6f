#include "DemoCommand.h"

#include "DemoGenerator.h"
#include "DemoInstallation.h"

#include <QElapsedTimer>
#include <limits>

namespace velora::admin {

namespace {

struct NumberOption {
    const char* name;
    int DemoOptions::*field;
    int minimum;
    int maximum;
};

constexpr NumberOption kNumberOptions[] = {
    {"--users", &DemoOptions::users, 2, 100000},
    {"--accounts", &DemoOptions::accounts, 1, 10000},
    {"--days", &DemoOptions::days, 1, 3660},
    {"--partitions", &DemoOptions::partitions, 0, 200},
};

int parseNumber(const QString& option, const QString& text, qint64 minimum, qint64 maximum) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < minimum || value > maximum)
        throw UsageError(QStringLiteral("%1 expects a whole number from %2 to %3, not \"%4\"")
                             .arg(option)
                             .arg(minimum)
                             .arg(maximum)
                             .arg(text));
    return static_cast<int>(value);
}

void applyOption(DemoOptions& options, const QString& option, const QString& value) {
    for (const NumberOption& number : kNumberOptions) {
        if (option == QLatin1String(number.name)) {
            options.*number.field = parseNumber(option, value, number.minimum, number.maximum);
            return;
        }
    }
    if (option == QLatin1String("--seed")) {
        options.seed = static_cast<std::uint32_t>(
            parseNumber(option, value, 0, std::numeric_limits<std::int32_t>::max()));
    } else if (option == QLatin1String("--today")) {
        options.today = QDate::fromString(value, Qt::ISODate);
        if (!options.today.isValid())
            throw UsageError(
                QStringLiteral("--today expects a date as YYYY-MM-DD, not \"%1\"").arg(value));
    } else {
        throw UsageError(QStringLiteral("unknown option \"%1\"").arg(option));
    }
}

} // namespace

QString DemoCommand::usage() const {
    return QStringLiteral("demo DIR [--users N] [--accounts N] [--days N] [--partitions N] "
                          "[--seed N] [--today YYYY-MM-DD]");
}

DemoOptions DemoCommand::parseOptions(const QStringList& arguments, QString& directory) {
    DemoOptions options;
    options.today = QDate::currentDate();
    directory.clear();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!directory.isEmpty())
                throw UsageError(
                    QStringLiteral("expects one folder, not \"%1\" as well").arg(argument));
            directory = argument;
            continue;
        }
        // "--users 40" and "--users=40" both work.
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals > 0) {
            applyOption(options, argument.left(equals), argument.mid(equals + 1));
        } else {
            if (i + 1 >= arguments.size())
                throw UsageError(QStringLiteral("%1 expects a value").arg(argument));
            applyOption(options, argument, arguments.at(++i));
        }
    }
    if (directory.isEmpty())
        throw UsageError(QStringLiteral("expects the folder of the installation"));
    return options;
}

int DemoCommand::run(const QStringList& arguments, QTextStream& out) {
    QString directory;
    const DemoOptions options = parseOptions(arguments, directory);
    QElapsedTimer timer;
    timer.start();

    const DemoInstallation installation(directory);
    installation.prepareDirectories();
    const TableCounts counts = DemoGenerator(options).generate(installation.databaseFile());
    installation.writeConfiguration();
    installation.writeRegistry();

    out << "Demo installation in " << installation.root() << '\n'
        << "  configuration: " << installation.configurationFile() << '\n'
        << "  database:      " << installation.databaseFile() << '\n'
        << "  registry:      " << installation.registryFile() << '\n'
        << "  production:    " << options.firstDay().toString(Qt::ISODate) << " to "
        << options.lastDay().toString(Qt::ISODate) << ", locked before "
        << options.lockedBefore().toString(Qt::ISODate) << '\n'
        << "Rows:\n";
    for (const auto& [table, rows] : counts)
        out << "  " << qSetFieldWidth(24) << Qt::left << table << qSetFieldWidth(0) << rows << '\n';
    out << "Logins: supervisor/supervisor (every right), operator/operator (own figures only)\n"
        << QStringLiteral("Made in %1 s.\n").arg(timer.elapsed() / 1000.0, 0, 'f', 2)
        << "Start the program with:\n"
        << "  VELORA_REGISTRY=" << installation.registryFile() << " velora-incentive\n";
    return 0;
}

} // namespace velora::admin
