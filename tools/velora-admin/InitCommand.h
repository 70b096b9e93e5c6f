#pragma once

#include "AdminCommand.h"

namespace velora::admin {

// "init FILE": a new, empty incentive database made from the schema.
class InitCommand final : public AdminCommand {
public:
    QString name() const override { return QStringLiteral("init"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;
};

} // namespace velora::admin
