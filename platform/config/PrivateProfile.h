#pragma once

#include <QString>
#include <QStringView>

namespace velora::config {

// Reads single values from Windows-style INI files the way GetPrivateProfileString does:
// section and key names without regard to case, the value trimmed, a value enclosed in
// matching quotes without them, at most 255 characters (a 256-character buffer), and ""
// whenever the file, the section or the key is missing. The file is read anew on every call,
// so a change made by another program is seen at once.
class PrivateProfile {
public:
    static constexpr qsizetype kBufferLength = 256;

    static QString getString(const QString& file, const QString& section, const QString& key);

    // The same lookup on text already in memory.
    static QString getStringFromText(QStringView text, const QString& section, const QString& key);
};

} // namespace velora::config
