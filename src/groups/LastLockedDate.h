#pragma once

#include <QString>

namespace velora::db {
class Connection;
}
namespace velora::suite {
class HXRegion;
}

namespace velora::groups {

// The latest locked production day in the regional date form; 1 January 1980 in that form when
// no row is locked. Opens the connection when it is closed and leaves it as it found it.
QString GetLastLockedDate(db::Connection& connection, const suite::HXRegion& region);

} // namespace velora::groups
