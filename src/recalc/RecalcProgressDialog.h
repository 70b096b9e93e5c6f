#pragma once

#include <QProgressDialog>

namespace velora::engine {
class UpdateEngine;
}

namespace velora::recalc {

// The engine's progress while it recalculates: rows done of rows to do, and Cancel, which asks
// the engine to stop (the open batch is rolled back and Run fails with error 6).
class RecalcProgressDialog : public QProgressDialog {
    Q_OBJECT

public:
    RecalcProgressDialog(engine::UpdateEngine& engine, QWidget* parent);

private:
    void showProgress(qint64 rowsDone, qint64 rowsToDo);

    engine::UpdateEngine& engine_;
};

} // namespace velora::recalc
