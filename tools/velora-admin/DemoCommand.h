#pragma once

#include "AdminCommand.h"
#include "DemoOptions.h"

namespace velora::admin {

// "demo DIR [options]": a complete installation under DIR with a database full of realistic
// production data, ready for the program to start on.
class DemoCommand final : public AdminCommand {
public:
    QString name() const override { return QStringLiteral("demo"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;

    // The folder and the options of the command line; throws UsageError.
    static DemoOptions parseOptions(const QStringList& arguments, QString& directory);
};

} // namespace velora::admin
