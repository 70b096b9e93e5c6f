#include "AnswersScript.h"
#include "ConsoleMessages.h"
#include "ExchangeFile.h"
#include "FormulaWizard.h"
#include "NumberedError.h"
#include "WizardCommandLine.h"
#include "WizardSession.h"
#include "WizardState.h"
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("inc_wiz"));
    const wizard::WizardCommandLine commandLine =
        wizard::WizardCommandLine::fromArguments(QApplication::arguments().mid(1));
    if (commandLine.helpWanted()) {
        QTextStream(stdout) << wizard::WizardCommandLine::usage();
        return 0;
    }
    // A scripted run has no one to read a message box.
    std::unique_ptr<common::Messages> messages;
    if (commandLine.script().isEmpty())
        messages = std::make_unique<common::QtMessages>();
    else
        messages = std::make_unique<wizard::ConsoleMessages>();
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
