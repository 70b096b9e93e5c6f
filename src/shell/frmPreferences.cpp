#include "frmPreferences.h"

#include "widgets/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

namespace velora::shell {

namespace {

// Design geometry in pixels. Outside partition mode the display frame, the tabs and the
// dialog lose the partition row's height, which hides it, and the buttons move up.
constexpr int kWidth = 480;
constexpr int kTabsHeight = 410;
constexpr int kDisplayFrameHeight = 198;
constexpr int kPartitionRowTwips = 720;

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* describe(QWidget* parent, const char* name, const QString& text, const QRect& at) {
    auto* label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(at);
    return label;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    auto* box = named(new QGroupBox(caption, parent), name);
    box->setGeometry(at);
    return box;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& texts, const QList<int>& data,
                const QRect& at) {
    auto* combo = named(new QComboBox(parent), name);
    for (qsizetype i = 0; i < texts.size(); ++i)
        combo->addItem(texts[i], data[i]);
    combo->setGeometry(at);
    return combo;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    auto* box = named(new QCheckBox(caption, parent), name);
    box->setGeometry(at);
    return box;
}

void select(QComboBox* combo, int itemData) {
    combo->setCurrentIndex(std::max(0, combo->findData(itemData)));
}

} // namespace

frmPreferences::frmPreferences(PreferencesForm& form, QWidget* owner)
    : QDialog(owner)
    , form_(form) {
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(tr("Preferences"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    tabs_ = named(new QTabWidget(this), "PreferencesSSTab");
    tabs_->addTab(buildDisplayTab(), tr("Display"));
    tabs_->addTab(buildProcessingTab(), tr("   Processing"));
    nonAdminWarning_ =
        named(new QLabel(tr("Disabled options are only available to users in the admin partition."),
                         this),
              "NonAdminWarningLabel");
    nonAdminWarning_->setWordWrap(true);
    ok_ = named(new QPushButton(tr("&OK"), this), "cmdPreferencesOk");
    ok_->setDefault(true);
    cancel_ = named(new QPushButton(tr("&Cancel"), this), "cmdPreferencesCancel");
    connect(ok_, &QPushButton::clicked, this, &frmPreferences::onOk);
    connect(cancel_, &QPushButton::clicked, this, &frmPreferences::reject);
    placeControls();
    applyRules();
    showChoices(form_.load());
    centreOnScreen();
}

QWidget* frmPreferences::buildDisplayTab() {
    auto* page = new QWidget;
    QGroupBox* dates = frame(page, "fraHourType", tr("Dates and Times"), {8, 8, 440, 150});
    describe(dates, "lblFirstDayOfThWeekDescLabel",
             tr("Please select the first day of the week you wish to use throughout the "
                "Zarererov Avudezez program."),
             {10, 20, 420, 32});
    cmbDayOfWeek_ = list(dates, "cmbDayOfWeek",
                         {tr("Sunday"), tr("Monday"), tr("Tuesday"), tr("Wednesday"),
                          tr("Thursday"), tr("Friday"), tr("Saturday")},
                         PreferencesForm::dayOfWeekItems(), {10, 54, 200, 24});
    describe(dates, "lblHourTypeDescLabel",
             tr("Please select the hour type you wish to use throughout the Zarererov Avudezez "
                "program."),
             {10, 84, 420, 32});
    cmbHourType_ = list(dates, "cmbHourType", {tr("System Hours"), tr("Hours Typed")},
                        PreferencesForm::hourTypeItems(), {10, 118, 200, 24});

    fraDisplay_ = frame(page, "fraDisplay", tr("Users, Formulas and Groups"),
                        {8, 166, 440, kDisplayFrameHeight});
    describe(fraDisplay_, "Label2",
             tr("Please select if you wish to display information for non-active accounts and "
                "users.  NOTE: Include deleted reports has no effect on previously locked data."),
             {10, 20, 420, 48});
    chkShowDeletedAccounts_ = check(fraDisplay_, "chkShowDeletedAccounts",
                                    tr("Show Deleted &Accounts"), {10, 70, 300, 22});
    chkShowDeletedUsers_ =
        check(fraDisplay_, "chkShowDeletedUsers", tr("Show Deleted &Users"), {10, 94, 300, 22});
    chkIncludeDeletedReports_ = check(fraDisplay_, "chkIncludeDeletedReports",
                                      tr("&Include Deleted Reports"), {10, 118, 300, 22});
    describe(fraDisplay_, "Label5",
             tr("Please select how you would like partition information to appear."),
             {10, 150, 420, 18});
    cmbPartitionDisplay_ = list(
        fraDisplay_, "cmbPartitionDisplay",
        {QStringLiteral("Partition \\ Last, First"), QStringLiteral("Last, First \\ Partition")},
        PreferencesForm::partitionDisplayItems(), {10, 170, 200, 24});
    return page;
}

QWidget* frmPreferences::buildProcessingTab() {
    auto* page = new QWidget;
    QGroupBox* autoLock = frame(page, "fraAutoLock", tr("Auto Locking"), {8, 8, 440, 100});
    describe(autoLock, "Label1",
             tr("Please enter the number of days inside this program to begin locking the "
                "records so that the processing may be done quicker."),
             {10, 20, 420, 48});
    txtAutoLock_ = named(new QLineEdit(QStringLiteral("30"), autoLock), "txtAutoLock");
    txtAutoLock_->setGeometry(10, 70, 80, 24);

    QGroupBox* wizard = frame(page, "fraFormulaWizard", tr("Formula Wizard"), {8, 116, 440, 84});
    describe(wizard, "Label3",
             tr("Please select if you wish to be prompted to use the formula wizard when "
                "creating new formulas"),
             {10, 20, 420, 32});
    chkEnableFormulaWizrd_ =
        check(wizard, "chkEnableFormulaWizrd", tr("Enable Formula &Wizard"), {10, 54, 300, 22});

    QGroupBox* eom = frame(page, "fraEOMAdjustment", tr("EOM Adjustment"), {8, 208, 440, 100});
    describe(eom, "Label4",
             tr("Please select this option if you would like to permit monthly calculations "
                "even if the user did not work on the last day of the month."),
             {10, 20, 420, 48});
    chkEOMAdjustment_ =
        check(eom, "chkEOMAdjustment", tr("Enable &EOM Adjustment"), {10, 70, 300, 22});
    return page;
}

void frmPreferences::placeControls() {
    const int shrink =
        form_.partitionDisplayEditable() ? 0 : widgets::Twips::toPixels(kPartitionRowTwips);
    fraDisplay_->resize(fraDisplay_->width(), kDisplayFrameHeight - shrink);
    const int tabsHeight = kTabsHeight - shrink;
    tabs_->setGeometry(8, 8, kWidth - 16, tabsHeight);
    const int buttonsTop = 8 + tabsHeight + 8;
    nonAdminWarning_->setGeometry(8, buttonsTop, 280, 32);
    ok_->setGeometry(kWidth - 184, buttonsTop, 84, 28);
    cancel_->setGeometry(kWidth - 92, buttonsTop, 84, 28);
    setFixedSize(kWidth, buttonsTop + 28 + 10);
}

void frmPreferences::applyRules() {
    cancel_->setEnabled(form_.cancelAllowed());
    const bool system = form_.systemValuesEditable();
    for (QWidget* control :
         {static_cast<QWidget*>(cmbHourType_), static_cast<QWidget*>(cmbDayOfWeek_),
          static_cast<QWidget*>(txtAutoLock_), static_cast<QWidget*>(chkEOMAdjustment_)})
        control->setEnabled(system);
    chkIncludeDeletedReports_->setEnabled(form_.includeDeletedReportsEditable());
    const bool partitions = form_.partitionDisplayEditable();
    cmbPartitionDisplay_->setEnabled(partitions);
    if (!partitions)
        cmbPartitionDisplay_->setFocusPolicy(Qt::NoFocus);
    nonAdminWarning_->setVisible(!form_.situation().admin);
}

void frmPreferences::showChoices(const PreferenceChoices& c) {
    select(cmbHourType_, c.hourType);
    select(cmbDayOfWeek_, c.firstDayOfWeek);
    select(cmbPartitionDisplay_, c.partitionDisplay);
    txtAutoLock_->setText(c.autoLock);
    chkIncludeDeletedReports_->setChecked(c.includeDeletedReports);
    chkEOMAdjustment_->setChecked(c.eomAdjustment);
    chkShowDeletedAccounts_->setChecked(c.showDeletedAccounts);
    chkShowDeletedUsers_->setChecked(c.showDeletedUsers);
    chkEnableFormulaWizrd_->setChecked(c.enableFormulaWizard);
}

PreferenceChoices frmPreferences::choices() const {
    PreferenceChoices c;
    c.hourType = cmbHourType_->currentData().toInt();
    c.firstDayOfWeek = cmbDayOfWeek_->currentData().toInt();
    c.partitionDisplay = cmbPartitionDisplay_->currentData().toInt();
    c.autoLock = txtAutoLock_->text();
    c.includeDeletedReports = chkIncludeDeletedReports_->isChecked();
    c.eomAdjustment = chkEOMAdjustment_->isChecked();
    c.showDeletedAccounts = chkShowDeletedAccounts_->isChecked();
    c.showDeletedUsers = chkShowDeletedUsers_->isChecked();
    c.enableFormulaWizard = chkEnableFormulaWizrd_->isChecked();
    return c;
}

void frmPreferences::onOk() {
    if (form_.accept(choices()))
        accept();
}

// Escape and the window's close button end here: in the first-use form they do nothing.
void frmPreferences::reject() {
    if (form_.cancelAllowed())
        QDialog::reject();
}

void frmPreferences::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

} // namespace velora::shell
