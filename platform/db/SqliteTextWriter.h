#pragma once

#include <QChar>
#include <QLatin1String>
#include <QString>
#include <utility>

namespace velora::db {

// Collects the SQLite text of a translated statement, keeping tokens apart where the
// statement had white space and wherever two tokens written side by side would read as one.
// Internal to the translator.
class SqliteTextWriter {
public:
    void put(const QString& text, bool space);
    void put(QLatin1String text, bool space) { put(QString(text), space); }
    void requestSpace() { spaceRequested_ = true; }
    QString take() { return std::move(out_); }

private:
    static bool isWordChar(QChar c);
    static bool isOperatorChar(QChar c);
    static bool wouldJoin(QChar last, QChar first);

    QString out_;
    bool spaceRequested_ = false;
};

} // namespace velora::db
