#include "HXLogin.h"

#include "HXRegion.h"
#include "LoginCode.h"
#include "LoginDialog.h"
#include "PasswordHash.h"
#include "SuiteError.h"
#include "SuiteUserStore.h"
#include "WorkTimeDialog.h"
#include "WorkTimeEditor.h"

#include "db/Connection.h"

namespace velora::suite {

namespace {

// Opens the shared connection for one operation when it is closed and closes it again
// afterwards; an open connection is left open.
class ConnectionUse {
public:
    ConnectionUse(db::Connection& connection, const QString& connectionString)
        : connection_(connection) {
        if (!connection_.isOpen()) {
            connection_.open(connectionString);
            openedHere_ = true;
        }
    }
    ~ConnectionUse() {
        if (openedHere_)
            connection_.close();
    }
    ConnectionUse(const ConnectionUse&) = delete;
    ConnectionUse& operator=(const ConnectionUse&) = delete;

private:
    db::Connection& connection_;
    bool openedHere_ = false;
};

} // namespace

HXLogin::HXLogin(db::Connection& connection, QString connectionString)
    : connection_(connection)
    , connectionString_(std::move(connectionString))
    , prompt_(&LoginDialog::prompt)
    , workTimePrompt_(&WorkTimeDialog::prompt)
    , passwordCheck_(&PasswordHash::verify) {}

HXLogin::~HXLogin() = default;

int HXLogin::Login(const QString& userName, int /*applicationId*/, bool allowRetry) {
    LoginPromptRequest request{applicationName_, userName, {}};
    const int attempts = allowRetry ? kDialogAttempts : 1;
    int code = LoginCode::Cancelled;
    for (int i = 0; i < attempts; ++i) {
        const std::optional<LoginCredentials> credentials = prompt_(request);
        if (!credentials)
            return LoginCode::Cancelled;
        code = attempt(credentials->userName, credentials->password);
        if (!mayRetry(code))
            return code;
        request.userName = credentials->userName;
        request.message = retryMessage(code);
    }
    return code;
}

int HXLogin::AutoLogin(const QString& userName, const QString& password, bool /*allowRetry*/,
                       int /*applicationId*/) {
    return attempt(userName, password);
}

int HXLogin::attempt(const QString& userName, const QString& password) {
    user_.reset();
    ConnectionUse use(connection_, connectionString_);
    SuiteUserStore store(connection_);
    const std::optional<SuiteUserRecord> record = store.find(userName);
    if (!record)
        return LoginCode::UnknownUser;
    // A disabled or locked-out login is refused before its password is looked at, so that
    // guessing cannot go on against it.
    if (record->isDisabled)
        return LoginCode::Disabled;
    if (record->isLockedOut || !store.claimPasswordCheck(record->userId, kLockoutThreshold))
        return LoginCode::LockedOut;
    if (!passwordCheck_(record->passwordHash, password))
        return store.lockOutWhenExhausted(record->userId, kLockoutThreshold)
                   ? LoginCode::LockedOut
                   : LoginCode::WrongPassword;
    store.resetFailedLogins(record->userId);
    if (allowOnlyTranscriptionists_ && !record->hasTransId())
        return LoginCode::NotTranscriptionist;
    user_ = std::make_unique<HXLoginUser>(*record, store.privileges(record->userId), password);
    return LoginCode::Ok;
}

bool HXLogin::mayRetry(int code) {
    return code == LoginCode::UnknownUser || code == LoginCode::WrongPassword;
}

QString HXLogin::retryMessage(int code) {
    return code == LoginCode::WrongPassword ? QStringLiteral("The password is invalid.")
                                            : QStringLiteral("The login failed.");
}

QVariant HXLogin::DatabaseVersion() {
    ConnectionUse use(connection_, connectionString_);
    db::Recordset row = connection_.openRecordset(
        QStringLiteral("SELECT info_value FROM Suite_info WHERE info_key = 'DatabaseVersion'"));
    return row.eof() ? QVariant() : row.value(0);
}

bool HXLogin::EditWorkTimeInternal(const QString& dateText, QString& transID, int /*unused*/,
                                   QString& hours, QString& seconds, bool editable) {
    const HXRegion region;
    const QDate day = region.parseDate(dateText);
    if (!day.isValid())
        throw SuiteError(SuiteErrorNumber::TypeMismatch,
                         QStringLiteral("Type mismatch: \"%1\" is not a date.").arg(dateText));
    ConnectionUse use(connection_, connectionString_);
    WorkTimeEditor editor(connection_);
    WorkTimeRequest request;
    request.transID = transID;
    request.day = day;
    request.dateText = dateText;
    request.activities = editor.activities(transID, day);
    request.systemSeconds = WorkTimeEditor::systemSeconds(request.activities);
    request.editable = editable;
    request.locale = region.locale();
    const std::optional<int> answer = workTimePrompt_(request);
    if (!answer || !editable)
        return false;
    editor.replaceSystemTime(transID, day, *answer);
    hours = WorkTimeEditor::hoursText(*answer, region.locale());
    seconds = QString::number(*answer);
    return true;
}

} // namespace velora::suite
