#pragma once

#include "CLArgument.h"

#include <QString>
#include <vector>

namespace velora::shell {

// The parsed switches in the order they were given, keyed by name without regard to case.
// A lookup that finds nothing returns a sentinel whose value is "", so callers simply test
// Item(key).value() and never handle a missing object.
class CLArguments {
public:
    using const_iterator = std::vector<CLArgument>::const_iterator;

    CLArguments();

    // Throws ShellError 457 when the name is already present.
    CLArgument Add(const QString& name, const QString& value);
    // A bare switch: its value is "TRUE" and HasValue() is false. Throws as Add.
    CLArgument AddBare(const QString& name);

    CLArgument Item(const QString& key) const;
    // 1-based position.
    CLArgument Item(int position) const;

    int Count() const { return static_cast<int>(arguments_.size()); }

    // Throws ShellError 5 when there is no such argument.
    void Remove(const QString& key);
    void Remove(int position);

    const_iterator begin() const { return arguments_.begin(); }
    const_iterator end() const { return arguments_.end(); }

private:
    const_iterator find(const QString& key) const;
    CLArgument append(const QString& name, const QString& value, bool hasValue);
    bool validPosition(int position) const;

    std::vector<CLArgument> arguments_;
    // Stands for every switch that is not there (kept under the key "NOTHING").
    CLArgument nothing_;
};

} // namespace velora::shell
