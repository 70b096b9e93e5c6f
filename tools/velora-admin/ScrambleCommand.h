#pragma once

#include "AdminCommand.h"

namespace velora::admin {

// "scramble PASSWORD" (or "scramble -" to read it from the first line of standard input, out
// of the shell's history): prints the password as the configuration file's Password key holds
// it, for sites that point the program at a database server.
class ScrambleCommand final : public AdminCommand {
public:
    QString name() const override { return QStringLiteral("scramble"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace velora::admin
