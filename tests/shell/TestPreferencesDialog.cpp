#include "MnemonicCheck.h"
#include "ShellInstallation.h"
#include "common/DetailArea.h"
#include "common/PreferenceStore.h"
#include "common/TestMain.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "shell/MainWindow.h"
#include "shell/frmPreferences.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using velora::common::MessageAnswer;
using velora::common::MessageIcon;
using velora::explorer::ExplorerKeys;
using velora::shell::frmPreferences;
using velora::shell::MainWindow;
using velora::shell::PreferencesForm;
using velora::test::ShellInstallation;
using namespace Qt::StringLiterals;

namespace {

constexpr int kOperatorId = 7;

// The dialog over a real database for one operator, built without the main window.
struct Bench {
    ShellInstallation installation;
    velora::common::PreferenceStore store;
    PreferencesForm form;
    Bench(PreferencesForm::Situation situation, int partitionId)
        : store(installation.db.connection(), {kOperatorId, partitionId, situation.partitionMode})
        , form(store, installation.messages, situation) {
        installation.db.exec(QStringLiteral("DELETE FROM Incentive_preference"));
    }
    void put(int userId, const QString& key, const QString& value) {
        installation.db.exec(QStringLiteral("INSERT INTO Incentive_preference (user_id, "
                                            "pref_key, pref_value) VALUES (%1, '%2', '%3')")
                                 .arg(userId)
                                 .arg(key, value));
    }
    // Every row as "user/partition key=value", in key order.
    QStringList rows() {
        QStringList all;
        auto set = installation.db.connection().openRecordset(QStringLiteral(
            "SELECT user_id, partition_id, pref_key, pref_value FROM Incentive_preference "
            "ORDER BY pref_key, user_id"));
        for (; !set.eof(); set.moveNext())
            all << QStringLiteral("%1/%2 %3=%4")
                       .arg(set.value(0).toString(), set.value(1).toString(),
                            set.value(2).toString(), set.value(3).toString());
        return all;
    }
};

template <typename Widget> Widget* child(QWidget* dialog, const char* name) {
    auto* widget = dialog->findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void clickOk(QWidget* dialog) {
    QTest::mouseClick(child<QPushButton>(dialog, "cmdPreferencesOk"), Qt::LeftButton);
}

// Runs action on the Preferences dialog once it shows (start-up shows other windows first).
void whenDialogShows(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action = std::move(action)] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("frmPreferences") && window->isVisible()) {
                poll->stop();
                poll->deleteLater();
                action(window);
                return;
            }
        }
    });
    poll->start(10);
}

} // namespace

class TestPreferencesDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every button and box of the dialog has its own mnemonic. An operator outside the admin
    // partition sees the system values in disabled controls and the warning; OK writes only the
    // operator's own rows, whatever the system controls were made to hold. A missing operator value
    // shows the system one.
    void systemValuesStayWithTheAdminPartition() {
        Bench bench({false, false, true, false}, 3);
        bench.put(-1, QStringLiteral("INCENT_HOUR_TYPE"), QStringLiteral("1"));
        bench.put(-1, QStringLiteral("INCENT_SHOW_DELETED_USERS"), QStringLiteral("True"));
        const QStringList systemRows = bench.rows();
        frmPreferences dialog(bench.form);
        const QStringList faults =
            velora::test::mnemonicFaults(dialog.objectName(), velora::test::buttonCaptions(dialog));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY(child<QLabel>(&dialog, "NonAdminWarningLabel")->isVisibleTo(&dialog));
        for (const char* name : {"cmbHourType", "cmbDayOfWeek", "txtAutoLock", "chkEOMAdjustment",
                                 "chkIncludeDeletedReports"})
            QVERIFY2(!child<QWidget>(&dialog, name)->isEnabled(), name);
        QCOMPARE(child<QComboBox>(&dialog, "cmbHourType")->currentText(), u"System Hours"_s);
        QVERIFY(child<QCheckBox>(&dialog, "chkShowDeletedUsers")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "chkShowDeletedAccounts")->isChecked());
        child<QComboBox>(&dialog, "cmbHourType")->setCurrentIndex(1);
        child<QCheckBox>(&dialog, "chkEOMAdjustment")->setChecked(true);
        child<QCheckBox>(&dialog, "chkShowDeletedAccounts")->setChecked(true);
        clickOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QStringList expected = systemRows;
        expected << u"7/-1 INCENT_ENABLE_FORMULA_WIZARD=1"_s
                 << u"7/-1 INCENT_FIRST_TIME_USE=False"_s
                 << u"7/-1 INCENT_SHOW_DELETED_ACCOUNTS=1"_s
                 << u"7/-1 INCENT_SHOW_DELETED_USERS=1"_s;
        expected.sort();
        QStringList written = bench.rows();
        written.sort();
        QCOMPARE(written, expected);
    }

    void autoLockRefusalsWriteNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString notNumber = PreferencesForm::kNotNumericMessage;
        const QString outOfRange = PreferencesForm::kOutOfRangeMessage;
        QTest::newRow("letters") << u"abc"_s << notNumber;
        QTest::newRow("empty") << QString() << notNumber;
        QTest::newRow("negative") << u"-1"_s << outOfRange;
        QTest::newRow("too many days") << u"32001"_s << outOfRange;
        QTest::newRow("beyond 32 bits") << u"5000000000"_s << outOfRange;
        QTest::newRow("none") << u"0"_s << QString();
        QTest::newRow("the most") << u"32000"_s << QString();
    }
    void autoLockRefusalsWriteNothing() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Bench bench({true, false, true, false}, 0);
        frmPreferences dialog(bench.form);
        dialog.show();
        child<QLineEdit>(&dialog, "txtAutoLock")->setText(typed);
        clickOk(&dialog);
        if (message.isEmpty()) {
            QVERIFY(bench.installation.messages.shown.isEmpty());
            QVERIFY(bench.rows().contains(u"-1/-1 INCENT_AUTO_LOCKING="_s + typed));
            return;
        }
        QCOMPARE(bench.installation.messages.shown.size(), 1);
        QCOMPARE(bench.installation.messages.shown[0].text, message);
        QVERIFY(bench.installation.messages.shown[0].icon == MessageIcon::Warning);
        QVERIFY(dialog.isVisible());
        QCOMPARE(bench.rows(), QStringList());
    }

    // What an admin in partition mode chooses comes back when the dialog opens again, each
    // value at its scope and partition; an empty store shows system hours, Monday, the partition
    // first, the wizard on and 30 days.
    void valuesRoundTripPerScope() {
        Bench bench({true, true, true, false}, 0);
        {
            frmPreferences fresh(bench.form);
            QCOMPARE(child<QComboBox>(&fresh, "cmbHourType")->currentText(), u"System Hours"_s);
            QCOMPARE(child<QComboBox>(&fresh, "cmbDayOfWeek")->currentText(), u"Monday"_s);
            QCOMPARE(child<QComboBox>(&fresh, "cmbPartitionDisplay")->currentIndex(), 0);
            QCOMPARE(child<QLineEdit>(&fresh, "txtAutoLock")->text(), u"30"_s);
            QVERIFY(child<QCheckBox>(&fresh, "chkEnableFormulaWizrd")->isChecked());
            child<QCheckBox>(&fresh, "chkEnableFormulaWizrd")->setChecked(false);
            child<QComboBox>(&fresh, "cmbHourType")->setCurrentIndex(1);
            child<QComboBox>(&fresh, "cmbDayOfWeek")->setCurrentIndex(6);
            child<QComboBox>(&fresh, "cmbPartitionDisplay")->setCurrentIndex(1);
            child<QLineEdit>(&fresh, "txtAutoLock")->setText(u"45"_s);
            child<QCheckBox>(&fresh, "chkIncludeDeletedReports")->setChecked(true);
            child<QCheckBox>(&fresh, "chkEOMAdjustment")->setChecked(true);
            clickOk(&fresh);
        }
        QCOMPARE(
            bench.rows(),
            QStringList(
                {u"-1/0 INCENT_ADD_BLANK_EOM_VALUES=1"_s, u"-1/0 INCENT_AUTO_LOCKING=45"_s,
                 u"7/0 INCENT_ENABLE_FORMULA_WIZARD=0"_s, u"-1/0 INCENT_FIRST_DAY_OF_WEEK=7"_s,
                 u"7/0 INCENT_FIRST_TIME_USE=False"_s, u"-1/0 INCENT_HOUR_TYPE=2"_s,
                 u"-1/0 INCENT_INCLUDE_DELETED_REPORTS=1"_s, u"7/0 INCENT_PARTITION_DISPLAY=1"_s,
                 u"7/0 INCENT_SHOW_DELETED_ACCOUNTS=0"_s, u"7/0 INCENT_SHOW_DELETED_USERS=0"_s}));
        frmPreferences again(bench.form);
        QCOMPARE(child<QComboBox>(&again, "cmbDayOfWeek")->currentText(), u"Saturday"_s);
        QCOMPARE(child<QComboBox>(&again, "cmbPartitionDisplay")->currentIndex(), 1);
        QVERIFY(!child<QCheckBox>(&again, "chkEnableFormulaWizrd")->isChecked());
        QCOMPARE(child<QLineEdit>(&again, "txtAutoLock")->text(), u"45"_s);
        QVERIFY(child<QCheckBox>(&again, "chkIncludeDeletedReports")->isChecked());
        QVERIFY(child<QCheckBox>(&again, "chkEOMAdjustment")->isChecked());
        QCOMPARE(PreferencesForm::chosenItem(u"9"_s, PreferencesForm::dayOfWeekItems()), 1);
    }

    // On the first start the dialog shows before the catalogue loads; neither Cancel, Escape
    // nor closing it leaves it, OK does, and the next start does not ask again.
    void firstUseDialogCannotBeEscaped() {
        ShellInstallation installation;
        installation.db.exec(QStringLiteral("DELETE FROM Incentive_preference"));
        auto context = installation.context();
        MainWindow window(*context);
        bool shown = false;
        whenDialogShows([&shown](QWidget* dialog) {
            shown = true;
            QVERIFY(!child<QPushButton>(dialog, "cmdPreferencesCancel")->isEnabled());
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close();
            QVERIFY(dialog->isVisible());
            clickOk(dialog);
        });
        QVERIFY(window.load());
        QVERIFY(shown);
        QCOMPARE(installation.userPreference(u"INCENT_FIRST_TIME_USE"_s), u"False"_s);
        QVERIFY(!context->preferences.firstTimeUse);
        window.close();
    }

    // After the dialog closes the window applies what changed: a show-deleted change rebuilds
    // the explorer (a deleted user appears, the splash is in front), anything else shows the
    // selected node again; an include-deleted-reports change asks for a recalculation.
    void mainWindowAppliesTheChanges_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("users");
        QTest::addColumn<QString>("question");
        QTest::newRow("wizard only") << u"chkEnableFormulaWizrd"_s << 1 << QString();
        QTest::newRow("deleted users") << u"chkShowDeletedUsers"_s << 2 << QString();
        QTest::newRow("deleted reports")
            << u"chkIncludeDeletedReports"_s << 1
            << u"You must recalculate incentive values to ADD any deleted reports.\r\n"
               "Do you wish to do this now?"_s;
    }
    void mainWindowAppliesTheChanges() {
        QFETCH(QString, box);
        QFETCH(int, users);
        QFETCH(QString, question);
        ShellInstallation installation;
        installation.db.exec(QStringLiteral(
            "INSERT INTO Trans_info (trans_id, first_name, last_name, trans_type, "
            "incentive_group_id, is_deleted) VALUES ('old', 'Ole', 'Gone', 1, 1, 1)"));
        auto context = installation.context();
        MainWindow window(*context);
        QVERIFY(window.load());
        window.loaderTimer().stop();
        window.explorer().ClickNode(ExplorerKeys::FormulasFolder());
        using Pane = velora::common::DetailArea::Pane;
        QVERIFY(!window.details().pane(Pane::Splash)->isVisibleTo(&window));
        installation.messages.queue(MessageAnswer::No);
        whenDialogShows([box](QWidget* dialog) {
            child<QCheckBox>(dialog, qPrintable(box))->toggle();
            clickOk(dialog);
        });
        window.findChild<QAction*>(u"mnuEditPreferences"_s)->trigger();
        QCOMPARE(window.explorer().childKeys(ExplorerKeys::UsersFolder()).size(), users);
        QCOMPARE(window.details().pane(Pane::Splash)->isVisibleTo(&window), users == 2);
        QCOMPARE(installation.messages.shown.size(), question.isEmpty() ? 0 : 1);
        if (!question.isEmpty()) {
            QCOMPARE(installation.messages.shown[0].text, question);
            QCOMPARE(installation.db.scalar(u"SELECT pref_value FROM Incentive_preference "
                                            "WHERE pref_key = 'INCENT_INCLUDE_DELETED_REPORTS'"_s),
                     u"1"_s);
        }
        window.close();
    }
};

VELORA_TEST(TestPreferencesDialog)
#include "TestPreferencesDialog.moc"
