#pragma once

#include <QByteArray>
#include <QString>

namespace velora::report {

// The outcome of writing an export: ok, or the sentence that says why not.
struct ExportResult {
    bool ok = false;
    QString message;
};

// Writes a finished export under its final name in one step: the bytes go to a temporary file
// in the target folder, which replaces the final name only once everything is on disk. A
// failure (a folder that cannot be written, a full disk) leaves no file under the final name
// and an earlier file there unchanged. A new file is readable by its owner only.
class ReportFile {
public:
    static ExportResult save(const QString& path, const QByteArray& content);
    // "The report could not be written to <path>: <reason>."
    static QString failure(const QString& path, const QString& reason);
};

} // namespace velora::report
