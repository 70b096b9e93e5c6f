#pragma once

#include <QString>

namespace velora::suite {

// One row of Suite_user as the login reads it. A NULL trans_id reads as a null text.
struct SuiteUserRecord {
    int userId = 0;
    QString userName;
    QString passwordHash;
    QString transId;
    int partitionId = 0;
    QString firstName;
    QString lastName;
    bool isAdministrator = false;
    bool isDisabled = false;
    int failedLogins = 0;
    bool isLockedOut = false;

    bool hasTransId() const { return !transId.trimmed().isEmpty(); }
};

// What a new login is made from; the password is given in plain text and stored as its hash.
struct NewSuiteUser {
    QString userName;
    QString password;
    QString transId; // empty: none (stored as NULL)
    int partitionId = 0;
    QString firstName;
    QString lastName;
    bool isAdministrator = false;
};

} // namespace velora::suite
