#pragma once

#include "DemoOptions.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace velora::admin {

using TableCounts = std::vector<std::pair<QString, std::int64_t>>;

// Makes the demo database: a new file from the schema, filled in one transaction through
// the embedded engine's raw handle with prepared statements. The same options and seed give
// the same data.
class DemoGenerator {
public:
    explicit DemoGenerator(const DemoOptions& options)
        : options_(options) {}

    // Creates the database at path (which must not exist) and returns the rows per table.
    // On failure the partly written file is removed.
    TableCounts generate(const QString& path);

    static const std::vector<const char*>& tables();

private:
    TableCounts fill(const QString& path);

    DemoOptions options_;
};

} // namespace velora::admin
