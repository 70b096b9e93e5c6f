#include "UserPanes.h"

#include "UserDetailPane.h"
#include "UserHeaderLoader.h"
#include "UserHeaderPane.h"
#include "WeekLoader.h"
#include "WeekNavigator.h"
#include "WeekPrinter.h"
#include "WeekSaver.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"
#include "common/DetailArea.h"
#include "common/Messages.h"
#include "explorer/ExplorerReactions.h"
#include "groups/EffectiveDateProcedure.h"
#include "groups/GroupAccount.h"
#include "groups/GroupAccountPane.h"
#include "groups/GroupCreator.h"
#include "groups/PromptForValue.h"
#include "groups/UserGroupAssignment.h"

#include <QComboBox>
#include <QPushButton>

namespace velora::detail {

namespace {

constexpr int kBusyAnimation = 201;
// The right that opens groups, formulas and their assignments to the operator.
constexpr int kFullModePrivilege = 17;

// Asked when a save fails while the window closes: No keeps the window open with the edits.
const QString kCloseWithUnsavedWeek =
    QStringLiteral("The changes to the week on screen could not be saved.\r\nClose Velora "
                   "Incentive anyway and lose them?");
const QString kCloseWithUnsavedGroup =
    QStringLiteral("The group chosen for the user could not be saved.\r\nClose Velora "
                   "Incentive anyway and lose it?");

QDate today() {
    return QDate::currentDate();
}

} // namespace

UserPanes::UserPanes(common::AppContext& context, common::DetailArea& details,
                     common::BusyIndicator& busy, QWidget& mainWindow, Hooks hooks)
    : context_(context)
    , details_(details)
    , hooks_(std::move(hooks)) {
    buildPanes(details);
    buildWeek(busy, details, mainWindow);
    buildGroups(busy, details, mainWindow);
    buildGroupAccount(busy, details);
}

UserPanes::~UserPanes() = default;

void UserPanes::buildPanes(common::DetailArea& details) {
    headerPane_ = new UserHeaderPane;
    details.setPaneContent(common::DetailArea::Pane::UserHeader, headerPane_);
    detailPane_ = new UserDetailPane;
    details.setPaneContent(common::DetailArea::Pane::UserDetail, detailPane_);
}

void UserPanes::buildWeek(common::BusyIndicator& busy, common::DetailArea& details,
                          QWidget& mainWindow) {
    common::AppContext& c = context_;
    detail_ = std::make_unique<DetailContext>(DetailContext{
        *c.connection,
        *c.region,
        [&c]() -> const suite::HXLoginUser* { return c.login ? c.login->User() : nullptr; },
        c.messages,
        *detailPane_,
        *headerPane_->cmbUserHeaderGroupName(),
        week_,
        c.currentUser,
        [&c] { return static_cast<int>(c.preferences.hourType); },
        [&c] { return static_cast<int>(c.preferences.firstDayOfWeek); },
        hooks_.selection,
        [&busy] { busy.BeginBusy(false, QString(), QString(), kBusyAnimation); },
        [&busy] { busy.EndBusy(); },
        [&details] { details.showPane(common::DetailArea::Pane::UserDetail); },
    });
    auto loadWeek = [this](const QString& transID, const QString& userName,
                           const QString& accountName, const QString& accountID) {
        loader_->LoadWeek(transID, userName, accountName, accountID);
    };
    auto reloadWeek = [this](const QString& transID, const QString& userName,
                             const QString& accountName, const QString& accountID) {
        loader_->ReloadWeek(transID, userName, accountName, accountID);
    };
    saver_ = std::make_unique<WeekSaver>(
        *detail_, WeekSaver::Actions{reloadWeek, hooks_.recalculate,
                                     [&c](const QString& dateText, QString& transID, int unused,
                                          QString& hours, QString& second, bool flag) {
                                         return c.login->EditWorkTimeInternal(
                                             dateText, transID, unused, hours, second, flag);
                                     }});
    loader_ = std::make_unique<WeekLoader>(*detail_, [this] { return saver_->SaveWeek(); });
    navigator_ = std::make_unique<WeekNavigator>(*detail_, loadWeek);
    printer_ = std::make_unique<WeekPrinter>(mainWindow);
    saver_->bindButtons();
    navigator_->bindStartDate();
    navigator_->bindButtons();
    QObject::connect(detailPane_->print(), &QAbstractButton::clicked, detailPane_,
                     [this] { printer_->PrintWeek(); });
    detailPane_->setHourMode(c.preferences.hourType);
}

void UserPanes::buildGroups(common::BusyIndicator& busy, common::DetailArea& details,
                            QWidget& mainWindow) {
    common::AppContext& c = context_;
    auto partitionDisplay = [&c] { return static_cast<int>(c.preferences.partitionDisplay); };
    prompter_ = std::make_unique<groups::DialogPrompter>(
        &mainWindow, groups::EffectiveDateServices{
                         *c.region, [this] { return navigator_->GetLastLockedDate(); },
                         [&c] { return static_cast<int>(c.preferences.firstDayOfWeek); }, today});
    effectiveDate_ =
        std::make_unique<groups::EffectiveDateProcedure>(*prompter_, c.messages, *c.region, today);
    QComboBox& groupList = *headerPane_->cmbUserHeaderGroupName();
    groupAssignment_ = std::make_unique<groups::UserGroupAssignment>(
        groups::UserGroupEnvironment{*c.connection, c.catalogue, c.partitionMode, partitionDisplay,
                                     c.currentUser, c.messages, *effectiveDate_},
        groupList);
    groupCreator_ = std::make_unique<groups::GroupCreator>(
        groups::GroupCreationEnvironment{*c.connection, c.messages, c.catalogue, c.partitionMode,
                                         partitionDisplay, today, &groupList, hooks_.addGroupNode});
    headerLoader_ = std::make_unique<UserHeaderLoader>(
        UserHeaderEnvironment{
            *c.connection,
            c.catalogue,
            c.partitionMode,
            c.currentUser,
            c.userPartitions,
            c.messages,
            *c.region,
            [&busy] { busy.BeginBusy(false, QString(), QString(), kBusyAnimation); },
            [&busy] { busy.EndBusy(); },
            [&details] { details.showPane(common::DetailArea::Pane::UserHeader); },
            [&details] { return details.isShowing(common::DetailArea::Pane::UserHeader); },
        },
        *headerPane_, *groupAssignment_, *groupCreator_);
}

void UserPanes::buildGroupAccount(common::BusyIndicator& busy, common::DetailArea& details) {
    common::AppContext& c = context_;
    groupAccountPane_ = new groups::GroupAccountPane;
    details.setPaneContent(common::DetailArea::Pane::Account, groupAccountPane_);
    groupAccount_ = std::make_unique<groups::GroupAccount>(
        groups::GroupAccountEnvironment{
            *c.connection,
            c.catalogue,
            c.partitionMode,
            [&c] { return static_cast<int>(c.preferences.partitionDisplay); },
            [this] { return fullMode(); },
            c.messages,
            *effectiveDate_,
            *c.region,
            [&busy] { busy.BeginBusy(false, QString(), QString(), kBusyAnimation); },
            [&busy] { busy.EndBusy(); },
            [&details] { details.showPane(common::DetailArea::Pane::Account); },
        },
        *groupAccountPane_);
}

bool UserPanes::fullMode() const {
    const common::AppContext& c = context_;
    return c.login && c.login->User() && c.login->User()->privilege(kFullModePrivilege);
}

void UserPanes::fillEditors(explorer::ExplorerEditors& editors) {
    editors.loadUser = [this](const QString& transID, const QString& userName) {
        headerLoader_->LoadUser(transID, userName, false);
    };
    editors.loadWeek = [this](const QString& transID, const QString& userName,
                              const QString& accountName, const QString& accountID) {
        loader_->LoadWeek(transID, userName, accountName, accountID);
    };
    editors.saveUserGroup = [this] {
        bool force = false;
        groupAssignment_->SaveUserGroup(force);
    };
    editors.saveWeek = [this] { return leaveWeek(); };
    editors.loadGroupAccount = [this](const QString& groupID, const QString& accountID,
                                      const QString& accountName, const QString& groupName) {
        groupAccount_->LoadGroupAccount(groupID, accountID, accountName, groupName);
        if (context_.partitionMode)
            groupAccount_->FillPayFormulaList();
    };
    editors.saveGroupAccount = [this] { groupAccount_->SaveGroupAccount(); };
}

void UserPanes::FillGroupList() {
    groupAssignment_->FillGroupList();
}

void UserPanes::FillPayFormulaList() {
    groupAccount_->FillPayFormulaList();
}

void UserPanes::loadCurrentWeek() {
    const CurrentSelection current = hooks_.selection();
    loader_->LoadWeek(current.transID, current.userName, current.accountName, current.accountID);
}

bool UserPanes::reloadShownWeek() {
    if (!details_.isShowing(common::DetailArea::Pane::UserDetail))
        return false;
    loadCurrentWeek();
    return true;
}

bool UserPanes::leaveWeek() {
    if (saver_->SaveWeek())
        return true;
    if (!context_.messages.ask(WeekLoader::discardQuestion()))
        return false;
    saver_->DiscardEdits();
    return true;
}

bool UserPanes::saveOnUnload() {
    if (!saver_->SaveWeek() && !context_.messages.ask(kCloseWithUnsavedWeek))
        return false;
    groupAccount_->SaveGroupAccount();
    bool force = false;
    return groupAssignment_->SaveUserGroup(force) || context_.messages.ask(kCloseWithUnsavedGroup);
}

void UserPanes::RevertCell() {
    navigator_->RevertCell();
}

} // namespace velora::detail
