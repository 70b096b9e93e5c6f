#include "RecalcScope.h"

#include "db/Connection.h"
#include "db/SqliteFunctions.h"

namespace velora::engine {

QString RecalcScope::userCondition(const RecalcRequest& request) {
    QString condition = QStringLiteral("SELECT Trans_info.trans_id FROM Trans_info "
                                       "WHERE Trans_info.trans_type = 1");
    if (!request.isFullRun())
        condition += QStringLiteral(" AND (") + request.filter + QLatin1Char(')');
    return condition;
}

RecalcScope RecalcScope::load(db::Connection& connection, const RecalcRequest& request) {
    QString statement = QStringLiteral(
        "SELECT Trans_info.trans_id, Trans_info.incentive_group_id, Trans_info.extra3 "
        "FROM Trans_info WHERE Trans_info.trans_type = 1");
    if (!request.isFullRun())
        statement += QStringLiteral(" AND (") + request.filter + QLatin1Char(')');
    RecalcScope scope;
    for (db::Recordset rs = connection.openRecordset(statement); !rs.eof(); rs.moveNext()) {
        User user;
        user.transId = rs.value(0).toString();
        user.groupId = rs.value(1).isNull() ? -1 : rs.value(1).toInt();
        user.partitionId = rs.value(2).isNull() ? -1 : rs.value(2).toInt();
        const QByteArray utf8 = user.transId.toUtf8();
        std::string key;
        db::foldTextCi(utf8.constData(), static_cast<int>(utf8.size()), key);
        scope.users_.emplace(std::move(key), std::move(user));
    }
    return scope;
}

const RecalcScope::User* RecalcScope::find(const char* transId, int length) {
    db::foldTextCi(transId, length, buffer_);
    const auto it = users_.find(buffer_);
    return it == users_.end() ? nullptr : &it->second;
}

const RecalcScope::User* RecalcScope::find(const QString& transId) {
    const QByteArray utf8 = transId.toUtf8();
    return find(utf8.constData(), static_cast<int>(utf8.size()));
}

} // namespace velora::engine
