#pragma once

#include "catalogue/User.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "db/SqliteEngine.h"
#include "detail/DetailContext.h"
#include "detail/UserDetailPane.h"
#include "suite/HXRegion.h"
#include "widgets/VeloraDatePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>

namespace velora::test {

// A weekly detail pane on a fresh database with the week of Sunday 3 March 2024 on screen, as a
// load leaves it: user O'Neil, account 12, hour mode 2, weeks starting on Sunday. Loads are
// recorded, not run, so a test sees exactly what a save or a revert asked for.
struct DetailFixture {
    struct Load {
        QString transID;
        QString userName;
        QString accountName;
        QString accountID;
    };

    TestDatabase db;
    suite::HXRegion region{QLocale(QStringLiteral("en_US"))};
    ScriptedMessages messages;
    detail::UserDetailPane pane;
    QComboBox groups;
    detail::WeekBuffer week{};
    std::shared_ptr<catalogue::User> currentUser;
    int hourMode = 2;
    int firstDay = 1;
    detail::CurrentSelection selection{QStringLiteral("O'Neil"), QStringLiteral("Kate O'Neil"),
                                       QStringLiteral("Acme Clinic"), QStringLiteral("12")};
    int busy = 0;
    QList<Load> loads;
    detail::DetailContext context{db.connection(),
                                  region,
                                  [] { return nullptr; },
                                  messages,
                                  pane,
                                  groups,
                                  week,
                                  currentUser,
                                  [this] { return hourMode; },
                                  [this] { return firstDay; },
                                  [this] { return selection; },
                                  [this] { ++busy; },
                                  [this] { --busy; },
                                  [] {}};

    static inline const QDate kStart{2024, 3, 3};

    DetailFixture() {
        pane.startDate()->setText(region.formatDate(kStart));
        pane.userName()->setText(selection.userName);
        pane.accountName()->setText(selection.accountName);
        for (int d = 0; d < detail::kDayRows; ++d)
            fillDay(d, {}, false);
    }

    auto loadRecorder() {
        return [this](const QString& transID, const QString& userName, const QString& accountName,
                      const QString& accountID) {
            loads.append({transID, userName, accountName, accountID});
        };
    }

    // Day d as a load fills it: values (reports, hours, char lines, true lines, IHours, ITyped,
    // IPay) as current and collected, cells showing the current values.
    void fillDay(int d, const std::array<float, 7>& values, bool stored) {
        detail::DayRecord& record = week[static_cast<std::size_t>(d)];
        record.TransID = selection.transID;
        record.AccountID = selection.accountID.toInt();
        record.ShiftDate = kStart.addDays(d);
        record.Editable = true;
        record.Stored = stored;
        for (std::size_t i = 0; i < 7; ++i) {
            record.values[i] = {values[i], values[i]};
            const bool fixed = i >= 4;
            cell(detail::kValueKinds[i], d)
                ->setText(fixed ? QString::number(static_cast<double>(values[i]), 'f', 2)
                                : QString::number(static_cast<double>(values[i])));
        }
        pane.workDate(d)->setText(region.formatDate(record.ShiftDate));
    }

    QLineEdit* cell(detail::ValueKind kind, int row) { return pane.cell(kind, row); }
    void type(detail::ValueKind kind, int row, const QString& text) {
        cell(kind, row)->setText(text);
    }

    // A stored Trans_incentive row of the user's account on day d.
    void storeRow(int d, const QString& columns = {}, const QString& values = {}) {
        db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date") +
                (columns.isEmpty() ? QString() : QStringLiteral(", ") + columns) +
                QStringLiteral(") VALUES ('O''Neil', 12, '") +
                kStart.addDays(d).toString(Qt::ISODate) + QLatin1Char('\'') +
                (values.isEmpty() ? QString() : QStringLiteral(", ") + values) + QLatin1Char(')'));
    }

    QString column(const QString& name, int d) {
        db.connection().ensureOpen();
        return db.scalar(QStringLiteral("SELECT ") + name +
                         QStringLiteral(" FROM Trans_incentive WHERE trans_id = 'O''Neil' AND "
                                        "shift_date = '") +
                         kStart.addDays(d).toString(Qt::ISODate) + QLatin1Char('\''));
    }
    int rowCount() {
        db.connection().ensureOpen();
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive")).toInt();
    }

    // Every INSERT and UPDATE that reaches Trans_incentive is counted by triggers of the file.
    void countStatements() {
        db.connection().ensureOpen();
        auto* engine = static_cast<db::SqliteEngine*>(db.connection().engine());
        engine->executeNative(
            QStringLiteral("CREATE TABLE Write_log (kind TEXT);"
                           "CREATE TRIGGER log_insert AFTER INSERT ON Trans_incentive BEGIN "
                           "INSERT INTO Write_log VALUES ('insert'); END;"
                           "CREATE TRIGGER log_update AFTER UPDATE ON Trans_incentive BEGIN "
                           "INSERT INTO Write_log VALUES ('update'); END;"));
    }
    QString writes() {
        db.connection().ensureOpen();
        db::Recordset rs = db.connection().openRecordset(
            QStringLiteral("SELECT kind FROM Write_log ORDER BY rowid"));
        QStringList kinds;
        for (; !rs.eof(); rs.moveNext())
            kinds << rs.text(QStringLiteral("kind"));
        return kinds.join(QLatin1Char(' '));
    }
};

} // namespace velora::test
