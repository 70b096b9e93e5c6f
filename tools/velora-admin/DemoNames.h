#pragma once

#include <span>

namespace velora::admin {

// Word lists from which the demo installation names its people, clients and divisions.
namespace DemoNames {
std::span<const char* const> firstNames();
std::span<const char* const> lastNames();
// The place part of a client's name ("Riverside") and the kind of facility
// ("General Hospital"); together they make "Riverside General Hospital".
std::span<const char* const> facilityPlaces();
std::span<const char* const> facilityKinds();
std::span<const char* const> cities();
std::span<const char* const> partitionNames();
} // namespace DemoNames

} // namespace velora::admin
