#include "common/TestMain.h"
#include "engine/UpdateEngine.h"
#include "report/frmPayPeriodReport.h"
#include "shell/MainWindow.h"
#include "shell/ShellInstallation.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace velora;

namespace {

// The program started on a small installation whose user "sup" has a corrected day in the
// bi-week holding yesterday; the start-up recalculation is done.
struct RunningProgram {
    test::ShellInstallation installation;
    std::unique_ptr<common::AppContext> context = installation.context();
    shell::MainWindow window{*context};
    bool ready = false;

    explicit RunningProgram(const QString& login) {
        const QString day = QDate::currentDate().addDays(-3).toString(Qt::ISODate);
        installation.db.exec(
            QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                           "number_rpts, number_rpts_modified, lines, lines_modified, "
                           "incent_pay, incent_pay_modified) VALUES ('sup', 1, '") +
            day + QStringLiteral("', 2, 3, 100, 140, 10, 99)"));
        installation.addUser(QStringLiteral("op"), QStringLiteral("pw"), QStringLiteral("sup"),
                             {16, 18, 19});
        installation.switches = QStringLiteral("/UNAME=") + login + QStringLiteral(" /PASSWORD=pw");
        if (!window.load())
            return;
        window.show();
        QSignalSpy completions(context->engine.get(), &engine::UpdateEngine::OnUpdateComplete);
        ready = completions.wait(30000);
    }

    QAction* reportAction() const {
        return window.findChild<QAction*>(QStringLiteral("mnuFilePayPeriodReport"));
    }
};

} // namespace

class TestPayPeriodReportInProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // File > Pay Period Report opens the report on the bi-week holding yesterday, with the
    // corrected values the weekly detail shows.
    void fileMenuOpensTheReport() {
        RunningProgram program(QStringLiteral("sup"));
        QVERIFY(program.ready);
        QVERIFY(program.reportAction()->isEnabled());
        QStringList shown;
        QTimer::singleShot(0, [&shown] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* form = qobject_cast<report::frmPayPeriodReport*>(top);
                if (!form || !form->isVisible())
                    continue;
                form->showReport();
                QAbstractItemModel* model =
                    form->findChild<QTableView*>(QStringLiteral("tblReportUsers"))->model();
                for (int c = 0; c < model->columnCount(); ++c)
                    shown << model->index(0, c).data().toString();
                form->accept();
            }
        });
        program.reportAction()->trigger();
        QCOMPARE(shown.mid(0, 4), QStringList({QStringLiteral("sup"), QStringLiteral("Perry, Sue"),
                                               QStringLiteral("3"), QStringLiteral("140")}));
        QCOMPARE(shown.last(), QStringLiteral("99.00"));
        QVERIFY(program.installation.messages.shown.isEmpty());
    }

    // The report belongs to full mode: an operator without that right cannot open it.
    void operatorModeClosesTheReport() {
        RunningProgram program(QStringLiteral("op"));
        QVERIFY(program.ready);
        QVERIFY(!program.reportAction()->isEnabled());
    }
};

VELORA_TEST(TestPayPeriodReportInProgram)
#include "TestPayPeriodReportInProgram.moc"
