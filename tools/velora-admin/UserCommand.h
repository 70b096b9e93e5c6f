#pragma once

#include "AdminCommand.h"

namespace velora::suite {
class SuiteUserStore;
}

namespace velora::admin {

// "user ACTION FILE NAME ...": the suite's logins in a database file. Passwords are stored as
// Argon2id hashes at the interactive cost; an empty password means none is set.
class UserCommand final : public AdminCommand {
public:
    QString name() const override { return QStringLiteral("user"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;

private:
    static void add(suite::SuiteUserStore& store, const QString& userName,
                    const QStringList& options, QTextStream& out);
    static QList<int> parseRights(const QStringList& texts);
    static QString openPath(const QString& file);
};

} // namespace velora::admin
