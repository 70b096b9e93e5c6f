#include "ProgramInfoDialogs.h"

#include "AboutDialog.h"
#include "ProgramRelease.h"
#include "ShellError.h"
#include "SystemInfoProbe.h"
#include "SystemInformationDialog.h"
#include "common/AppContext.h"

#include <QFileInfo>

namespace velora::shell {

namespace {

// The privileges a suite user can hold are numbered 1 to 64.
constexpr int kRightCount = 64;

} // namespace

void ProgramInfoDialogs::showAbout(common::AppContext& context, QWidget* parent) {
    AboutInfo info;
    info.version = ProgramRelease::version();
    info.releaseDate = ProgramRelease::releaseDate();
    if (context.login) {
        try {
            info.databaseVersion = context.login->DatabaseVersion().toString();
        } catch (const NumberedError&) {
            // The database is out of reach: the box shows the rest.
        }
        if (const suite::HXLoginUser* user = context.login->User()) {
            info.userName = user->user_name();
            info.firstName = user->first_name();
            info.lastName = user->last_name();
            info.transId = user->trans_id();
            info.isAdministrator = user->is_administrator();
        }
    }
    AboutDialog(info, parent).exec();
}

void ProgramInfoDialogs::showSystemInformation(const common::AppContext& context, QWidget* parent) {
    SystemInfo info;
    info.configurationFile = context.configurationPath;
    info.connection = SystemInfoProbe::connection(
        context.connectionString, QFileInfo(context.configurationPath).absolutePath());
    info.workstation =
        SystemInfoProbe::workstation(context.region ? context.region->DateFormat() : QString());
    if (const suite::HXLoginUser* user = context.login ? context.login->User() : nullptr) {
        info.user.userName = user->user_name();
        info.user.fullName = user->first_name() + QLatin1Char(' ') + user->last_name();
        info.user.userId = user->user_id();
        info.user.transId = user->trans_id();
        info.user.partitionId = user->partition_id();
        for (int right = 1; right <= kRightCount; ++right) {
            if (user->privilege(right))
                info.user.rights.append(right);
        }
    }
    SystemInformationDialog(info, parent).exec();
}

} // namespace velora::shell
