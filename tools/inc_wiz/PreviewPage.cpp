#include "PreviewPage.h"

#include "ExchangeFile.h"
#include "FormulaPreview.h"
#include "FormulaTemplate.h"
#include "WizardState.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"
#include "engine/RecalcSettings.h"
#include "suite/HXRegion.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

namespace velora::wizard {

namespace {

QString withNewlines(const QString& text) {
    QString lines = text;
    return lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* resultLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(90);
    label->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return label;
}

} // namespace

PreviewPage::PreviewPage(WizardState& state, QWidget* parent)
    : QWizardPage(parent)
    , state_(state)
    , text_(new QPlainTextEdit(this))
    , status_(new QLabel(this))
    , users_(new QComboBox(this))
    , accounts_(new QComboBox(this))
    , day_(new QDateEdit(this))
    , hours_(resultLabel(QStringLiteral("lblResultIHours"), this))
    , lines_(resultLabel(QStringLiteral("lblResultILines"), this))
    , pay_(resultLabel(QStringLiteral("lblResultIPay"), this))
    , weekCaption_(new QLabel(this))
    , week_(new QTableWidget(8, 4, this))
    , pause_(new QTimer(this)) {
    setObjectName(QStringLiteral("pgPreview"));
    setTitle(QStringLiteral("Preview"));
    setSubTitle(QStringLiteral("The formula written from your answers, and what it pays on "
                               "real data. You may change the text; it is checked as you type."));
    text_->setObjectName(QStringLiteral("txtFormulaText"));
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    status_->setObjectName(QStringLiteral("lblCompileStatus"));
    status_->setWordWrap(true);
    users_->setObjectName(QStringLiteral("cmbUser"));
    accounts_->setObjectName(QStringLiteral("cmbAccount"));
    day_->setObjectName(QStringLiteral("dtpDay"));
    day_->setDisplayFormat(state_.region.DateFormat());
    day_->setCalendarPopup(true);
    weekCaption_->setObjectName(QStringLiteral("lblWeek"));
    weekCaption_->setWordWrap(true);
    week_->setObjectName(QStringLiteral("grdWeek"));
    week_->setHorizontalHeaderLabels({QStringLiteral("Day"), QStringLiteral("Pay, new formula"),
                                      QStringLiteral("Pay stored now"),
                                      QStringLiteral("Difference")});
    week_->verticalHeader()->hide();
    week_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    week_->setMinimumHeight(9 * (fontMetrics().height() + 6) + 4);
    week_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    week_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    week_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    week_->setSelectionMode(QAbstractItemView::NoSelection);
    pause_->setSingleShot(true);
    pause_->setInterval(300);

    auto* trial = new QGridLayout;
    trial->addWidget(new QLabel(QStringLiteral("User:"), this), 0, 0);
    trial->addWidget(users_, 0, 1);
    trial->addWidget(new QLabel(QStringLiteral("Account:"), this), 0, 2);
    trial->addWidget(accounts_, 0, 3);
    trial->addWidget(new QLabel(QStringLiteral("Day:"), this), 0, 4);
    trial->addWidget(day_, 0, 5);
    trial->addWidget(new QLabel(QStringLiteral("Incentive hours:"), this), 1, 0);
    trial->addWidget(hours_, 1, 1);
    trial->addWidget(new QLabel(QStringLiteral("Incentive lines:"), this), 1, 2);
    trial->addWidget(lines_, 1, 3);
    trial->addWidget(new QLabel(QStringLiteral("Pay:"), this), 1, 4);
    trial->addWidget(pay_, 1, 5);
    trial->setColumnStretch(1, 2);
    trial->setColumnStretch(3, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(status_);
    layout->addLayout(trial);
    layout->addWidget(weekCaption_);
    layout->addWidget(week_);

    connect(text_, &QPlainTextEdit::textChanged, pause_, qOverload<>(&QTimer::start));
    connect(pause_, &QTimer::timeout, this, &PreviewPage::refresh);
    connect(users_, &QComboBox::currentIndexChanged, this, &PreviewPage::userChosen);
    connect(accounts_, &QComboBox::currentIndexChanged, this, &PreviewPage::showDayResults);
    connect(day_, &QDateEdit::dateChanged, this, &PreviewPage::showDayResults);
    loadUsers();
}

QString PreviewPage::money(double value) const {
    return state_.region.locale().toString(value, 'f', 2);
}

void PreviewPage::loadUsers() {
    QSignalBlocker quietUsers(users_);
    QSignalBlocker quietAccounts(accounts_);
    try {
        state_.connection.ensureOpen();
        db::Recordset users = state_.connection.openRecordset(QStringLiteral(
            "SELECT trans_id, first_name, last_name FROM Trans_info WHERE trans_type = 1 AND "
            "is_deleted = 0 ORDER BY last_name, first_name, trans_id"));
        for (; !users.eof(); users.moveNext())
            users_->addItem(users.value(2).toString().trimmed() + QStringLiteral(", ") +
                                users.value(1).toString().trimmed() + QStringLiteral(" (") +
                                users.value(0).toString() + QLatin1Char(')'),
                            users.value(0));
        db::Recordset accounts = state_.connection.openRecordset(
            QStringLiteral("SELECT hosp_acct_id, hosp_acct_name FROM Account_info WHERE "
                           "hosp_acct_id > 0 ORDER BY hosp_acct_name"));
        for (; !accounts.eof(); accounts.moveNext())
            accounts_->addItem(accounts.value(1).toString(), accounts.value(0));
        // Start with the user who worked last, on that day and account.
        db::Recordset latest = state_.connection.openRecordset(
            QStringLiteral("SELECT trans_id, hosp_acct_id, shift_date FROM Trans_incentive "
                           "WHERE shift_date = (SELECT MAX(shift_date) FROM Trans_incentive) "
                           "ORDER BY trans_id, hosp_acct_id"));
        if (!latest.eof()) {
            users_->setCurrentIndex(qMax(0, users_->findData(latest.value(0))));
            accounts_->setCurrentIndex(qMax(0, accounts_->findData(latest.value(1))));
            day_->setDate(QDate::fromString(latest.value(2).toString().left(10), Qt::ISODate));
        }
    } catch (const db::DbError& e) {
        status_->setText(QStringLiteral("The users and accounts could not be read: ") +
                         e.description());
    }
}

void PreviewPage::userChosen() {
    try {
        state_.connection.ensureOpen();
        const QString user = db::sqlTextLiteral(users_->currentData().toString());
        db::Recordset latest = state_.connection.openRecordset(
            QStringLiteral("SELECT hosp_acct_id, shift_date FROM Trans_incentive WHERE "
                           "trans_id = ") +
            user +
            QStringLiteral(" AND shift_date = (SELECT MAX(shift_date) FROM Trans_incentive "
                           "WHERE trans_id = ") +
            user + QStringLiteral(") ORDER BY hosp_acct_id"));
        if (!latest.eof()) {
            QSignalBlocker quietAccounts(accounts_);
            QSignalBlocker quietDay(day_);
            accounts_->setCurrentIndex(qMax(0, accounts_->findData(latest.value(0))));
            day_->setDate(QDate::fromString(latest.value(1).toString().left(10), Qt::ISODate));
        }
    } catch (const db::DbError& e) {
        status_->setText(QStringLiteral("The user's days could not be read: ") + e.description());
    }
    showDayResults();
    showWeek();
}

void PreviewPage::initializePage() {
    const QString generated = withNewlines(FormulaTemplate::generate(state_.answers));
    const QString current = formulaText();
    const bool edited = !current.isEmpty() && current != lastGenerated_;
    if (!edited || (generated != lastGenerated_ &&
                    state_.messages.ask(QStringLiteral("Your answers have changed. Replace the "
                                                       "formula text you edited by the one "
                                                       "written from the new answers?"),
                                        WizardState::kTitle)))
        setFormulaText(generated);
    lastGenerated_ = generated;
    refresh();
}

QString PreviewPage::formulaText() const {
    return text_->toPlainText();
}

void PreviewPage::setFormulaText(const QString& text) {
    text_->setPlainText(withNewlines(text));
    refresh();
}

void PreviewPage::refresh() {
    pause_->stop();
    showCompileResult();
    showDayResults();
    showWeek();
}

void PreviewPage::showCompileResult() {
    const engine::FormulaError error = FormulaPreview::compileError(formulaText());
    QList<QTextEdit::ExtraSelection> marks;
    if (error.isError()) {
        problem_ = QStringLiteral("Error %1 on line %2: %3")
                       .arg(error.number)
                       .arg(error.line)
                       .arg(error.description);
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(text_->document()->findBlockByNumber(qMax(0, error.line - 1)));
        mark.format.setBackground(QColor(0xff, 0xd6, 0xd6));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(mark);
    } else {
        problem_ = ExchangeFile::problem(QString(), QString(), formulaText());
    }
    text_->setExtraSelections(marks);
    status_->setText(problem_.isEmpty() ? QStringLiteral("The formula compiles.") : problem_);
    status_->setStyleSheet(problem_.isEmpty() ? QStringLiteral("color: #1b5e20;")
                                              : QStringLiteral("color: #b00020;"));
}

void PreviewPage::showDayResults() {
    if (!problem_.isEmpty() || users_->count() == 0) {
        for (QLabel* label : {hours_, lines_, pay_})
            label->clear();
        return;
    }
    FormulaPreview preview(state_.connection);
    const FormulaPreview::DayResults day =
        preview.day(formulaText(), users_->currentData().toString(),
                    accounts_->currentData().toInt(), day_->date());
    if (day.error.isError()) {
        for (QLabel* label : {hours_, lines_, pay_})
            label->clear();
        status_->setText(QStringLiteral("Error %1 on line %2 for this day: %3")
                             .arg(day.error.number)
                             .arg(day.error.line)
                             .arg(day.error.description));
        return;
    }
    const QLocale& locale = state_.region.locale();
    hours_->setText(locale.toString(day.results.hours, 'f', 2));
    lines_->setText(locale.toString(day.results.lines, 'f', 2));
    pay_->setText(money(day.results.pay));
}

void PreviewPage::showWeek() {
    int firstDayOfWeek = 1;
    try {
        state_.connection.ensureOpen();
        firstDayOfWeek = engine::RecalcSettings::read(state_.connection).firstDayOfWeek;
    } catch (const db::DbError&) {
        // The week then starts on Sunday, the preference's own default.
    }
    const QDate first = FormulaPreview::lastFullWeek(today_, firstDayOfWeek);
    weekCaption_->setText(QStringLiteral("Pay of %1 in the last full week, %2 to %3, all "
                                         "accounts:")
                              .arg(users_->currentText(), state_.region.formatDate(first),
                                   state_.region.formatDate(first.addDays(6))));
    week_->clearContents();
    if (!problem_.isEmpty() || users_->count() == 0)
        return;
    FormulaPreview preview(state_.connection);
    const FormulaPreview::Week week =
        preview.week(formulaText(), users_->currentData().toString(), first);
    const auto put = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                           : Qt::AlignRight | Qt::AlignVCenter);
        week_->setItem(row, column, item);
    };
    for (int i = 0; i < week.days.size(); ++i) {
        const FormulaPreview::WeekDay& day = week.days[i];
        put(i, 0,
            state_.region.locale().dayName(day.day.dayOfWeek(), QLocale::ShortFormat) +
                QLatin1Char(' ') + state_.region.formatDate(day.day));
        if (day.rows == 0)
            continue;
        put(i, 1, money(day.newPay));
        put(i, 2, money(day.storedPay));
        put(i, 3, money(day.newPay - day.storedPay));
    }
    put(7, 0, QStringLiteral("Week"));
    put(7, 1, money(week.newTotal));
    put(7, 2, money(week.storedTotal));
    put(7, 3, money(week.newTotal - week.storedTotal));
    for (int column = 0; column < week_->columnCount(); ++column) {
        QFont bold = week_->item(7, column)->font();
        bold.setBold(true);
        week_->item(7, column)->setFont(bold);
    }
    if (week.error.isError())
        weekCaption_->setText(weekCaption_->text() + QStringLiteral(" (incomplete: error %1: %2)")
                                                         .arg(week.error.number)
                                                         .arg(week.error.description));
}

QString PreviewPage::problem() const {
    return problem_;
}

bool PreviewPage::validatePage() {
    refresh();
    return problem_.isEmpty();
}

} // namespace velora::wizard
