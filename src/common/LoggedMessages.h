#pragma once

#include "ErrorLog.h"
#include "Messages.h"

namespace velora::common {

// The program's messages with its diagnostics: every error (a critical message, or any message
// whose text carries an error number) is written to the error log, then shown by the Messages
// it wraps. Notices and questions are only shown.
class LoggedMessages final : public Messages {
public:
    LoggedMessages(Messages& shown, const ErrorLog& log)
        : shown_(shown)
        , log_(log) {}

    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;

    static bool isError(const QString& text, MessageIcon icon);

private:
    Messages& shown_;
    const ErrorLog& log_;
};

} // namespace velora::common
