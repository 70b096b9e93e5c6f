#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "report/frmPayPeriodReport.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace velora;
using report::frmPayPeriodReport;
using report::PayPeriodReportModel;

namespace {

// Three users in two partitions, in the bi-week of 2024-05-08 (Sunday weeks: Apr 28 - May 11);
// "ng" has two accounts.
void fillDatabase(test::TestDatabase& database) {
    database.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, "
                                 "extra3) VALUES ('ng', 'Ann', 'Ng', 1), ('bo', 'Bo', 'Berg', "
                                 "1), ('cy', 'Cy', 'Cole', 2)"));
    database.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name) VALUES "
                                 "(10, 'North Clinic'), (11, 'East Clinic')"));
    database.exec(QStringLiteral(
        "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, number_rpts_modified, "
        "lines_modified, incent_pay, incent_pay_modified) VALUES "
        "('ng', 10, '2024-05-06', 2, 200, 30, 30), ('ng', 11, '2024-05-07', 1, 100, 5, 12.5), "
        "('bo', 10, '2024-05-06', 4, 90, 50, 50), ('cy', 10, '2024-04-30', 3, 300, 20, 20)"));
}

struct Window {
    test::TestDatabase database;
    test::ScriptedMessages messages;
    std::unique_ptr<frmPayPeriodReport> form;
    QStringList chosenFiles;

    explicit Window(bool partitionMode = false) {
        fillDatabase(database);
        form = std::make_unique<frmPayPeriodReport>(report::PayPeriodReportSettings{
            database.connection(),
            messages,
            2,
            1,
            partitionMode,
            {{1, QStringLiteral("North")}, {2, QStringLiteral("South")}},
            QDate(2024, 5, 8)});
        form->setFileChooser([this](const QString&, const QString&, const QString&) {
            return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
        });
    }

    template <typename T> T* child(const char* name) const {
        return form->findChild<T*>(QLatin1String(name));
    }
    PayPeriodReportModel& users() const {
        return *static_cast<PayPeriodReportModel*>(child<QTableView>("tblReportUsers")->model());
    }
    PayPeriodReportModel& accounts() const {
        return *static_cast<PayPeriodReportModel*>(child<QTableView>("tblReportAccounts")->model());
    }
    QString cell(const PayPeriodReportModel& model, int row, report::ReportColumn column) const {
        return model.index(row, static_cast<int>(column)).data().toString();
    }
    void choose(int periodIndex, const QDate& from, const QDate& to = {}) {
        child<QComboBox>("cmbReportPeriod")->setCurrentIndex(periodIndex);
        child<QDateEdit>("dtpReportFrom")->setDate(from);
        if (to.isValid())
            child<QDateEdit>("dtpReportTo")->setDate(to);
    }
};

} // namespace

class TestPayPeriodReportWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The bi-week around the given day lists every user with the total row last, whichever
    // column sorts the table and in which direction; a click on a user shows that user's
    // accounts with the user's own figures as their total.
    void tableSortsWithTotalLast() {
        Window w;
        QAbstractItemModelTester tester(&w.users());
        QVERIFY(w.form->showReport());
        using report::ReportColumn;
        QCOMPARE(w.users().rowCount(), 4);
        QCOMPARE(w.cell(w.users(), 0, ReportColumn::Name), QStringLiteral("Berg, Bo"));
        for (Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder}) {
            w.child<QTableView>("tblReportUsers")->sortByColumn(7, order);
            QCOMPARE(w.cell(w.users(), 3, ReportColumn::Key), QStringLiteral("Total"));
            QCOMPARE(w.cell(w.users(), 3, ReportColumn::IPay), QStringLiteral("112.50"));
            QCOMPARE(w.cell(w.users(), order == Qt::DescendingOrder ? 0 : 2, ReportColumn::Key),
                     QStringLiteral("bo"));
        }
        const int ng = w.cell(w.users(), 0, ReportColumn::Key) == QLatin1String("ng") ? 0 : 1;
        QCOMPARE(w.cell(w.users(), ng, ReportColumn::Key), QStringLiteral("ng"));
        w.form->showAccounts(ng);
        QCOMPARE(w.accounts().rowCount(), 3);
        QCOMPARE(w.cell(w.accounts(), 0, ReportColumn::Name), QStringLiteral("East Clinic"));
        QCOMPARE(w.cell(w.accounts(), 0, ReportColumn::IPay), QStringLiteral("12.50"));
        QCOMPARE(w.cell(w.accounts(), 2, ReportColumn::IPay), QStringLiteral("42.50"));
        w.form->showAccounts(3);
        QCOMPARE(w.accounts().rowCount(), 1);
        QVERIFY(w.messages.shown.isEmpty());
    }

    // A period without production shows the zero total row and says so; a range whose first
    // date is after its last, or no partition ticked, is refused with a message and the table
    // keeps what it showed.
    void emptyAndRefusedChoices() {
        Window w(true);
        w.choose(2, QDate(2023, 1, 15));
        QVERIFY(w.form->showReport());
        QCOMPARE(w.users().rowCount(), 1);
        QCOMPARE(w.cell(w.users(), 0, report::ReportColumn::IPay), QStringLiteral("0.00"));
        QVERIFY(
            w.child<QLabel>("lblReportStatus")->text().contains(QStringLiteral("No production")));

        w.choose(3, QDate(2024, 5, 1), QDate(2024, 4, 1));
        QVERIFY(!w.form->showReport());
        QCOMPARE(w.messages.shown.size(), 1);
        QCOMPARE(w.messages.shown[0].icon, common::MessageIcon::Warning);

        w.choose(3, QDate(2024, 4, 1), QDate(2024, 5, 31));
        auto* partitions = w.child<QListWidget>("lstReportPartitions");
        partitions->item(0)->setCheckState(Qt::Unchecked);
        QVERIFY(w.form->showReport());
        QCOMPARE(w.users().rowCount(), 2);
        QCOMPARE(w.cell(w.users(), 0, report::ReportColumn::Key), QStringLiteral("cy"));
        partitions->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(!w.form->showReport());
        QCOMPARE(w.messages.shown.size(), 2);
        QCOMPARE(w.users().rowCount(), 2);
    }

    // The three exports write the table as shown; an export to a folder that does not exist
    // says why and writes nothing; a cancelled save dialog does nothing.
    void exports() {
        Window w;
        QVERIFY(w.form->showReport());
        QTemporaryDir dir;
        w.chosenFiles = {dir.filePath(QStringLiteral("bi-week")),
                         dir.filePath(QStringLiteral("bi-week.xlsx")),
                         dir.filePath(QStringLiteral("bi-week.pdf")),
                         dir.filePath(QStringLiteral("gone/bi-week.csv"))};
        w.form->exportCsv();
        w.form->exportXlsx();
        w.form->printPdf();
        QVERIFY(w.messages.shown.isEmpty());
        QFile csv(dir.filePath(QStringLiteral("bi-week.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().startsWith("\xEF\xBB\xBFUser ID,Name,"));
        QFile xlsx(dir.filePath(QStringLiteral("bi-week.xlsx")));
        QVERIFY(xlsx.open(QIODevice::ReadOnly));
        QVERIFY(xlsx.read(2) == "PK");
        QFile pdf(dir.filePath(QStringLiteral("bi-week.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        w.form->exportCsv();
        QCOMPARE(w.messages.shown.size(), 1);
        QCOMPARE(w.messages.shown[0].icon, common::MessageIcon::Critical);
        QVERIFY(w.messages.shown[0].text.contains(QStringLiteral("could not be written")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("gone"))));
        w.form->exportCsv(); // nothing chosen
        QCOMPARE(w.messages.shown.size(), 1);
    }

    // A database failure is reported once, with its number; nothing can be exported before a
    // report has been shown.
    void databaseFailureIsReported() {
        Window w;
        w.database.exec(QStringLiteral("DROP TABLE Trans_info"));
        QVERIFY(!w.form->showReport());
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY(w.messages.shown[0].text.startsWith(QStringLiteral(
            "An Error Occurred Attempting To Make The Pay Period Report.\n\nError ")));
        QVERIFY(!w.child<QPushButton>("cmdReportExportCsv")->isEnabled());
        QTemporaryDir dir;
        w.chosenFiles = {dir.filePath(QStringLiteral("never.csv"))};
        w.form->exportCsv();
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("never.csv"))));
    }
};

VELORA_TEST(TestPayPeriodReportWindow)
#include "TestPayPeriodReportWindow.moc"
