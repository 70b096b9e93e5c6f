#pragma once

#include "catalogue/User.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "db/SqliteEngine.h"
#include "detail/DetailContext.h"
#include "detail/UserDetailPane.h"
#include "detail/WeekLoader.h"
#include "detail/WeekNavigator.h"
#include "detail/WeekSaver.h"
#include "suite/HXLoginUser.h"
#include "suite/HXRegion.h"
#include "widgets/VeloraDatePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace velora::test {

// The weekly detail as the main window assembles it - pane, loader, saver and navigator over
// one week buffer - on a fresh database: user o'neil (group 21) with accounts 10 and 11, the
// explorer's selection on account 10, weeks from Sunday 4 November 2012, hour mode 2 and every
// right of the grid. Recalculations are recorded and answered with recalcOutcome.
struct DetailFixture {
    using ValueKind = detail::ValueKind;

    static inline const QDate kStart{2012, 11, 4};
    static inline const std::set<int> kAllRights{18, 19, 22, 23, 45};

    explicit DetailFixture(const char* locale = "en_US", std::set<int> rights = kAllRights)
        : region(QLocale(QString::fromLatin1(locale)))
        , login(suite::SuiteUserRecord{}, std::move(rights), QString()) {
        groups.addItem(QStringLiteral("North Standard"), 20);
        groups.addItem(QStringLiteral("North Alpha"), 21);
        exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, "
                            "incentive_group_id) VALUES ('o''neil', 'Kate', 'O''Neil', 21), "
                            "('ghost', 'Gil', 'Ghost', 99)"));
        saver.bindButtons();
        navigator.bindStartDate();
        navigator.bindButtons();
        pane.startDate()->setRegionalFormat(region.DateFormat(), 1);
        pane.startDate()->setText(region.formatDate(kStart));
    }

    void exec(const QString& statement) {
        db.connection().ensureOpen();
        db.exec(statement);
    }
    // A Trans_incentive row of o'neil on start + day; columns and values as extra pieces.
    void row(int day, const QString& columns = {}, const QString& values = {}, int account = 10) {
        exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date%1) "
                            "VALUES ('o''neil', %2, '%3'%4)")
                 .arg(columns.isEmpty() ? QString() : QStringLiteral(", ") + columns)
                 .arg(account)
                 .arg(kStart.addDays(day).toString(Qt::ISODate))
                 .arg(values.isEmpty() ? QString() : QStringLiteral(", ") + values));
    }
    void activity(int day, int seconds, int workType = 1, int updateType = 9) {
        exec(QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                            "work_type, update_type, count_activity) VALUES ('o''neil', '%1', "
                            "%2, %3, %4, 1)")
                 .arg(kStart.addDays(day).toString(Qt::ISODate))
                 .arg(seconds)
                 .arg(workType)
                 .arg(updateType));
    }

    // The explorer's click on an account of o'neil for the week from start.
    void load(const QString& account = QStringLiteral("10"), const QDate& start = kStart) {
        selection.accountID = account;
        pane.startDate()->setText(region.formatDate(start));
        loader.LoadWeek(selection.transID, selection.userName, selection.accountName, account);
    }

    QLineEdit* cell(ValueKind kind, int row) const { return pane.cell(kind, row); }
    QString text(ValueKind kind, int row) const { return cell(kind, row)->text(); }
    void type(ValueKind kind, int row, const QString& value) { cell(kind, row)->setText(value); }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (ValueKind kind : detail::kValueKinds)
            texts << text(kind, row);
        return texts;
    }
    bool blue(ValueKind kind, int row) const {
        return cell(kind, row)->palette().color(QPalette::Active, QPalette::Text) ==
               QColor(0, 0, 255);
    }
    QList<bool> enabled(int row) const {
        QList<bool> states;
        for (ValueKind kind : detail::kValueKinds)
            states << cell(kind, row)->isEnabled();
        return states;
    }

    // A column of o'neil's account-10 row on start + day ("" when there is no row).
    QString column(const QString& name, int day) {
        db.connection().ensureOpen();
        return db.scalar(QStringLiteral("SELECT ") + name +
                         QStringLiteral(" FROM Trans_incentive WHERE trans_id = 'o''neil' AND "
                                        "hosp_acct_id = 10 AND shift_date = '") +
                         kStart.addDays(day).toString(Qt::ISODate) + QLatin1Char('\''));
    }
    int rowCount() {
        db.connection().ensureOpen();
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive")).toInt();
    }

    // Every INSERT and UPDATE that reaches Trans_incentive from here on, in order.
    void countWrites() {
        db.connection().ensureOpen();
        static_cast<db::SqliteEngine*>(db.connection().engine())
            ->executeNative(
                QStringLiteral("CREATE TABLE Write_log (kind TEXT);"
                               "CREATE TRIGGER log_insert AFTER INSERT ON Trans_incentive BEGIN "
                               "INSERT INTO Write_log VALUES ('insert'); END;"
                               "CREATE TRIGGER log_update AFTER UPDATE ON Trans_incentive BEGIN "
                               "INSERT INTO Write_log VALUES ('update'); END;"));
    }
    QString writes() {
        db.connection().ensureOpen();
        QStringList kinds;
        for (db::Recordset rs = db.connection().openRecordset(
                 QStringLiteral("SELECT kind FROM Write_log ORDER BY rowid"));
             !rs.eof(); rs.moveNext())
            kinds << rs.text(QStringLiteral("kind"));
        return kinds.join(QLatin1Char(' '));
    }

    TestDatabase db;
    suite::HXRegion region;
    suite::HXLoginUser login;
    ScriptedMessages messages;
    detail::UserDetailPane pane;
    QComboBox groups;
    detail::WeekBuffer week{};
    std::shared_ptr<catalogue::User> currentUser;
    int hourMode = 2;
    int firstDay = 1;
    detail::CurrentSelection selection{QStringLiteral("o'neil"), QStringLiteral("Kate O'Neil"),
                                       QStringLiteral("Mercy"), QStringLiteral("10")};
    int busy = 0;  // BeginBusy less EndBusy
    int shown = 0; // loads that showed the pane
    QStringList recalculations;
    recalc::RecalcOutcome recalcOutcome;
    std::function<bool(const QString&, QString&, int, QString&, QString&, bool)> editWorkTime =
        [](const QString&, QString&, int, QString&, QString&, bool) { return false; };

    detail::DetailContext context{db.connection(),
                                  region,
                                  [this] { return &login; },
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
                                  [this] { ++shown; }};
    detail::WeekSaver saver{
        context,
        {[this](const QString& transID, const QString& userName, const QString& accountName,
                const QString& accountID) {
             loader.ReloadWeek(transID, userName, accountName, accountID);
         },
         [this](const QString& filter) {
             recalculations << filter;
             return recalcOutcome;
         },
         [this](const QString& date, QString& transID, int unused, QString& hours, QString& second,
                bool flag) { return editWorkTime(date, transID, unused, hours, second, flag); }}};
    detail::WeekLoader loader{context, [this] { return saver.SaveWeek(); }};
    detail::WeekNavigator navigator{context,
                                    [this](const QString& transID, const QString& userName,
                                           const QString& accountName, const QString& accountID) {
                                        loader.LoadWeek(transID, userName, accountName, accountID);
                                    }};
};

} // namespace velora::test
