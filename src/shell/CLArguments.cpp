#include "CLArguments.h"

#include "ShellError.h"

#include <algorithm>

namespace velora::shell {

namespace {

[[noreturn]] void throwInvalidArgument() {
    throw ShellError(ShellErrorNumber::InvalidArgument,
                     QStringLiteral("Invalid procedure call or argument"));
}

} // namespace

CLArguments::CLArguments()
    : nothing_(QString(), QString(), false, false) {}

CLArguments::const_iterator CLArguments::find(const QString& key) const {
    return std::find_if(arguments_.begin(), arguments_.end(), [&key](const CLArgument& argument) {
        return argument.Name().compare(key, Qt::CaseInsensitive) == 0;
    });
}

bool CLArguments::validPosition(int position) const {
    return position >= 1 && position <= Count();
}

CLArgument CLArguments::append(const QString& name, const QString& value, bool hasValue) {
    if (find(name) != arguments_.end())
        throw ShellError(ShellErrorNumber::DuplicateKey,
                         QStringLiteral("This key is already associated with an element of "
                                        "this collection"));
    arguments_.push_back(CLArgument(name, value, true, hasValue));
    return arguments_.back();
}

CLArgument CLArguments::Add(const QString& name, const QString& value) {
    return append(name, value, true);
}

CLArgument CLArguments::AddBare(const QString& name) {
    return append(name, QStringLiteral("TRUE"), false);
}

CLArgument CLArguments::Item(const QString& key) const {
    const auto found = find(key);
    return found == arguments_.end() ? nothing_ : *found;
}

CLArgument CLArguments::Item(int position) const {
    return validPosition(position) ? arguments_[static_cast<size_t>(position - 1)] : nothing_;
}

void CLArguments::Remove(const QString& key) {
    const auto found = find(key);
    if (found == arguments_.end())
        throwInvalidArgument();
    arguments_.erase(found);
}

void CLArguments::Remove(int position) {
    if (!validPosition(position))
        throwInvalidArgument();
    arguments_.erase(arguments_.begin() + (position - 1));
}

} // namespace velora::shell
