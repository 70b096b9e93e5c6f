#pragma once

#include <QStringList>

namespace velora::tools {

// The commands of velora-engine; each returns the process exit code.
int checkCommand(const QStringList& args);
int evalCommand(const QStringList& args);
int recalcCommand(const QStringList& args);
int serveQueueCommand(const QStringList& args);

} // namespace velora::tools
