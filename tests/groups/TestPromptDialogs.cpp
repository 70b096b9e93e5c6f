#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "groups/LastLockedDate.h"
#include "groups/PartitionNamePrompter.h"
#include "groups/PromptForValue.h"
#include "groups/frmEffectiveDate.h"
#include "groups/frmInputBoxPart.h"
#include "suite/HXRegion.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velora;

namespace {

const suite::HXRegion& usRegion() {
    static const suite::HXRegion region(QLocale(QLocale::English, QLocale::UnitedStates));
    return region;
}

// A dialog whose today is `today`, weeks starting on `firstDay` (1 = Sunday), last locked day
// `locked`.
struct DateDialog {
    explicit DateDialog(QDate today = {2024, 5, 15}, int firstDay = 1,
                        QString locked = QStringLiteral("03/31/2024"))
        : dialog({usRegion(), [locked] { return locked; }, [firstDay] { return firstDay; },
                  [today] { return today; }}) {
        dialog.Load(QStringLiteral("Effective Date for Change"), QStringLiteral("Which day?"),
                    QStringLiteral("05/15/2024"));
        dialog.show();
    }
    QString field() const { return dialog.txtEffectiveDate()->text(); }

    groups::frmEffectiveDate dialog;
};

// Base (0) and North (1), with their descriptions.
catalogue::CatalogueCollection<catalogue::Partition> twoPartitions() {
    catalogue::CatalogueCollection<catalogue::Partition> partitions;
    for (const auto& [id, name] : {std::pair{0, "Base"}, std::pair{1, "North"}}) {
        auto partition = std::make_shared<catalogue::Partition>();
        partition->setPartitionID(id);
        partition->setPartitionName(QLatin1String(name));
        partition->setPartitionDesc(QLatin1String(name) + QStringLiteral(" office"));
        partitions.add(QString::number(id), partition);
    }
    return partitions;
}

} // namespace

class TestPromptDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void howTheDialogWasLeft_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave"); // ok, enter, cancel, escape, close
        QTest::addColumn<int>("unloadType");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("stillShown");
        const auto row = [](const char* name, const char* typed, int unload, const char* input,
                            bool shown) {
            QTest::newRow(name) << QString(typed) << QString(name).section(',', 0, 0) << unload
                                << QString(input) << shown;
        };
        row("ok", "5/1/2024", 2, "5/1/2024", false);
        row("enter, not a date", "02/30/2024", 0, "", true);
        row("cancel", "5/1/2024", 1, "", false);
        row("escape", "5/1/2024", 1, "", false);
        row("close, text kept", "tomorrow", 3, "tomorrow", false);
    }

    void howTheDialogWasLeft() {
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(int, unloadType);
        QFETCH(QString, input);
        QFETCH(bool, stillShown);
        DateDialog d;
        d.dialog.txtEffectiveDate()->setText(typed);

        if (leave == QLatin1String("ok"))
            QTest::mouseClick(d.dialog.cmdOK(), Qt::LeftButton);
        else if (leave == QLatin1String("enter"))
            QTest::keyClick(d.dialog.txtEffectiveDate(), Qt::Key_Return);
        else if (leave == QLatin1String("cancel"))
            QTest::mouseClick(d.dialog.cmdCancel(), Qt::LeftButton);
        else if (leave == QLatin1String("escape"))
            QTest::keyClick(&d.dialog, Qt::Key_Escape);
        else
            QVERIFY(!d.dialog.close()); // the close is refused: the dialog only hides

        QCOMPARE(d.dialog.UnloadType(), unloadType);
        QCOMPARE(d.dialog.UserInput(), input);
        QCOMPARE(d.dialog.isVisible(), stillShown);
    }

    void quickButtons_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, QDate today, int firstDay, const char* button,
                            const char* expected) {
            QTest::newRow(name) << today << firstDay << QString(button) << QString(expected);
        };
        // 15 May 2024 is a Wednesday; 12 May a Sunday, 13 May a Monday.
        row("month", {2024, 5, 15}, 1, "btnCurrentMonth", "05/01/2024");
        row("week from Monday", {2024, 5, 15}, 2, "btnCurrentWeek", "05/13/2024");
        row("week on its first day is today", {2024, 5, 13}, 2, "btnCurrentWeek", "05/13/2024");
        row("previous week across a year", {2024, 1, 2}, 1, "btnPrevWeek", "12/24/2023");
        row("current unlocked", {2024, 5, 15}, 1, "btnEariliestDate", "03/31/2024");
    }

    void quickButtons() {
        QFETCH(QDate, today);
        QFETCH(int, firstDay);
        QFETCH(QString, button);
        QFETCH(QString, expected);
        DateDialog d(today, firstDay);
        d.dialog.txtEffectiveDate()->clear();
        QTest::mouseClick(d.dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(d.field(), expected);
        QCOMPARE(usRegion().formatDate(d.dialog.calEffectiveDate()->selectedDate()), expected);
        QCOMPARE(d.dialog.calEffectiveDate()->firstDayOfWeek(),
                 firstDay == 1 ? Qt::Sunday : static_cast<Qt::DayOfWeek>(firstDay - 1));
    }

    void lastLockedDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("anyLocked");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none, US") << "en_US" << false << "01/01/1980";
        QTest::newRow("none, German") << "de_DE" << false << "01.01.1980";
        QTest::newRow("latest, US") << "en_US" << true << "04/30/2024";
    }

    void lastLockedDate() {
        QFETCH(QString, locale);
        QFETCH(bool, anyLocked);
        QFETCH(QString, expected);
        test::TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                               "locked) VALUES ('ann', 1, '2024-05-02', 0)"));
        if (anyLocked)
            db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, "
                                   "shift_date, locked) VALUES ('ann', 1, '2024-04-30', 1), "
                                   "('bob', 2, '2024-03-01', 1)"));
        db.connection().close();
        const suite::HXRegion region{QLocale(locale)};
        QCOMPARE(groups::GetLastLockedDate(db.connection(), region), expected);
        QVERIFY(!db.connection().isOpen());
    }

    // The real prompt shows the dialog modally and reports what the operator did; the next
    // prompt starts afresh. The text dialog takes any text, quotes included, Enter for OK.
    void dialogPrompterShowsTheDialog() {
        groups::DialogPrompter prompter(nullptr,
                                        {usRegion(), [] { return QString(); }, [] { return 1; },
                                         [] { return QDate(2024, 5, 15); }});
        auto answer = [](const QString& text, bool ok) {
            QTimer::singleShot(0, [text, ok] {
                auto* shown =
                    qobject_cast<groups::PromptDialog*>(QApplication::activeModalWidget());
                QVERIFY(shown);
                shown->entryField()->setText(text);
                if (ok)
                    QTest::keyClick(shown->entryField(), Qt::Key_Enter);
                else
                    shown->cmdCancel()->click();
            });
        };
        answer(QStringLiteral("6/1/2024"), true);
        const auto date = prompter.PromptForValue(QStringLiteral("p"), QStringLiteral("t"),
                                                  QStringLiteral("05/15/2024"), true);
        QCOMPARE(date.unloadType, groups::UnloadCode::OK);
        QCOMPARE(date.text, QStringLiteral("6/1/2024"));

        answer(QStringLiteral("ignored"), false);
        const auto cancelled =
            prompter.PromptForValue(QStringLiteral("p"), QStringLiteral("t"), {}, false);
        QCOMPARE(cancelled.unloadType, groups::UnloadCode::Cancel);
        QVERIFY(cancelled.text.isEmpty());

        answer(QStringLiteral("Night's Shift"), true);
        const auto text = prompter.PromptForValue(QStringLiteral("Enter new group name:"),
                                                  QStringLiteral("Create Group"), {}, false);
        QCOMPARE(text.unloadType, groups::UnloadCode::OK);
        QCOMPARE(text.text, QStringLiteral("Night's Shift"));
    }

    // The partition dialog lists each partition with its description and preselects the given
    // one (the first when it is missing); without a partition OK keeps it open. The prompter
    // reports the name and the partition chosen.
    void partitionDialog() {
        const auto partitions = twoPartitions();
        groups::DialogPartitionNamePrompter prompter(nullptr);
        QTimer::singleShot(0, [] {
            auto* shown = qobject_cast<groups::frmInputBoxPart*>(QApplication::activeModalWidget());
            QVERIFY(shown);
            QCOMPARE(shown->cboPartition()->itemText(0), QStringLiteral("Base (Base office)"));
            QCOMPARE(shown->cboPartition()->itemText(1), QStringLiteral("North (North office)"));
            QCOMPARE(shown->SelectedPartitionID(), qint16(1));
            shown->txtInput()->setText(QStringLiteral("Night's Rate"));
            shown->cboPartition()->setCurrentIndex(0);
            QTest::keyClick(shown->txtInput(), Qt::Key_Enter);
        });
        const auto answer = prompter.PromptForName(QStringLiteral("Create New Formula"),
                                                   QStringLiteral("Enter new formula name:"),
                                                   QString(), partitions, 1);
        QCOMPARE(answer.unloadType, groups::UnloadCode::OK);
        QCOMPARE(answer.text, QStringLiteral("Night's Rate"));
        QCOMPARE(answer.partitionID, qint16(0));

        groups::frmInputBoxPart dialog;
        dialog.FillPartitionCombo(partitions, 7);
        QCOMPARE(dialog.SelectedPartitionID(), qint16(0));
        dialog.FillPartitionCombo({}, 1);
        dialog.show();
        dialog.txtInput()->setText(QStringLiteral("Night"));
        QTest::keyClick(dialog.txtInput(), Qt::Key_Return);
        QCOMPARE(dialog.UnloadType(), groups::UnloadCode::None);
        QVERIFY(dialog.isVisible());
    }
};

VELORA_TEST(TestPromptDialogs)
#include "TestPromptDialogs.moc"
