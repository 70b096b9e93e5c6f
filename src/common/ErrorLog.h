#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace velora::common {

// The user's diagnostics log: every error the program shows is appended as one line with its
// time and number, so that a support call can read what happened after the box was closed.
// Lines are tab-separated: time (ISO 8601 with the offset), "Error <number>" ("Error" alone
// when the text carries none), the title, the text with its line breaks as " | ". The log is
// private to the user; past kRotateBytes it moves to <log>.1 and starts again.
class ErrorLog {
public:
    static constexpr qint64 kRotateBytes = 1024 * 1024;

    explicit ErrorLog(const QString& path)
        : path_(path) {}

    // $XDG_STATE_HOME/velora/velora.log, ~/.local/state/velora/velora.log when XDG_STATE_HOME is
    // not set (on Windows the application's local data folder).
    static QString defaultPath();

    const QString& path() const { return path_; }

    // False when the log could not be written; the caller goes on (the message is still shown).
    bool append(const QDateTime& at, const QString& title, const QString& text) const;

    // The error number a message text carries ("Error 53: ...", "Error Number:-2147467259",
    // "Zarererov Avudezez Error 7:..."), if any.
    static std::optional<qint64> errorNumber(const QString& text);
    static QString line(const QDateTime& at, const QString& title, const QString& text);

private:
    void rotateIfLarge() const;

    QString path_;
};

} // namespace velora::common
