#include "NumbersPage.h"

#include "NumberField.h"
#include "WizardState.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "suite/HXRegion.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velora::wizard {

namespace {

constexpr int kAccountColumn = 0;
constexpr int kRateColumn = 1;
constexpr int kReasonColumn = 2;

QString bandName(const char* prefix, int band) {
    return QLatin1String(prefix) + QStringLiteral("_%1").arg(band);
}

} // namespace

NumbersPage::NumbersPage(WizardState& state, QWidget* parent)
    : QWizardPage(parent)
    , state_(state)
    , form_(new QFormLayout)
    , help_(new QLabel(this))
    , bands_(new QSpinBox(this))
    , accounts_(new QTableWidget(0, 3, this)) {
    setObjectName(QStringLiteral("pgNumbers"));
    setTitle(QStringLiteral("The numbers of the scheme"));
    help_->setObjectName(QStringLiteral("lblNumbersHelp"));
    help_->setWordWrap(true);
    const QString example = state_.region.locale().toString(0.085, 'f', 3);
    bands_->setObjectName(QStringLiteral("spnBands"));
    bands_->setRange(2, SchemeValidator::kMaxBands);
    bands_->setMaximumWidth(80);
    form_->addRow(QStringLiteral("Number of bands:"), bands_);
    for (int band = 0; band < SchemeValidator::kMaxBands - 1; ++band) {
        addField(bandName("bandLimit", band),
                 QStringLiteral("Band %1 holds lines up to:").arg(band + 1),
                 state_.region.locale().toString(1000 * (band + 1)));
        addField(bandName("bandRate", band), QStringLiteral("Band %1 rate per line:").arg(band + 1),
                 example);
    }
    addField(QStringLiteral("lastBandRate"), QStringLiteral("Rate past the last band:"), example);
    addField(QStringLiteral("standard"), QStringLiteral("Standard, lines per hour:"),
             QStringLiteral("150"));
    addField(QStringLiteral("rate"), QStringLiteral("Rate per line:"), example);
    addField(QStringLiteral("threshold"), QStringLiteral("Lines in the month before the bonus:"),
             state_.region.locale().toString(30000));
    addField(QStringLiteral("bonusRate"), QStringLiteral("Bonus per line past it:"),
             state_.region.locale().toString(0.02, 'f', 2));
    addField(QStringLiteral("minimumPerHour"), QStringLiteral("Guaranteed pay per hour:"),
             state_.region.locale().toString(10.0, 'f', 2));
    accounts_->setObjectName(QStringLiteral("grdAccountRates"));
    accounts_->setHorizontalHeaderLabels(
        {QStringLiteral("Client account"), QStringLiteral("Own rate"), QString()});
    accounts_->horizontalHeader()->setSectionResizeMode(kAccountColumn,
                                                        QHeaderView::ResizeToContents);
    accounts_->horizontalHeader()->setStretchLastSection(true);
    accounts_->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help_);
    layout->addLayout(form_);
    layout->addWidget(accounts_, 10);
    layout->addStretch(1); // keeps the fields together when the accounts are not shown
    connect(bands_, &QSpinBox::valueChanged, this, [this] {
        showRowsOfShape();
        check();
    });
    connect(accounts_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kRateColumn)
            check();
    });
    loadAccounts();
}

NumberField* NumbersPage::addField(const QString& name, const QString& label,
                                   const QString& placeholder) {
    auto* field = new NumberField(name, placeholder, this);
    auto* caption = new QLabel(label, this);
    caption->setObjectName(QStringLiteral("lbl") + name);
    form_->addRow(caption, field);
    fields_.insert(name, field);
    labels_.insert(name, caption);
    connect(field, &NumberField::edited, this, &NumbersPage::check);
    return field;
}

void NumbersPage::loadAccounts() {
    QSignalBlocker quiet(accounts_);
    try {
        state_.connection.ensureOpen();
        db::Recordset rs = state_.connection.openRecordset(
            QStringLiteral("SELECT hosp_acct_id, hosp_acct_name FROM Account_info WHERE "
                           "hosp_acct_id > 0 AND is_deleted = 0 ORDER BY hosp_acct_name"));
        for (; !rs.eof(); rs.moveNext()) {
            const int row = accounts_->rowCount();
            accounts_->insertRow(row);
            auto* account = new QTableWidgetItem(rs.value(1).toString());
            account->setData(Qt::UserRole, rs.value(0).toInt());
            account->setFlags(Qt::ItemIsEnabled);
            accounts_->setItem(row, kAccountColumn, account);
            accounts_->setItem(row, kRateColumn, new QTableWidgetItem);
            auto* reason = new QTableWidgetItem;
            reason->setFlags(Qt::ItemIsEnabled);
            reason->setForeground(QColor(0xb0, 0x00, 0x20));
            accounts_->setItem(row, kReasonColumn, reason);
        }
    } catch (const db::DbError& e) {
        help_->setText(QStringLiteral("The accounts could not be read: ") + e.description());
    }
}

void NumbersPage::setRateLabel() {
    static const QMap<SchemeShape, QString> captions{
        {SchemeShape::LineRate, QStringLiteral("Rate per line:")},
        {SchemeShape::ProductionStandard, QStringLiteral("Rate per line above the standard:")},
        {SchemeShape::MonthlyBonus, QStringLiteral("Base rate per line:")},
        {SchemeShape::AccountRates, QStringLiteral("Rate of every other account:")},
        {SchemeShape::MinimumGuarantee, QStringLiteral("Rate per line:")},
    };
    labels_.value(QStringLiteral("rate"))->setText(captions.value(state_.answers.shape));
}

void NumbersPage::showRowsOfShape() {
    const SchemeShape shape = state_.answers.shape;
    const bool tiered = shape == SchemeShape::TieredRates;
    QStringList shown;
    if (tiered) {
        for (int band = 0; band < bands_->value() - 1; ++band)
            shown << bandName("bandLimit", band) << bandName("bandRate", band);
        shown << QStringLiteral("lastBandRate");
    } else {
        shown << QStringLiteral("rate");
    }
    if (shape == SchemeShape::ProductionStandard)
        shown.prepend(QStringLiteral("standard"));
    if (shape == SchemeShape::MonthlyBonus)
        shown << QStringLiteral("threshold") << QStringLiteral("bonusRate");
    if (shape == SchemeShape::MinimumGuarantee)
        shown << QStringLiteral("minimumPerHour");
    form_->setRowVisible(bands_, tiered);
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        form_->setRowVisible(it.value(), shown.contains(it.key()));
    accounts_->setVisible(shape == SchemeShape::AccountRates);
}

void NumbersPage::initializePage() {
    const SchemeShape shape = state_.answers.shape;
    const ShapeDescription& description = SchemeShapes::describe(shape);
    setSubTitle(description.title + QStringLiteral(": ") + description.explanation);
    static const QMap<SchemeShape, QString> help{
        {SchemeShape::LineRate, QStringLiteral("Every line of the day is paid at this rate.")},
        {SchemeShape::TieredRates,
         QStringLiteral("The day's lines fill the bands in order; each line is paid at the rate "
                        "of the band it falls in. Each limit must be above the one before.")},
        {SchemeShape::ProductionStandard,
         QStringLiteral("The standard times the hours worked is the day's expected lines; only "
                        "the lines above it are paid.")},
        {SchemeShape::MonthlyBonus,
         QStringLiteral("Every line earns the base rate. Once the month's lines for the same "
                        "client account pass the threshold, each further line also earns the "
                        "bonus.")},
        {SchemeShape::AccountRates,
         QStringLiteral("Type an own rate beside each client account that is paid differently; "
                        "accounts left empty are paid at the rate of every other account.")},
        {SchemeShape::MinimumGuarantee,
         QStringLiteral("A day pays its lines at the rate, or the hours worked times the "
                        "guaranteed pay per hour when that is more.")},
    };
    help_->setText(help.value(shape) +
                   QStringLiteral(" Numbers are typed as this workstation writes them, such as "
                                  "%1.")
                       .arg(state_.region.locale().toString(1234.5, 'f', 2)));
    setRateLabel();
    showRowsOfShape();
    check();
}

SchemeInput NumbersPage::input() const {
    SchemeInput input;
    input.shape = state_.answers.shape;
    const auto text = [this](const QString& name) { return fields_.value(name)->text(); };
    input.rate = text(QStringLiteral("rate"));
    for (int band = 0; band < bands_->value() - 1; ++band) {
        input.bandLimits << text(bandName("bandLimit", band));
        input.bandRates << text(bandName("bandRate", band));
    }
    input.lastBandRate = text(QStringLiteral("lastBandRate"));
    input.standard = text(QStringLiteral("standard"));
    input.threshold = text(QStringLiteral("threshold"));
    input.bonusRate = text(QStringLiteral("bonusRate"));
    input.minimumPerHour = text(QStringLiteral("minimumPerHour"));
    for (int row = 0; row < accounts_->rowCount(); ++row) {
        const QString rate = accounts_->item(row, kRateColumn)->text();
        if (rate.trimmed().isEmpty())
            continue;
        const QTableWidgetItem* account = accounts_->item(row, kAccountColumn);
        input.accounts.append({account->data(Qt::UserRole).toInt(), account->text(), 0});
        input.accountRates.append(rate);
    }
    return input;
}

void NumbersPage::check() {
    const SchemeInput typed = input();
    accountRowsInInput_.clear();
    for (int row = 0; row < accounts_->rowCount(); ++row)
        if (!accounts_->item(row, kRateColumn)->text().trimmed().isEmpty())
            accountRowsInInput_.append(row);
    const QList<FieldProblem> found = SchemeValidator(state_.region).read(typed, state_.answers);
    QMap<QString, QString> reasons;
    for (const FieldProblem& problem : found)
        reasons.insert(problem.field, problem.reason);
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it) {
        NumberField* field = it.value();
        const bool show = checkAll_ || field->touched() || !field->text().isEmpty();
        field->setProblem(show ? reasons.value(it.key()) : QString());
    }
    QSignalBlocker quiet(accounts_);
    for (int row = 0; row < accounts_->rowCount(); ++row)
        accounts_->item(row, kReasonColumn)->setText({});
    for (int i = 0; i < accountRowsInInput_.size(); ++i)
        accounts_->item(accountRowsInInput_[i], kReasonColumn)
            ->setText(reasons.value(QStringLiteral("accountRate_%1").arg(i)));
    const QString noAccount = reasons.value(QStringLiteral("accounts"));
    accounts_->setToolTip(noAccount);
    if (checkAll_ && !noAccount.isEmpty())
        setSubTitle(noAccount);
}

bool NumbersPage::validatePage() {
    checkAll_ = true;
    check();
    return problems().isEmpty();
}

QStringList NumbersPage::problems() const {
    QStringList lines;
    SchemeAnswers scratch;
    const QList<FieldProblem> found = SchemeValidator(state_.region).read(input(), scratch);
    for (const FieldProblem& problem : found)
        lines << problem.field + QStringLiteral(": ") + problem.reason;
    return lines;
}

QStringList NumbersPage::apply(const SchemeInput& input) {
    QStringList unknown;
    const auto type = [this](const QString& name, const QString& text) {
        fields_.value(name)->setText(text);
    };
    type(QStringLiteral("rate"), input.rate);
    bands_->setValue(
        qBound(2, static_cast<int>(input.bandLimits.size()) + 1, SchemeValidator::kMaxBands));
    for (int band = 0; band < input.bandLimits.size() && band < SchemeValidator::kMaxBands - 1;
         ++band) {
        type(bandName("bandLimit", band), input.bandLimits[band]);
        type(bandName("bandRate", band), input.bandRates.value(band));
    }
    if (input.bandLimits.size() > SchemeValidator::kMaxBands - 1)
        unknown << QStringLiteral("At most %1 bands.").arg(SchemeValidator::kMaxBands);
    type(QStringLiteral("lastBandRate"), input.lastBandRate);
    type(QStringLiteral("standard"), input.standard);
    type(QStringLiteral("threshold"), input.threshold);
    type(QStringLiteral("bonusRate"), input.bonusRate);
    type(QStringLiteral("minimumPerHour"), input.minimumPerHour);
    for (int i = 0; i < input.accounts.size(); ++i) {
        int found = -1;
        for (int row = 0; row < accounts_->rowCount() && found < 0; ++row)
            if (accounts_->item(row, kAccountColumn)->data(Qt::UserRole).toInt() ==
                input.accounts[i].accountId)
                found = row;
        if (found < 0)
            unknown << QStringLiteral("Account %1 is not in the database.")
                           .arg(input.accounts[i].accountId);
        else
            accounts_->item(found, kRateColumn)->setText(input.accountRates.value(i));
    }
    check();
    return unknown;
}

} // namespace velora::wizard
