#include "HXLoginUser.h"

namespace velora::suite {

HXLoginUser::HXLoginUser(SuiteUserRecord record, std::set<int> rights, QString password)
    : record_(std::move(record))
    , rights_(std::move(rights))
    , password_(std::move(password)) {
    // The hash stays in the database; nobody after the login needs it.
    record_.passwordHash.clear();
}

} // namespace velora::suite
