#include "DateAnswerer.h"
#include "ShellInstallation.h"
#include "TestPaths.h"
#include "common/DetailArea.h"
#include "common/TestMain.h"
#include "detail/UserDetailPane.h"
#include "detail/UserHeaderPane.h"
#include "detail/UserPanes.h"
#include "detail/WeekNavigator.h"
#include "engine/UpdateEngine.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "formulas/FormulaPane.h"
#include "formulas/FormulaPanes.h"
#include "formulas/FormulaTextEdit.h"
#include "groups/FindListIndexByItemData.h"
#include "groups/GroupAccountPane.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "suite/vEzoziVi.h"
#include "widgets/VeloraDatePicker.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>
#include <cstdlib>
#include <functional>

using velora::common::MessageAnswer;
using velora::common::MessageButtons;
using velora::common::MessageIcon;
using velora::detail::kWeekTotalRow;
using velora::detail::ValueKind;
using velora::explorer::ExplorerKeys;
using velora::shell::MainWindow;
using velora::test::DateAnswerer;
using velora::test::ShellInstallation;

namespace {

const QString kTransID = QStringLiteral("ann");
const QString kAccountID = QStringLiteral("5");
constexpr int kLockedDays = 2; // days 0 and 1 of the week are final
constexpr int kEditedDay = 3;  // an unlocked day the operator corrects
constexpr double kLockedPay = 7.5;
// The corrected lines of the edited day (its collected lines are 130).
const QString kCorrectedLines =
    QStringLiteral("SELECT lines_modified FROM Trans_incentive WHERE lines = 130");

// The lines collected for a day of the week: 100, 110, ... 160.
int collectedLines(int day) {
    return 100 + 10 * day;
}

// A user in a group whose default-account formula pays ten cents a line, and one account
// with a row on each day of the week the window opens on. The first days are locked with a
// pay no formula would give, so a recalculation that touched them would show.
void seedWeek(ShellInstallation& installation, const QDate& start) {
    auto& db = installation.db;
    db.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, trans_type, "
                           "incentive_group_id) VALUES ('ann', 'Ann', 'Lee', 1, 2)"));
    db.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name) VALUES "
                           "(5, 'General Hospital')"));
    // The formula's lines are separated as the formula editor stores them.
    db.exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                           "formula_text, incentive_effective_date) VALUES (2, 'Line Rate', "
                           "'Results.ILines = Lines\r\nResults.IHours = 0\r\n"
                           "Results.IPay = Lines * 0.1', '1980-01-01')"));
    db.exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, "
                           "incentive_effective_date) VALUES (2, 'Line Group', '1980-01-01')"));
    db.exec(QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                           "typed_formula_id, hours_worked_formula_id, pay_formula_id) VALUES "
                           "(2, -1, 2, 2, 2)"));
    for (int day = 0; day < 7; ++day) {
        const bool locked = day < kLockedDays;
        const QString lines = QString::number(collectedLines(day));
        const QString pay = locked ? QString::number(kLockedPay) : QStringLiteral("0");
        db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                               "locked, lines, lines_modified, incent_pay, incent_pay_modified) "
                               "VALUES ('ann', 5, '") +
                start.addDays(day).toString(Qt::ISODate) + QStringLiteral("', ") +
                (locked ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral(", ") +
                lines + QStringLiteral(", ") + lines + QStringLiteral(", ") + pay +
                QStringLiteral(", ") + pay + QLatin1Char(')'));
    }
}

// The seeded installation, the program started on it and the operator on the user's account,
// with the start-up recalculation done so its completion cannot land in the middle of a test.
// `setup` runs on the seeded database before the program starts.
struct OpenWeek {
    explicit OpenWeek(const QString& moreSwitches = QString(), const QString& setup = QString())
        : context(installation.context())
        , window(*context) {
        seedWeek(installation, start);
        if (!setup.isEmpty())
            installation.db.exec(setup);
        installation.switches = QStringLiteral("/UNAME=sup /PASSWORD=pw") + moreSwitches;
        if (!window.load())
            return;
        window.show();
        QSignalSpy completions(context->engine.get(),
                               &velora::engine::UpdateEngine::OnUpdateComplete);
        if (!completions.wait(30000))
            return;
        window.explorer().ClickNode(
            velora::explorer::ExplorerKeys::UserAccount(kTransID, kAccountID));
        ready = !pane().isHidden();
    }
    velora::detail::UserDetailPane& pane() { return window.userPanes()->detailPane(); }
    QString lockedDays() {
        return installation.db.scalar(
            QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE locked = 1"));
    }

    // Another workstation holds the database locked until the returned connection ends its
    // transaction; the window's statements give up after 50 ms instead of waiting. The save's
    // failure is acknowledged and the question after it gets `answer`.
    std::unique_ptr<velora::db::Connection> lockDatabase(MessageAnswer answer) {
        installation.messages.queue(MessageAnswer::Ok);
        installation.messages.queue(answer);
        velora::db::ConnectionOptions impatient = context->connection->options();
        impatient.busyTimeoutMs = 50;
        context->connection->setOptions(impatient);
        auto other = installation.db.openAnother();
        other->beginTransaction();
        return other;
    }

    ShellInstallation installation;
    const QDate start = MainWindow::lastWeekStartBefore(QDate::currentDate(), 1);
    std::unique_ptr<velora::common::AppContext> context;
    MainWindow window;
    bool ready = false;
};

// Runs `action` with every prompt dialog it opens answered by `answer`; returns the prompts.
QStringList answering(const QString& answer, const std::function<void()>& action) {
    DateAnswerer answerer(answer);
    action();
    return answerer.prompts;
}

// Whether 9,999,999.99 fits inside a cell's frame and margins (QLineEdit keeps 2 pixels free on
// each side of its text and 1 for the cursor).
bool showsTheWidestValue(const QLineEdit& cell) {
    const int frame = cell.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &cell);
    const QMargins margins = cell.textMargins();
    const int needed = QFontMetrics(cell.font()).horizontalAdvance(QStringLiteral("9999999.99")) +
                       2 * (frame + 2) + 1 + margins.left() + margins.right();
    return needed <= cell.contentsRect().width();
}

} // namespace

class TestTypicalRequest : public QObject {
    Q_OBJECT

    static QString exchangeFile(const OpenWeek& open) {
        return QDir(velora::suite::vEzoziVi::TempFolder(open.context->configurationPath))
            .filePath(QStringLiteral("FORMULA.TXT"));
    }

    // File > Create Formula with the wizard offered and taken, the effective date five days
    // into the seeded week.
    static void runCreateFormula(OpenWeek& open) {
        open.context->preferences.enableFormulaWizard = true;
        open.installation.messages.queue(MessageAnswer::Yes); // use the wizard
        DateAnswerer answerer(open.context->region->formatDate(open.start.addDays(5)));
        open.window.findChild<QAction*>(QStringLiteral("mnuFileCreateFormula"))->trigger();
    }

private Q_SLOTS:
    // The operator opens a user's account, corrects a day's true lines and saves with a
    // recalculation: the row, the engine's new pay and the reloaded grid must all agree.
    void correctedLinesAreSavedRecalculatedAndShown() {
        OpenWeek open; // after the start-up recalculation
        QVERIFY(open.ready);
        ShellInstallation& installation = open.installation;
        const QDate start = open.start;
        MainWindow& window = open.window;
        QSignalSpy completions(open.context->engine.get(),
                               &velora::engine::UpdateEngine::OnUpdateComplete);
        velora::detail::UserDetailPane& pane = open.pane();
        // The start-up run priced the unlocked days; the locked ones kept their pay.
        QCOMPARE(pane.cell(ValueKind::IPay, kEditedDay)->text(), QStringLiteral("13.00"));
        QCOMPARE(pane.cell(ValueKind::IPay, kWeekTotalRow)->text(), QStringLiteral("85.00"));
        for (ValueKind kind : velora::detail::kValueKinds)
            QVERIFY(!pane.cell(kind, 0)->isEnabled());
        QVERIFY(pane.cell(ValueKind::TrueLines, kEditedDay)->isEnabled());

        installation.messages.queue(MessageAnswer::Yes);
        pane.cell(ValueKind::TrueLines, kEditedDay)->setText(QStringLiteral("250"));
        pane.saveChanges()->click();
        QCOMPARE(installation.messages.shown.size(), 1);
        const auto& question = installation.messages.shown[0];
        QCOMPARE(question.text, QStringLiteral("Do you wish to recalculate now?"));
        QCOMPARE(question.title, QStringLiteral("Velora Incentive"));
        QVERIFY(question.icon == MessageIcon::Question);
        QVERIFY(question.buttons == MessageButtons::YesNo);
        // The window stays busy until the engine's completion reloads the week. BeginBusy
        // lets pending events run, so the completion may already have come during the click.
        QTRY_COMPARE(completions.count(), 1);
        QTRY_VERIFY(!window.busy().isBusy());

        const QString row = QStringLiteral(" FROM Trans_incentive WHERE trans_id = 'ann' AND "
                                           "shift_date = '") +
                            start.addDays(kEditedDay).toString(Qt::ISODate) + QLatin1Char('\'');
        auto& db = installation.db;
        QCOMPARE(db.scalar(QStringLiteral("SELECT lines_modified") + row).toDouble(), 250.0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT lines") + row).toDouble(),
                 double(collectedLines(kEditedDay)));
        QCOMPARE(db.scalar(QStringLiteral("SELECT incent_pay_modified") + row).toDouble(), 25.0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT incent_pay FROM Trans_incentive WHERE "
                                          "locked = 1 AND shift_date = '") +
                           start.toString(Qt::ISODate) + QLatin1Char('\''))
                     .toDouble(),
                 kLockedPay);

        QCOMPARE(pane.cell(ValueKind::IPay, kEditedDay)->text(), QStringLiteral("25.00"));
        QCOMPARE(pane.cell(ValueKind::TrueLines, kEditedDay)->text(), QStringLiteral("250"));
        // Lines differ from what was collected (a correction, blue); the pay is the engine's
        // own value in both columns (black).
        QCOMPARE(pane.cell(ValueKind::TrueLines, kEditedDay)->palette().color(QPalette::Text),
                 QColor(0, 0, 255));
        QCOMPARE(pane.cell(ValueKind::IPay, kEditedDay)->palette().color(QPalette::Text),
                 QColor(0, 0, 0));
        // 7.50 + 7.50 + 12 + 25 + 14 + 15 + 16
        QCOMPARE(pane.cell(ValueKind::IPay, kWeekTotalRow)->text(), QStringLiteral("97.00"));
        QCOMPARE(installation.messages.shown.size(), 1); // no error on the way
    }

    // In the assembled window every cell of the grid has room for its whole value, lies within
    // the pane and the details area, and no cell covers its neighbour; the grid grows with the
    // window.
    void everyCellShowsItsWholeValue() {
        OpenWeek open;
        QVERIFY(open.ready);
        QWidget& details = open.window.details();
        // A larger window gives the grid more room, which its columns share.
        QLineEdit* reports = open.pane().cell(ValueKind::Reports, 0);
        const int narrow = reports->width();
        open.window.resize(open.window.width() + 350, open.window.height() + 100);
        QTRY_VERIFY(reports->width() >= narrow + 350 / 7 - 2);
        QVERIFY(std::abs(open.pane().cell(ValueKind::IPay, 0)->width() - reports->width()) <= 1);
        QCOMPARE(open.window.details().pane(velora::common::DetailArea::Pane::UserDetail)->size(),
                 details.size());
        for (int row = 0; row < velora::detail::kGridRows; ++row) {
            int right = 0;
            for (ValueKind kind : velora::detail::kValueKinds) {
                const QLineEdit* cell = open.pane().cell(kind, row);
                QVERIFY2(showsTheWidestValue(*cell), qPrintable(cell->objectName()));
                const QRect placed(cell->mapTo(&details, QPoint(0, 0)), cell->size());
                QVERIFY2(details.rect().contains(placed), qPrintable(cell->objectName()));
                QVERIFY2(placed.left() >= right, qPrintable(cell->objectName()));
                right = placed.right() + 1;
                if (kind == ValueKind::Hours && row < velora::detail::kDayRows)
                    right = open.pane().systemHours(row)->mapTo(&details, QPoint(0, 0)).x() +
                            open.pane().systemHours(row)->width();
            }
        }
    }

    // From the explorer, Tab reaches the start date, the week buttons and then the grid, which
    // it walks along each day and over what cannot be changed (the locked first days, the
    // activity-log hours whose button stands in for them); a value typed where
    // the keys led lands in that day and column only, and the window's keys save it and turn
    // the week.
    void theKeyboardWalksTheWeekAndSavesWhereItTyped() {
        OpenWeek open;
        QVERIFY(open.ready);
        velora::detail::UserDetailPane& pane = open.pane();
        open.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&open.window));
        const auto focused = [] { return QApplication::focusWidget()->objectName(); };
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        open.window.explorer().tree()->setFocus();
        QStringList walk;
        for (int i = 0; i < 13; ++i) {
            press(Qt::Key_Tab);
            walk << focused();
        }
        QCOMPARE(walk, (QStringList{"txtUserDetailStartDate", "cmdUserDetailCalendar",
                                    "cmdUserDetailPrevWeek", "cmdUserDetailNextWeek",
                                    "txtUserDetailNumberReports_2", "cmdUserDetailSystemHours_2",
                                    "txtUserDetailChars_2", "txtUserDetailLines_2",
                                    "txtUserDetailIHoursWorked_2", "txtUserDetailITyped_2",
                                    "txtUserDetailIPay_2", "txtUserDetailNumberReports_3",
                                    "cmdUserDetailSystemHours_3"}));
        press(Qt::Key_Tab, Qt::ShiftModifier);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        press(Qt::Key_Up); // day 2 is the first open day: Up stays
        QCOMPARE(focused(), QStringLiteral("txtUserDetailIPay_2"));
        press(Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("txtUserDetailIPay_3"));
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Left);
        QCOMPARE(focused(), QStringLiteral("txtUserDetailLines_3"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("250"));
        QCOMPARE(pane.cell(ValueKind::TrueLines, kEditedDay)->text(), QStringLiteral("250"));

        open.installation.messages.queue(MessageAnswer::No); // no recalculation
        press(Qt::Key_S, Qt::ControlModifier);
        auto& db = open.installation.db;
        QCOMPARE(db.scalar(kCorrectedLines), QStringLiteral("250"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE "
                                          "lines_modified <> lines")),
                 QStringLiteral("1"));

        const QString format = open.context->region->DateFormat();
        pane.cell(ValueKind::TrueLines, kEditedDay)->setFocus();
        press(Qt::Key_PageDown);
        QCOMPARE(pane.startDate()->Text(), open.start.addDays(7).toString(format));
        pane.cell(ValueKind::Reports, 0)->setFocus(); // an empty week is open everywhere
        press(Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(pane.startDate()->Text(), open.start.toString(format));
        QCOMPARE(pane.cell(ValueKind::TrueLines, kEditedDay)->text(), QStringLiteral("250"));
        // Shift+Tab from the first open cell leaves the grid rather than enter a locked day.
        pane.cell(ValueKind::Reports, kLockedDays)->setFocus();
        press(Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(!focused().contains(QLatin1String("_0")) &&
                !focused().contains(QLatin1String("_1")));
        QCOMPARE(open.installation.messages.shown.size(), 1); // the question only
    }

    // F1 opens the help where it speaks of the pane on screen. F5 reads the explorer again -
    // after the week or formula on screen has been saved - and comes back to it.
    void helpAndRefreshKeysServeThePaneOnScreen() {
        OpenWeek open;
        QVERIFY(open.ready);
        open.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&open.window));
        QLineEdit* cell = open.pane().cell(ValueKind::TrueLines, kEditedDay + 1);
        cell->setFocus();
        QTest::keyClick(cell, Qt::Key_F1);
        auto* help = open.window.findChild<velora::shell::HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("week.html"));
        help->close();

        auto& db = open.installation.db;
        db.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, "
                               "trans_type, incentive_group_id) VALUES ('bob', 'Bob', 'Ray', 1, "
                               "2)"));
        open.window.activateWindow();
        cell->setFocus();
        QTest::keyClicks(cell, QStringLiteral("444"));
        QTest::keyClick(cell, Qt::Key_F5);
        QVERIFY(open.window.explorer().hasNode(ExplorerKeys::User(QStringLiteral("bob"))));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE "
                                          "lines_modified = 444")),
                 QStringLiteral("1"));
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::UserDetail));
        QCOMPARE(open.window.explorer().CurrentUserAccountID(), kAccountID);
        QCOMPARE(cell->text(), QStringLiteral("444"));
        QVERIFY(open.installation.messages.shown.isEmpty());

        // On a formula the same keys open its help; F5 saves an edit as leaving it would, and
        // Ctrl+S saves it on the spot.
        open.window.explorer().ClickNode(ExplorerKeys::Formula(QStringLiteral("2")));
        auto* editor = open.window.formulaPanes()->pane().txtFormulaText();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_F1);
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("formula.html"));
        help->close();
        const QString date = open.context->region->formatDate(open.start.addDays(5));
        const QString text = QStringLiteral("SELECT formula_text FROM Incentive_formula WHERE "
                                            "formula_id = 2");
        for (const auto& [key, rate] : {std::pair{Qt::Key_F5, "0.3"}, {Qt::Key_S, "0.4"}}) {
            open.window.activateWindow(); // back from the date dialog
            QVERIFY(QTest::qWaitForWindowActive(&open.window));
            editor->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), editor);
            editor->setPlainText(QStringLiteral("Results.IPay = Lines * ") + rate);
            DateAnswerer answerer(date);
            QTest::keyClick(editor, key, key == Qt::Key_S ? Qt::ControlModifier : Qt::NoModifier);
            QCOMPARE(answerer.prompts.size(), 1);
            QCOMPARE(db.scalar(text), QStringLiteral("Results.IPay = Lines * ") + rate);
        }
        QCOMPARE(editor->toPlainText(), QStringLiteral("Results.IPay = Lines * 0.4"));
    }

    // A correction is undone from its cell's own menu in the assembled window: the window
    // swallows the platform menu of text boxes, not the grid's Revert Changes.
    void aCorrectionIsRevertedFromItsCell() {
        OpenWeek open(QString(), QStringLiteral("UPDATE Trans_incentive SET lines_modified = 999 "
                                                "WHERE lines = 130"));
        QVERIFY(open.ready);
        ShellInstallation& installation = open.installation;
        QLineEdit* cell = open.pane().cell(ValueKind::TrueLines, kEditedDay);
        QCOMPARE(cell->text(), QStringLiteral("999"));

        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(4, 4),
                                     cell->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(cell, &rightClick);
        QMenu* menu = open.window.userPanes()->navigator().contextMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction* revert = menu->findChild<QAction*>(QStringLiteral("mnuRevert"));
        QCOMPARE(revert->text(), QStringLiteral("&Revert Changes"));
        revert->trigger();
        menu->close();

        QCOMPARE(installation.db.scalar(kCorrectedLines),
                 QString::number(collectedLines(kEditedDay)));
        QCOMPARE(cell->text(), QString::number(collectedLines(kEditedDay)));
        QCOMPARE(cell->palette().color(QPalette::Text), QColor(0, 0, 0));
        QVERIFY(installation.messages.shown.isEmpty());
    }

    // Leaving a week whose corrections cannot be saved reports the failure once and asks once.
    // No keeps the week and its corrections on screen with the tree back on it, and leaving
    // again once the database is free saves them; Yes discards them for good.
    void leavingAWeekThatCannotBeSaved_data() {
        QTest::addColumn<QString>("destination");
        QTest::newRow("another week") << ExplorerKeys::UserAccount(kTransID, QStringLiteral("-2"));
        QTest::newRow("the user") << ExplorerKeys::User(kTransID);
    }
    void leavingAWeekThatCannotBeSaved() {
        QFETCH(QString, destination);
        OpenWeek open;
        QVERIFY(open.ready);
        ShellInstallation& installation = open.installation;
        velora::explorer::IncentiveExplorer& explorer = open.window.explorer();
        const QString week = ExplorerKeys::UserAccount(kTransID, kAccountID);
        const auto& shown = installation.messages.shown;
        open.pane().cell(ValueKind::TrueLines, kEditedDay)->setText(QStringLiteral("250"));
        auto other = open.lockDatabase(MessageAnswer::No);
        explorer.ClickNode(destination);
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].text.startsWith(QStringLiteral("Error: cannot save user data")),
                 qPrintable(shown[0].text));
        QVERIFY2(shown[1].text.startsWith(QStringLiteral("The changes to the week on screen "
                                                         "could not be saved.")),
                 qPrintable(shown[1].text));
        QVERIFY(shown[1].buttons == MessageButtons::YesNo);
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::UserDetail));
        QCOMPARE(open.pane().cell(ValueKind::TrueLines, kEditedDay)->text(), QStringLiteral("250"));
        QCOMPARE(explorer.CurrentNode().key(), week);

        other->rollback();
        explorer.ClickNode(destination);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(installation.db.scalar(kCorrectedLines), QStringLiteral("250"));
        QCOMPARE(explorer.CurrentNode().key(), destination);

        explorer.ClickNode(week);
        open.pane().cell(ValueKind::TrueLines, kEditedDay)->setText(QStringLiteral("260"));
        other = open.lockDatabase(MessageAnswer::Yes);
        explorer.ClickNode(destination);
        QCOMPARE(shown.size(), 4);
        QCOMPARE(explorer.CurrentNode().key(), destination);
        other->rollback();
        QVERIFY(open.window.close());
        QCOMPARE(shown.size(), 4);
        QCOMPARE(installation.db.scalar(kCorrectedLines), QStringLiteral("250"));
    }

    // Closing the window while a pane's change cannot be saved asks whether to close anyway: No
    // keeps the window open with the change, and the next close saves it.
    void closingWithAChangeThatCannotBeSaved_data() {
        QTest::addColumn<bool>("group"); // the user's group rather than a week's correction
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("saved"); // reads the change once the second close saved it
        QTest::addColumn<QString>("value");
        QTest::newRow("week") << false << "Error: cannot save user data" << kCorrectedLines
                              << "250";
        QTest::newRow("group") << true << "Error: cannot save user header data"
                               << "SELECT incentive_group_id FROM Trans_info WHERE trans_id = 'ann'"
                               << "1";
    }
    void closingWithAChangeThatCannotBeSaved() {
        QFETCH(bool, group);
        QFETCH(QString, failure);
        QFETCH(QString, saved);
        QFETCH(QString, value);
        OpenWeek open;
        QVERIFY(open.ready);
        ShellInstallation& installation = open.installation;
        const auto& shown = installation.messages.shown;
        QLineEdit* lines = open.pane().cell(ValueKind::TrueLines, kEditedDay);
        QComboBox* groups = open.window.userPanes()->headerPane().cmbUserHeaderGroupName();
        if (group) {
            open.window.explorer().ClickNode(ExplorerKeys::User(kTransID));
            groups->setCurrentIndex(velora::groups::FindListIndexByItemData(*groups, 1));
        } else {
            lines->setText(QStringLiteral("250"));
        }
        DateAnswerer answerer(open.context->region->formatDate(QDate::currentDate()));
        auto other = open.lockDatabase(MessageAnswer::No);
        QVERIFY(!open.window.close());
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].text.startsWith(failure), qPrintable(shown[0].text));
        QVERIFY2(shown[1].text.contains(QStringLiteral("Close Velora Incentive anyway")),
                 qPrintable(shown[1].text));
        QVERIFY(shown[1].buttons == MessageButtons::YesNo);
        QVERIFY(open.window.isVisible());
        QVERIFY(!open.window.busy().isBusy());
        QVERIFY(open.context->login->User() != nullptr); // still logged in
        QCOMPARE(group ? groups->currentData().toString() : lines->text(), value);

        other->rollback();
        QVERIFY(open.window.close());
        QCOMPARE(shown.size(), 2);
        QCOMPARE(installation.db.scalar(saved), value);
    }

    // The group's Default Account node opens the group-account pane on the stored formula; a
    // new pick saved on leaving the node with a date in the week locks the group's days before
    // it and no later one.
    void aGroupsDefaultFormulaIsChangedFromADate() {
        OpenWeek open;
        QVERIFY(open.ready);
        auto& db = open.installation.db;
        open.window.explorer().ClickNode(ExplorerKeys::GroupAccount("2", "-1"));
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::Account));
        QComboBox* formulas = open.window.userPanes()->groupAccountPane().cmbAccountPayFormula();
        QCOMPARE(formulas->currentText(), QStringLiteral("Line Rate"));
        formulas->setCurrentIndex(velora::groups::FindListIndexByItemData(*formulas, 1));
        DateAnswerer answerer(open.context->region->formatDate(open.start.addDays(5)));

        open.window.explorer().ClickNode(ExplorerKeys::User(kTransID));

        QCOMPARE(answerer.prompts.size(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT pay_formula_id FROM Incentive_group_formula "
                                          "WHERE group_id = 2 AND account_id = -1")),
                 QStringLiteral("1"));
        QCOMPARE(open.lockedDays(), QStringLiteral("5"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT MIN(shift_date) FROM Trans_incentive WHERE "
                                          "locked = 0")),
                 open.start.addDays(5).toString(Qt::ISODate));
    }

    // A formula edit that does not parse is refused on leaving its node, and the operator stays
    // on it with the edit; once it parses the next leave saves it with its lock-out. Closing the
    // window with a broken edit asks before the edit is lost.
    void aFormulaEditStaysUntilItParsesThenSavesWithItsLockOut() {
        OpenWeek open;
        QVERIFY(open.ready);
        auto& db = open.installation.db;
        auto& explorer = open.window.explorer();
        explorer.ClickNode(ExplorerKeys::Formula(QStringLiteral("2")));
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::Formula));
        auto* editor = open.window.formulaPanes()->pane().txtFormulaText();
        QCOMPARE(editor->toPlainText(),
                 QStringLiteral("Results.ILines = Lines\nResults.IHours = 0\nResults.IPay = Lines "
                                "* 0.1"));
        // The tester's lists were filled at start-up; the day's lines give the pay.
        velora::formulas::FormulaPane& pane = open.window.formulaPanes()->pane();
        QCOMPARE(pane.cmbFormulaTransID()->currentText(), kTransID);
        pane.txtFormulaShiftDate()->setText(
            open.context->region->formatDate(open.start.addDays(kEditedDay)));
        pane.cmdFormulaTestFormula()->click();
        QCOMPARE(open.installation.messages.shown.last().text,
                 QStringLiteral("The formula evaluated to:\r\n   Hours = '0'\r\n   Lines = "
                                "'130'\r\n   Pay   = '13'"));
        const QString broken = QStringLiteral("Results.ILines = Lines\nResults.IPay = (Lines");
        editor->setPlainText(broken);
        const QString date = open.context->region->formatDate(open.start.addDays(5));
        QCOMPARE(answering(date, [&] { explorer.ClickNode(ExplorerKeys::User(kTransID)); }).size(),
                 1);
        QVERIFY(
            open.installation.messages.shown.last().text.contains(QStringLiteral("Line Number:2")));
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::Formula));
        QCOMPARE(explorer.FocusKey(), ExplorerKeys::Formula(QStringLiteral("2")));
        QCOMPARE(editor->toPlainText(), broken);
        QCOMPARE(editor->markedLine(), 2);
        QCOMPARE(open.lockedDays(), QStringLiteral("2"));

        editor->setPlainText(QStringLiteral("Results.ILines = Lines\nResults.IPay = Lines * 0.2"));
        QCOMPARE(answering(date, [&] { explorer.ClickNode(ExplorerKeys::User(kTransID)); }).size(),
                 1);
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::UserHeader));
        QCOMPARE(db.scalar(QStringLiteral("SELECT formula_text FROM Incentive_formula WHERE "
                                          "formula_id = 2")),
                 QStringLiteral("Results.ILines = Lines\r\nResults.IPay = Lines * 0.2"));
        QCOMPARE(open.lockedDays(), QStringLiteral("5"));

        explorer.ClickNode(ExplorerKeys::Formula(QStringLiteral("2")));
        editor->setPlainText(broken);
        open.installation.messages.queue(MessageAnswer::Ok); // the parse error
        open.installation.messages.queue(MessageAnswer::No); // keep the window open
        answering(date, [&] { QVERIFY(!open.window.close()); });
        QVERIFY(open.window.isVisible());
        QCOMPARE(editor->toPlainText(), broken);
        QVERIFY(open.installation.messages.shown.last().text.startsWith(
            QStringLiteral("The changes to the formula on screen could not be saved.")));
    }

    // File > Create Formula asks a name and opens the new formula; the explorer's menus rename
    // and delete it, and every list follows. File > Create Group adds the group to the user
    // header's list.
    void formulasAndGroupsAreCreatedRenamedAndDeleted() {
        OpenWeek open;
        QVERIFY(open.ready);
        auto& db = open.installation.db;
        auto& explorer = open.window.explorer();
        velora::formulas::FormulaPane& pane = open.window.formulaPanes()->pane();
        QComboBox* payFormulas = open.window.userPanes()->groupAccountPane().cmbAccountPayFormula();
        QCOMPARE(answering(QStringLiteral("Night's Rate"),
                           [&] {
                               open.window
                                   .findChild<QAction*>(QStringLiteral("mnuFileCreateFormula"))
                                   ->trigger();
                           }),
                 QStringList{"Enter new formula name:"});
        const QString id = db.scalar(QStringLiteral(
            "SELECT formula_id FROM Incentive_formula WHERE formula_name = 'Night''s Rate'"));
        QVERIFY(open.window.details().isShowing(velora::common::DetailArea::Pane::Formula));
        QCOMPARE(pane.lblFormulaFormulaName()->text(), QStringLiteral("Night's Rate"));
        QCOMPARE(pane.txtFormulaText()->toPlainText(),
                 QStringLiteral("Results.IHours = 0\nResults.ILines = 0\nResults.IPay = 0"));
        QVERIFY(velora::groups::ListEntryWithItemData(*payFormulas, id.toInt()) >= 0);

        explorer.RightClickNode(ExplorerKeys::Formula(id), QPoint());
        explorer.lastPopup()->hide();
        answering(QStringLiteral("Late Rate"), [&] {
            explorer.findChild<QAction*>(QStringLiteral("mnuRenameFormula"))->trigger();
        });
        QCOMPARE(explorer.node(ExplorerKeys::Formula(id)).text(), QStringLiteral("Late Rate"));
        QCOMPARE(pane.lblFormulaFormulaName()->text(), QStringLiteral("Late Rate"));
        QCOMPARE(
            payFormulas->itemText(velora::groups::ListEntryWithItemData(*payFormulas, id.toInt())),
            QStringLiteral("Late Rate"));

        // An edit on screen is not saved into the deleted formula when its node goes.
        pane.txtFormulaText()->setPlainText(QStringLiteral("Results.IPay = 5"));
        open.installation.messages.queue(MessageAnswer::Yes);
        explorer.RightClickNode(ExplorerKeys::Formula(id), QPoint());
        explorer.lastPopup()->hide();
        explorer.findChild<QAction*>(QStringLiteral("mnuDeleteFormula"))->trigger();
        QVERIFY(!explorer.hasNode(ExplorerKeys::Formula(id)));
        QCOMPARE(velora::groups::ListEntryWithItemData(*payFormulas, id.toInt()), -1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Incentive_formula WHERE "
                                          "formula_id = ") +
                           id),
                 QStringLiteral("0"));
        QCOMPARE(open.lockedDays(), QString::number(kLockedDays));

        answering(QStringLiteral("Evening"), [&] {
            open.window.findChild<QAction*>(QStringLiteral("mnuFileCreateGroup"))->trigger();
        });
        const QString group = db.scalar(
            QStringLiteral("SELECT group_id FROM Incentive_group WHERE group_name = 'Evening'"));
        QVERIFY(explorer.hasNode(ExplorerKeys::Group(group)));
        QComboBox* groups = open.window.userPanes()->headerPane().cmbUserHeaderGroupName();
        QVERIFY(velora::groups::ListEntryWithItemData(*groups, group.toInt()) >= 0);
    }

    // Create Formula hands over to the formula wizard (a stand-in program here) with the
    // configuration file and credentials in use; its exchange file gives the new formula's name
    // and text, saved with an effective date. A wizard that writes nothing ends the creation
    // without a word; every other failure (a file without its end mark, empty, too large or
    // unreadable, a wizard that cannot start or crashes) has its message and creates nothing.
    void theFormulaWizardComposesANewFormula_data() {
        QTest::addColumn<QString>("interpreter");
        QTest::addColumn<QString>("wizardDoes"); // shell commands; $X is the exchange file
        QTest::addColumn<bool>("created");
        QTest::addColumn<QString>("lastMessage");
        const QString sh = QStringLiteral("/bin/sh");
        const QString cannotCreate = QStringLiteral("Could not create formula.");
        const QString cannotLaunch =
            QStringLiteral("ERROR: Cannot launch the Incentive Formula Wizard.");
        QTest::newRow("finished")
            << sh
            << "printf 'WIZARD\\r\\nNight Rate\\r\\nrate\\r\\nResults.IPay = Lines * 0.2\\r\\n"
               " *****\\r\\n' > \"$X\""
            << true << QStringLiteral("PLEASE NOTE:  The formula has been");
        QTest::newRow("no end mark")
            << sh
            << "printf 'WIZARD\\r\\nNight Rate\\r\\nrate\\r\\nResults.IPay = 1\\r\\n' > \"$X\""
            << false << cannotCreate;
        QTest::newRow("cancelled") << sh << QString() << false
                                   << QStringLiteral("Would you like to use the incentive formula "
                                                     "wizard to help create your formulas?");
        QTest::newRow("empty") << sh << QStringLiteral(": > \"$X\"") << false
                               << QStringLiteral("ERROR: formula data file contains no data.");
        QTest::newRow("32 KB") << sh
                               << QStringLiteral("head -c 32768 /dev/zero | tr '\\0' x > \"$X\"")
                               << false << cannotCreate;
        QTest::newRow("unreadable")
            << sh << QStringLiteral("mkdir \"$X\"") << false << QStringLiteral("Error Number ");
        QTest::newRow("crashed") << sh << QStringLiteral("kill -9 $$") << false << cannotLaunch;
        QTest::newRow("cannot start")
            << QStringLiteral("/nonexistent/sh") << QString() << false << cannotLaunch;
    }
    void theFormulaWizardComposesANewFormula() {
        QFETCH(QString, interpreter);
        QFETCH(QString, wizardDoes);
        QFETCH(bool, created);
        QFETCH(QString, lastMessage);
        OpenWeek open;
        QVERIFY(open.ready);
        auto& db = open.installation.db;
        const QString formulas = QStringLiteral("SELECT COUNT(*) FROM Incentive_formula");
        const QString before = db.scalar(formulas);
        const QString exchange = exchangeFile(open);
        const QString arguments = db.folder() + QStringLiteral("/arguments");
        const QString wizard = db.folder() + QStringLiteral("/inc_wiz");
        QFile script(wizard);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!%1\nX='%2'\nprintf '%s' \"$*\" > '%3'\n%4\n")
                         .arg(interpreter, exchange, arguments, wizardDoes)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        open.context->wizardProgram = wizard;

        runCreateFormula(open);
        QVERIFY(open.window.isEnabled());
        QVERIFY2(open.installation.messages.shown.last().text.startsWith(lastMessage),
                 qPrintable(open.installation.messages.shown.last().text));
        QCOMPARE(db.scalar(QStringLiteral("SELECT formula_text FROM Incentive_formula WHERE "
                                          "formula_name = 'Night Rate'")),
                 created ? QStringLiteral("Results.IPay = Lines * 0.2") : QString());
        QCOMPARE(db.scalar(formulas).toInt(), before.toInt() + (created ? 1 : 0));
        if (interpreter == QLatin1String("/nonexistent/sh"))
            return;
        QFile recorded(arguments);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(recorded.readAll()),
                 QStringLiteral("/INI=") + open.context->configurationPath +
                     QStringLiteral(" /UNAME=sup /PASSWORD=pw"));
        QDir(exchange).removeRecursively();
        QFile::remove(exchange);
    }

    // The real wizard program, started by the window with nothing but the login, finishes from
    // an answers file named in its environment; the formula it composed is created under its
    // name and saved with the effective date.
    void theRealWizardProgramHandsItsFormulaOver() {
        OpenWeek open;
        QVERIFY(open.ready);
        auto& db = open.installation.db;
        const QString answers = db.folder() + QStringLiteral("/answers.txt");
        QFile file(answers);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("shape=line-rate\nrate=0.08\nname=Eight cents a line\n");
        file.close();
        qputenv("INC_WIZ_SCRIPT", answers.toUtf8());
        open.context->wizardProgram = QStringLiteral(VELORA_WIZARD_PATH);

        runCreateFormula(open);
        qunsetenv("INC_WIZ_SCRIPT");
        QVERIFY2(open.installation.messages.shown.last().text.startsWith(
                     QStringLiteral("PLEASE NOTE:  The formula has been")),
                 qPrintable(open.installation.messages.shown.last().text));
        const QString text = db.scalar(QStringLiteral("SELECT formula_text FROM Incentive_formula "
                                                      "WHERE formula_name = 'Eight cents a line'"));
        QVERIFY2(text.contains(QStringLiteral("pay = workLines * 0.08")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\r\n")));
        QVERIFY(!QFile::exists(exchangeFile(open)));
    }
    // A recalculation after Save Changes that computes nothing here - cancelled, or queued for
    // the server because local updates are disabled - gives the window back, and the operator
    // learns that the figures on screen are not recalculated.
    void aRecalculationNotDoneHereSaysSo_data() {
        QTest::addColumn<QString>("moreSwitches");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QString>("menuNotice"); // after File > Update Incentive Values
        QTest::newRow("cancelled")
            << QString() << QStringList{"Update cancelled by user.", "The incentive values were"}
            << "Update cancelled by user.";
        QTest::newRow("queued") << QStringLiteral(" /DisableLocalUpdates")
                                << QStringList{"The recalculation was queued"}
                                << "The recalculation was queued";
    }
    void aRecalculationNotDoneHereSaysSo() {
        QFETCH(QString, moreSwitches);
        QFETCH(QStringList, notices);
        QFETCH(QString, menuNotice);
        OpenWeek open(moreSwitches);
        QVERIFY(open.ready);
        ShellInstallation& installation = open.installation;
        velora::engine::UpdateEngine& engine = *open.context->engine;
        QObject::connect(&engine, &velora::engine::UpdateEngine::progress, &engine,
                         &velora::engine::UpdateEngine::cancel, Qt::DirectConnection);
        const QString pay = open.pane().cell(ValueKind::IPay, kEditedDay)->text();
        installation.messages.queue(MessageAnswer::Yes);
        open.pane().cell(ValueKind::TrueLines, kEditedDay)->setText(QStringLiteral("250"));
        open.pane().saveChanges()->click();

        QTRY_VERIFY(!open.window.busy().isBusy());
        QVERIFY(open.window.centralWidget()->isEnabled());
        QVERIFY(open.window.isEnabled());
        const auto& shown = installation.messages.shown;
        QCOMPARE(shown.size(), notices.size() + 1);
        QCOMPARE(shown[0].text, QStringLiteral("Do you wish to recalculate now?"));
        for (qsizetype i = 0; i < notices.size(); ++i) {
            QVERIFY2(shown[i + 1].text.startsWith(notices[i]), qPrintable(shown[i + 1].text));
            QCOMPARE(shown[i + 1].title, QStringLiteral("Velora Incentive"));
        }
        // The correction itself is saved and shown; the pay is the old one.
        QCOMPARE(open.pane().cell(ValueKind::TrueLines, kEditedDay)->text(), QStringLiteral("250"));
        QCOMPARE(open.pane().cell(ValueKind::IPay, kEditedDay)->text(), pay);

        open.window.findChild<QAction*>(QStringLiteral("mnuFileUpdateIValues"))->trigger();
        QCOMPARE(shown.size(), notices.size() + 2);
        QVERIFY2(shown.last().text.startsWith(menuNotice), qPrintable(shown.last().text));
        QTRY_VERIFY(!open.window.busy().isBusy());
    }
};

VELORA_TEST(TestTypicalRequest)
#include "TestTypicalRequest.moc"
