#include "FormulaPane.h"

#include "FormulaTextEdit.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velora::formulas {

FormulaPane::FormulaPane(QWidget* parent)
    : QWidget(parent)
    , formulaName_(label("lblFormulaFormulaName", QString()))
    , effectiveDate_(label("lblFormulaEffectiveDate", QString()))
    , text_(new FormulaTextEdit(this))
    , save_(button("cmdFormulaSaveChanges", QStringLiteral("&Save Changes")))
    , revert_(button("cmdFormulaRevertChanges", QStringLiteral("&Revert Changes")))
    , transID_(list("cmbFormulaTransID"))
    , accountID_(list("cmbFormulaAccountID"))
    , shiftDate_(new QLineEdit(this))
    , test_(button("cmdFormulaTestFormula", QStringLiteral("&Test Formula")))
    , inputs_(new QTableWidget(0, 2, this)) {
    setObjectName(QStringLiteral("FormulaPane"));
    text_->setObjectName(QStringLiteral("txtFormulaText"));
    shiftDate_->setObjectName(QStringLiteral("txtFormulaShiftDate"));
    shiftDate_->installEventFilter(this);
    QLabel* title = label("lblFormulaTitleLabel", QStringLiteral("Velora Incentive - Formula"));
    title->setStyleSheet(QStringLiteral("font-size: 15px; font-weight: 600; color: #1f4e79;"));

    auto* facts = new QGridLayout;
    facts->setColumnStretch(1, 1);
    facts->addWidget(label("lblFormulaFormulaNameLabel", QStringLiteral("Formula:")), 0, 0);
    facts->addWidget(formulaName_, 0, 1);
    facts->addWidget(label("lblFormulaEffectiveDateLabel", QStringLiteral("Effective Date:")), 1,
                     0);
    facts->addWidget(effectiveDate_, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(revert_);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(title);
    outer->addLayout(facts);
    outer->addWidget(text_, 3);
    outer->addLayout(buttons);
    outer->addWidget(buildTester(), 2);
}

QGroupBox* FormulaPane::buildTester() {
    auto* frame = new QGroupBox(QStringLiteral(" Formula Tester"), this);
    frame->setObjectName(QStringLiteral("fraFormulaTester"));
    auto* fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    fields->addWidget(label("lblFormulaTransID", QStringLiteral("User ID:")), 0, 0);
    fields->addWidget(transID_, 0, 1);
    fields->addWidget(label("lblFormulaAccountID", QStringLiteral("Account:")), 1, 0);
    fields->addWidget(accountID_, 1, 1);
    fields->addWidget(label("lblFormulaShiftDate", QStringLiteral("Date:")), 2, 0);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(shiftDate_, 1);
    dateRow->addWidget(test_);
    fields->addLayout(dateRow, 2, 1);

    fields->setRowStretch(3, 1);

    // The inputs the last test read sit beside the fields, one compact row each, so the
    // results and the values behind them show together.
    inputs_->setObjectName(QStringLiteral("tblFormulaInputs"));
    inputs_->setHorizontalHeaderLabels({QStringLiteral("Input read"), QStringLiteral("Value")});
    inputs_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    inputs_->horizontalHeader()->setStretchLastSection(true);
    inputs_->verticalHeader()->hide();
    inputs_->verticalHeader()->setDefaultSectionSize(inputs_->fontMetrics().height() + 6);
    inputs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    inputs_->setSelectionMode(QAbstractItemView::NoSelection);
    inputs_->setFocusPolicy(Qt::NoFocus);
    inputs_->setMinimumWidth(220);

    auto* layout = new QHBoxLayout(frame);
    layout->addLayout(fields, 3);
    layout->addWidget(inputs_, 2);
    return frame;
}

bool FormulaPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == shiftDate_ && event->type() == QEvent::FocusOut)
        Q_EMIT shiftDateLeft();
    return QWidget::eventFilter(watched, event);
}

QLabel* FormulaPane::label(const char* name, const QString& text) {
    auto* made = new QLabel(text, this);
    made->setObjectName(QLatin1String(name));
    return made;
}

QPushButton* FormulaPane::button(const char* name, const QString& text) {
    auto* made = new QPushButton(text, this);
    made->setObjectName(QLatin1String(name));
    return made;
}

// A drop-down list: the operator picks an entry, never types one.
QComboBox* FormulaPane::list(const char* name) {
    auto* made = new QComboBox(this);
    made->setObjectName(QLatin1String(name));
    made->setEditable(false);
    made->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return made;
}

} // namespace velora::formulas
