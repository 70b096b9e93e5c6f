#include "UserCommand.h"

#include "AdminError.h"
#include "SqlCommand.h"

#include "db/Connection.h"
#include "suite/SuiteError.h"
#include "suite/SuiteUserStore.h"

#include <QFileInfo>

namespace velora::admin {

namespace {

int parseWholeNumber(const QString& what, const QString& text, int minimum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum)
        throw UsageError(QStringLiteral("%1 expects a whole number of at least %2, not \"%3\"")
                             .arg(what)
                             .arg(minimum)
                             .arg(text));
    return value;
}

QString joined(const QList<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts.append(QString::number(n));
    return texts.join(QStringLiteral(", "));
}

void requireArgumentCount(const QString& action, const QStringList& rest, int count) {
    if (rest.size() != count)
        throw UsageError(QStringLiteral("user %1 expects %2 argument(s) after the user name")
                             .arg(action)
                             .arg(count));
}

} // namespace

QString UserCommand::usage() const {
    return QStringLiteral(
        "user add FILE NAME --password P [--trans-id ID] [--partition N] [--first F] "
        "[--last L] [--administrator]\n"
        "user passwd FILE NAME PASSWORD\n"
        "user grant FILE NAME RIGHT...\n"
        "user revoke FILE NAME RIGHT...\n"
        "user disable FILE NAME\n"
        "user enable FILE NAME");
}

QString UserCommand::openPath(const QString& file) {
    const QString path = QFileInfo(file).absoluteFilePath();
    // Opening a missing file would create an empty database without the suite's tables.
    if (!QFileInfo(path).isFile())
        throw AdminError(AdminError::FileNotFound,
                         QStringLiteral("The database %1 does not exist.").arg(path));
    return path;
}

QList<int> UserCommand::parseRights(const QStringList& texts) {
    if (texts.isEmpty())
        throw UsageError(QStringLiteral("expects at least one right number"));
    QList<int> rights;
    for (const QString& text : texts) {
        const int right = parseWholeNumber(QStringLiteral("a right"), text, 1);
        if (!rights.contains(right))
            rights.append(right);
    }
    return rights;
}

void UserCommand::add(suite::SuiteUserStore& store, const QString& userName,
                      const QStringList& options, QTextStream& out) {
    suite::NewSuiteUser user;
    user.userName = userName;
    for (qsizetype i = 0; i < options.size(); ++i) {
        const QString& option = options.at(i);
        if (option == QLatin1String("--administrator")) {
            user.isAdministrator = true;
            continue;
        }
        static const QStringList kValueOptions{
            QStringLiteral("--password"), QStringLiteral("--trans-id"),
            QStringLiteral("--partition"), QStringLiteral("--first"), QStringLiteral("--last")};
        if (!kValueOptions.contains(option))
            throw UsageError(QStringLiteral("unknown option \"%1\"").arg(option));
        if (i + 1 >= options.size())
            throw UsageError(QStringLiteral("%1 expects a value").arg(option));
        const QString& value = options.at(++i);
        if (option == QLatin1String("--password"))
            user.password = value;
        else if (option == QLatin1String("--trans-id"))
            user.transId = value;
        else if (option == QLatin1String("--partition"))
            user.partitionId = parseWholeNumber(option, value, 0);
        else if (option == QLatin1String("--first"))
            user.firstName = value;
        else
            user.lastName = value;
    }
    if (user.password.isEmpty())
        throw UsageError(QStringLiteral("user add needs --password with a password that is not "
                                        "empty: a login without one could be used by anyone"));
    const int userId = store.add(user);
    out << "Added user " << userName << " (user_id " << userId << ")\n";
}

int UserCommand::run(const QStringList& arguments, QTextStream& out) {
    if (arguments.size() < 3 || arguments.at(2).trimmed().isEmpty())
        throw UsageError(QStringLiteral("expects an action, a database file and a user name"));
    const QString action = arguments.at(0);
    const QString userName = arguments.at(2);
    const QStringList rest = arguments.mid(3);
    static const QStringList kActions{QStringLiteral("add"),     QStringLiteral("passwd"),
                                      QStringLiteral("grant"),   QStringLiteral("revoke"),
                                      QStringLiteral("disable"), QStringLiteral("enable")};
    if (!kActions.contains(action))
        throw UsageError(QStringLiteral("unknown action \"%1\"").arg(action));
    const QString path = openPath(arguments.at(1));

    db::ConnectionOptions options;
    options.baseDirectory = QFileInfo(path).absolutePath();
    db::Connection connection(options);
    connection.open(SqlCommand::connectionStringFor(path));
    suite::SuiteUserStore store(connection);
    try {
        if (action == QLatin1String("add")) {
            add(store, userName, rest, out);
        } else if (action == QLatin1String("passwd")) {
            requireArgumentCount(action, rest, 1);
            store.setPassword(userName, rest.first());
            out << "Password of " << userName << " set\n";
        } else if (action == QLatin1String("grant")) {
            const QList<int> rights = parseRights(rest);
            store.grant(userName, rights);
            out << "Granted " << joined(rights) << " to " << userName << '\n';
        } else if (action == QLatin1String("revoke")) {
            const QList<int> rights = parseRights(rest);
            store.revoke(userName, rights);
            out << "Revoked " << joined(rights) << " from " << userName << '\n';
        } else {
            requireArgumentCount(action, rest, 0);
            const bool disable = action == QLatin1String("disable");
            store.setDisabled(userName, disable);
            out << (disable ? "Disabled " : "Enabled ") << userName << '\n';
        }
    } catch (const suite::SuiteError& e) {
        throw AdminError(e.number(), e.description());
    }
    return 0;
}

} // namespace velora::admin
