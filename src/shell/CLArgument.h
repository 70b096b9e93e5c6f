#pragma once

#include <QString>

namespace velora::shell {

// One parsed command-line switch. Only CLArguments creates them; callers read the fields.
class CLArgument {
public:
    // The switch name as written, without its leading "/" (not trimmed).
    const QString& Name() const { return name_; }
    // The switch's value; "TRUE" for a bare switch, "" for the missing-switch sentinel.
    const QString& value() const { return value_; }
    // False only for the sentinel that stands for a switch that is not there.
    bool Exists() const { return exists_; }
    // False for a bare switch, whose value "TRUE" was not written, and for the sentinel.
    bool HasValue() const { return hasValue_; }

private:
    friend class CLArguments;

    CLArgument(QString name, QString value, bool exists, bool hasValue)
        : name_(std::move(name))
        , value_(std::move(value))
        , exists_(exists)
        , hasValue_(hasValue) {}

    QString name_;
    QString value_;
    bool exists_;
    bool hasValue_;
};

} // namespace velora::shell
