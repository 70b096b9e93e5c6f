#pragma once

#include "common/PreferenceStore.h"
#include "common/TestDatabase.h"

#include <QStringList>
#include <optional>

namespace velora::test {

// A fresh database, a preference store for operator 42 in partition 5 on it, and the list
// of statements the store has sent.
class PreferenceFixture {
public:
    static constexpr int kUserId = 42;
    static constexpr int kPartitionId = 5;
    static constexpr int kNoPartition = -1; // how the procedures store "no partition"

    explicit PreferenceFixture(bool partitionMode = false)
        : store(db.connection(),
                common::PreferenceScope{QString::number(kUserId), kPartitionId, partitionMode}) {
        store.setStatementObserver([this](const QString& statement) { statements << statement; });
    }
    PreferenceFixture(const PreferenceFixture&) = delete;
    PreferenceFixture& operator=(const PreferenceFixture&) = delete;

    void put(int userId, const QString& key, const QString& value, int partitionId = kNoPartition) {
        db.exec(QStringLiteral("INSERT INTO Incentive_preference"
                               " (user_id, pref_type, pref_key, pref_value, partition_id)"
                               " VALUES (%1, 4, '%2', '%3', %4)")
                    .arg(userId)
                    .arg(key, value)
                    .arg(partitionId));
    }

    std::optional<QString> stored(int userId, const QString& key, int partitionId = kNoPartition) {
        db::Recordset rs = db.connection().openRecordset(
            QStringLiteral("SELECT pref_value FROM Incentive_preference WHERE user_id = %1"
                           " AND pref_key = '%2' AND partition_id = %3")
                .arg(userId)
                .arg(key)
                .arg(partitionId));
        if (rs.eof())
            return std::nullopt;
        return rs.value(0).toString();
    }

    int rowCount() {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Incentive_preference")).toInt();
    }

    TestDatabase db;
    common::PreferenceStore store;
    QStringList statements;
};

} // namespace velora::test
