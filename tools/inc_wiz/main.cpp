#include "AnswersScript.h"
#include "ConsoleMessages.h"
#include "ExchangeFile.h"
#include "FormulaWizard.h"
#include "NumberedError.h"
#include "ProgramCommandLine.h"
#include "WizardCommandLine.h"
#include "WizardHelp.h"
#include "WizardSession.h"
#include "WizardState.h"
#include "common/ErrorLog.h"
#include "common/LoggedMessages.h"
#include "common/QtMessages.h"

#include <QApplication>
#include <QTextStream>
#include <memory>

using namespace velora;

namespace {

constexpr int kUnusable = 2;
constexpr int kLoginFailed = 3;

int runWizard(wizard::WizardSession& session, common::Messages& messages,
              const wizard::WizardCommandLine& commandLine) {
    wizard::WizardState state{session.connection(),
                              session.region(),
                              messages,
                              session.login().User()->partition_id(),
                              {}};
    const QString folder = wizard::ExchangeFile::suiteTempFolder(session.configurationPath());
    wizard::FormulaWizard formulaWizard(state, folder);
    if (!commandLine.script().isEmpty()) {
        const wizard::AnswersScript script = wizard::AnswersScript::read(commandLine.script());
        if (!script.problem.isEmpty()) {
            messages.inform(script.problem, common::MessageIcon::Warning, state.kTitle);
            return wizard::FormulaWizard::kRefused;
        }
        return formulaWizard.runScript(script);
    }
    formulaWizard.show();
    QApplication::exec();
    return formulaWizard.result() == QDialog::Accepted ? wizard::FormulaWizard::kFinished
                                                       : wizard::FormulaWizard::kCancelled;
}

} // namespace

// --help, --version and a bad option are answered before the application exists, so they need
// no display; the parse is repeated once Qt has taken its own options (-platform, -style).
int main(int argc, char** argv) {
    const cli::ProgramHelp help = wizard::wizardHelp();
    QTextStream out(stdout);
    QTextStream err(stderr);
    {
        QStringList raw;
        for (int i = 0; i < argc; ++i)
            raw.append(QString::fromLocal8Bit(argv[i]));
        cli::ProgramCommandLine early(help);
        const auto outcome = early.parse(raw);
        if (outcome != cli::ProgramCommandLine::Outcome::Run && !early.failedOnQtOptionsOnly())
            return early.finish(outcome, out, err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("inc_wiz"));
    cli::ProgramCommandLine options(help);
    const auto outcome = options.parse(QApplication::arguments());
    if (outcome != cli::ProgramCommandLine::Outcome::Run)
        return options.finish(outcome, out, err);
    const wizard::WizardCommandLine commandLine =
        wizard::WizardCommandLine::fromArguments(options.rest());
    if (commandLine.helpWanted()) {
        out << wizard::WizardCommandLine::usage() << Qt::flush;
        return 0;
    }
    // A scripted run has no one to read a message box.
    // Errors shown in a box also go to the user's error log.
    std::unique_ptr<common::Messages> shown;
    if (commandLine.script().isEmpty())
        shown = std::make_unique<common::QtMessages>();
    else
        shown = std::make_unique<wizard::ConsoleMessages>();
    const common::ErrorLog errorLog(common::ErrorLog::defaultPath());
    auto messages = std::make_unique<common::LoggedMessages>(*shown, errorLog);
    const QString title = wizard::WizardState::kTitle;
    if (!commandLine.problem().isEmpty()) {
        messages->inform(commandLine.problem() + QStringLiteral("\n\n") +
                             wizard::WizardCommandLine::usage(),
                         common::MessageIcon::Critical, title);
        return kUnusable;
    }
    try {
        wizard::WizardSession session(commandLine.ini());
        const int code = session.logIn(commandLine.userName(), commandLine.password());
        if (code != 0) {
            const QString why = wizard::WizardSession::loginMessage(code);
            if (!why.isEmpty())
                messages->inform(why, common::MessageIcon::Critical, title);
            return kLoginFailed;
        }
        return runWizard(session, *messages, commandLine);
    } catch (const NumberedError& e) {
        messages->inform(QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()),
                         common::MessageIcon::Critical, title);
        return kUnusable;
    }
}
