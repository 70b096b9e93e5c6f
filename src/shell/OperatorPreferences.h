#pragma once

#include "common/PreferenceStore.h"

class QWidget;

namespace velora::common {
struct AppContext;
}

namespace velora::shell {

// The logged-in operator's stored preferences: where they are kept (user level by the suite
// user id, per partition in partition mode), reading them into the program's context, and the
// Preferences dialog over them.
class OperatorPreferences {
public:
    explicit OperatorPreferences(common::AppContext& context)
        : context_(context) {}

    common::PreferenceStore store() const;
    // Reads the stored preferences; false after telling the operator why they could not be
    // read, which ends the start-up.
    bool read();
    // Shows the Preferences dialog modally. Database failures reach the caller as db::DbError.
    void runDialog(bool firstUse, QWidget* parent);
    // Edit > Preferences: the dialog, then the stored preferences read again. Database
    // failures reach the caller.
    void edit(QWidget* parent);

private:
    common::AppContext& context_;
};

} // namespace velora::shell
