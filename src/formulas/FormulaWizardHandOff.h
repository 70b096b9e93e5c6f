#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace velora::common {
class Messages;
}
namespace velora::suite {
class vEzoziVi;
}

namespace velora::formulas {

// What the hand-off to the formula wizard works with; the main window owns all of it.
struct WizardHandOffEnvironment {
    common::Messages& messages;
    suite::vEzoziVi& launcher;
    std::function<QString()> wizardProgram; // inc_wiz in the program's own folder
    std::function<bool()> wizardEnabled;    // the operator's preference
    std::function<QString()> configurationPath;
    std::function<QString()> userName;
    std::function<QString()> password;
    std::function<void(bool)> setWindowEnabled;
    // Creates the formula under the wizard's name (asking for another when it is refused) and
    // shows it; the new id, 0 when none was made.
    std::function<int(const QString& name)> createFormula;
    std::function<void(const QString& text)> setEditorText;
    // The formula save with its closing note: effective date, parse, lock-out, text.
    std::function<void()> saveWithNote;
};

// The formula wizard composes a formula for the operator: it is started with the configuration
// file and the credentials in use, and leaves the formula's name and text in an exchange file.
// The formula is then created under that name and its text saved through the normal formula
// save, effective date and lock-out included.
class FormulaWizardHandOff {
public:
    explicit FormulaWizardHandOff(WizardHandOffEnvironment environment);

    // The first step of creating a formula: when the wizard is there and enabled, offers it.
    // True when the operator took the offer (the hand-off has run, whatever its outcome).
    bool offerAndRun();

    struct Exchange {
        QString name;
        QString text;
    };
    // The name (line 2) and the text (after line 3, up to the first CR LF + " *****") of an
    // exchange file's bytes; nothing when the end mark is missing.
    static std::optional<Exchange> parse(const QByteArray& bytes);
    // The command line the wizard is given.
    QString arguments() const;
    QString exchangeFilePath() const;

private:
    void run();
    bool readExchange(const QString& path, QByteArray& bytes);

    WizardHandOffEnvironment env_;
};

} // namespace velora::formulas
