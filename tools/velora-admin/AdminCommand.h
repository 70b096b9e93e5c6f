#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <stdexcept>

namespace velora::admin {

// Bad command-line arguments: main prints the message and the usage text and exits with 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// One subcommand of velora-admin ("init", "demo", "sql", ...). main looks the command up by
// its name and hands it the arguments that follow the name. A command reports bad arguments
// with UsageError and failures with AdminError or DbError; its return value is the exit code.
class AdminCommand {
public:
    virtual ~AdminCommand() = default;

    virtual QString name() const = 0;
    // The command's lines of the usage text, each starting with the command name.
    virtual QString usage() const = 0;
    virtual int run(const QStringList& arguments, QTextStream& out) = 0;
};

} // namespace velora::admin
