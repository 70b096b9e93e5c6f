#include "ScrambleCommand.h"

#include "config/PasswordScrambling.h"

namespace velora::admin {

QString ScrambleCommand::usage() const {
    return QStringLiteral("scramble PASSWORD|-");
}

int ScrambleCommand::run(const QStringList& arguments, QTextStream& out) {
    if (arguments.size() != 1)
        throw UsageError(QStringLiteral("expected one password, or - to read it from standard "
                                        "input"));
    QString password = arguments.first();
    if (password == QLatin1String("-")) {
        QTextStream in(stdin);
        password = in.readLine();
    }
    if (password.isEmpty())
        throw UsageError(QStringLiteral("the password is empty"));
    out << config::ScrambledText(password) << '\n';
    return 0;
}

} // namespace velora::admin
