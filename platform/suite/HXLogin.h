#pragma once

#include "HXLoginUser.h"
#include "LoginPrompt.h"
#include "WorkTimePrompt.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace velora::db {
class Connection;
}

namespace velora::suite {

// The suite's login component (HXLogin.HXLoginClass). Users, their rights and the database
// version live in the suite's tables of the program's database, reached through the
// program's own connection: the component opens it when it is closed and closes it again
// afterwards, so the caller finds it as it left it.
//
// Login and AutoLogin return LoginCode values. Five wrong passwords in a row lock a user out
// (the fifth and every later attempt give LockedOut until an administrator sets a new password
// or enables the user); a right password ends the run. Each check is claimed in the database
// before the password is looked at, so attempts made at once from several workstations cannot
// check more than five passwords in a row between them.
class HXLogin {
public:
    static constexpr int kLockoutThreshold = 5;
    // Attempts the dialog offers when Login is asked to allow retries.
    static constexpr int kDialogAttempts = 3;

    // connectionString: what the connection is opened with when it is closed; empty uses the
    // string the connection was first opened with.
    explicit HXLogin(db::Connection& connection, QString connectionString = {});
    ~HXLogin();
    HXLogin(const HXLogin&) = delete;
    HXLogin& operator=(const HXLogin&) = delete;

    // Properties the program sets before the login; each reads back what was set.
    bool AllowOnlyTranscriptionists() const { return allowOnlyTranscriptionists_; }
    void setAllowOnlyTranscriptionists(bool value) { allowOnlyTranscriptionists_ = value; }
    QString ApplicationName() const { return applicationName_; }
    void setApplicationName(const QString& value) { applicationName_ = value; }
    QString ApplicationVersion() const { return applicationVersion_; }
    void setApplicationVersion(const QString& value) { applicationVersion_ = value; }
    bool AutoLogoff() const { return autoLogoff_; }
    void setAutoLogoff(bool value) { autoLogoff_ = value; }
    QString SqlUserName() const { return sqlUserName_; }
    void setSqlUserName(const QString& value) { sqlUserName_ = value; }
    QString SQLPassword() const { return sqlPassword_; }
    void setSQLPassword(const QString& value) { sqlPassword_ = value; }
    QString odbcsource() const { return odbcSource_; }
    void setOdbcsource(const QString& value) { odbcSource_ = value; }
    QString SqlDbName() const { return sqlDbName_; }
    void setSqlDbName(const QString& value) { sqlDbName_ = value; }
    QString SqlServerName() const { return sqlServerName_; }
    void setSqlServerName(const QString& value) { sqlServerName_ = value; }
    QString HalvexINIFileName() const { return halvexIniFileName_; }
    void setHalvexINIFileName(const QString& value) { halvexIniFileName_ = value; }
    bool UseOfflineDB() const { return useOfflineDb_; }
    void setUseOfflineDB(bool value) { useOfflineDb_ = value; }

    // The component's version, compared by callers as text.
    QString Version() const { return QStringLiteral("2.026"); }

    // Asks for a name and password (starting with userName) and logs in. With allowRetry the
    // dialog comes back after an unknown name or a wrong password, up to kDialogAttempts times
    // in all; the code of the last attempt is returned. Cancel gives LoginCode::Cancelled.
    // applicationId is the suite's number of the calling program; one program uses this
    // component, so it does not change what the login does.
    int Login(const QString& userName, int applicationId, bool allowRetry);
    // Logs in without a dialog. The flag is part of the suite's call; with no one to ask again
    // it has no effect here.
    int AutoLogin(const QString& userName, const QString& password, bool allowRetry,
                  int applicationId);

    // Suite_info 'DatabaseVersion' as stored (text, so the caller sees a value that is not a
    // number); an invalid QVariant when the row is missing.
    QVariant DatabaseVersion();

    // The logged-in user; nullptr before a successful login and after Logoff.
    const HXLoginUser* User() const { return user_.get(); }
    void Logoff() { user_.reset(); }

    // Replaces the dialog (tests answer at once instead of showing it).
    void setPrompt(LoginPrompt prompt) { prompt_ = std::move(prompt); }
    // Whether a password matches a stored hash; PasswordHash::verify unless replaced (tests
    // hold checks in flight to see how many run at once).
    using PasswordCheck = std::function<bool(const QString& storedHash, const QString& password)>;
    void setPasswordCheck(PasswordCheck check) { passwordCheck_ = std::move(check); }

    // The work-time dialog for a user's day (dateText in the regional form or YYYY-MM-DD):
    // shows the day's activity rows and its total of system hours, and on OK replaces the day's
    // system-time rows (work type 1, update type 9) by one row holding the new total. Returns
    // true with the new total in hours (regional, as the grid shows it) and in seconds; false
    // when cancelled, and then changes nothing. The third argument is part of the suite's call
    // and unused; editable false shows the day without letting the total change. Throws
    // SuiteError for a date that is not one and DbError for the database.
    bool EditWorkTimeInternal(const QString& dateText, QString& transID, int unused, QString& hours,
                              QString& seconds, bool editable);
    // Replaces the work-time dialog (tests answer at once instead of showing it).
    void setWorkTimePrompt(WorkTimePrompt prompt) { workTimePrompt_ = std::move(prompt); }

private:
    int attempt(const QString& userName, const QString& password);
    static bool mayRetry(int code);
    static QString retryMessage(int code);

    db::Connection& connection_;
    QString connectionString_;
    LoginPrompt prompt_;
    WorkTimePrompt workTimePrompt_;
    PasswordCheck passwordCheck_;
    std::unique_ptr<HXLoginUser> user_;

    bool allowOnlyTranscriptionists_ = false;
    QString applicationName_;
    QString applicationVersion_;
    bool autoLogoff_ = false;
    QString sqlUserName_;
    QString sqlPassword_;
    QString odbcSource_;
    QString sqlDbName_;
    QString sqlServerName_;
    QString halvexIniFileName_;
    bool useOfflineDb_ = false;
};

} // namespace velora::suite
