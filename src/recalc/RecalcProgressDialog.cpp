#include "RecalcProgressDialog.h"

#include "engine/UpdateEngine.h"

namespace velora::recalc {

RecalcProgressDialog::RecalcProgressDialog(engine::UpdateEngine& engine, QWidget* parent)
    : QProgressDialog(tr("Recalculating incentive values..."), tr("&Cancel"), 0, 100, parent)
    , engine_(engine) {
    setObjectName(QStringLiteral("frmRecalcProgress"));
    setWindowTitle(QStringLiteral("Velora Incentive"));
    setWindowModality(Qt::ApplicationModal);
    setMinimumDuration(400); // a one-user recalculation finishes before it would appear
    setAutoClose(false);
    setAutoReset(false);
    setMinimumWidth(380);
    connect(&engine_, &engine::UpdateEngine::progress, this, &RecalcProgressDialog::showProgress);
    connect(this, &QProgressDialog::canceled, &engine_, &engine::UpdateEngine::cancel);
}

void RecalcProgressDialog::showProgress(qint64 rowsDone, qint64 rowsToDo) {
    // Row counts can exceed int; the bar works in percent.
    setValue(rowsToDo > 0 ? static_cast<int>(rowsDone * 100 / rowsToDo) : 0);
    setLabelText(tr("Recalculating incentive values...\n%1 of %2 rows")
                     .arg(QLocale().toString(rowsDone), QLocale().toString(rowsToDo)));
}

} // namespace velora::recalc
