#include "FormulaWizardHandOff.h"

#include "common/Messages.h"
#include "suite/vEzoziVi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velora::formulas {

namespace {

using common::MessageIcon;

const QString kOffer = QStringLiteral(
    "Would you like to use the incentive formula wizard to help create your formulas?");
const QString kLaunchFailed = QStringLiteral(
    "ERROR: Cannot launch the Incentive Formula Wizard.  Please check your system and try again.");
const QString kNoData = QStringLiteral(
    "ERROR: formula data file contains no data.  Please check your system and try again.");
const QString kCreateFailed = QStringLiteral("Could not create formula.");
const QString kIncentiveTitle = QStringLiteral("Incentive");
const QByteArray kEndMark = QByteArrayLiteral("\r\n *****");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
// The exchange file's length is read as a 16-bit number.
constexpr qint64 kLargestFile = 32767;
constexpr int kLengthReads = 9;

} // namespace

FormulaWizardHandOff::FormulaWizardHandOff(WizardHandOffEnvironment environment)
    : env_(std::move(environment)) {}

bool FormulaWizardHandOff::offerAndRun() {
    const QFileInfo program(env_.wizardProgram());
    if (!program.isFile() || !program.isExecutable() || !env_.wizardEnabled())
        return false;
    if (!env_.messages.ask(kOffer))
        return false;
    run();
    return true;
}

QString FormulaWizardHandOff::arguments() const {
    return QStringLiteral("/INI=") + env_.configurationPath() + QStringLiteral(" /UNAME=") +
           env_.userName() + QStringLiteral(" /PASSWORD=") + env_.password();
}

QString FormulaWizardHandOff::exchangeFilePath() const {
    return QDir(suite::vEzoziVi::TempFolder(env_.configurationPath()))
        .filePath(QStringLiteral("FORMULA.TXT"));
}

std::optional<FormulaWizardHandOff::Exchange> FormulaWizardHandOff::parse(const QByteArray& bytes) {
    qsizetype start = 0;
    QByteArray lines[3];
    for (QByteArray& line : lines) {
        const qsizetype end = bytes.indexOf(kLineEnd, start);
        if (end < 0)
            return std::nullopt;
        line = bytes.mid(start, end - start);
        start = end + kLineEnd.size();
    }
    // The text may be empty: then the end mark's line break is line 3's.
    const qsizetype mark = bytes.indexOf(kEndMark, start - kLineEnd.size());
    if (mark < 0)
        return std::nullopt;
    const QByteArray text = mark < start ? QByteArray() : bytes.mid(start, mark - start);
    return Exchange{QString::fromUtf8(lines[1]), QString::fromUtf8(text)};
}

// Nothing is created unless the whole file can be used: a formula row with the default text that
// the operator never asked for would stay behind otherwise.
void FormulaWizardHandOff::run() {
    const QString path = exchangeFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    env_.setWindowEnabled(false);
    const int result = env_.launcher.Shell(env_.wizardProgram(), arguments());
    env_.setWindowEnabled(true);
    if (result == -1) {
        env_.messages.inform(kLaunchFailed, MessageIcon::Warning);
        return;
    }
    QByteArray bytes;
    if (!QFileInfo::exists(path) || !readExchange(path, bytes))
        return;
    const std::optional<Exchange> exchange = parse(bytes);
    if (!exchange) {
        env_.messages.inform(kCreateFailed, MessageIcon::Critical, kIncentiveTitle);
        return;
    }
    const int formulaID = env_.createFormula(exchange->name);
    if (formulaID > 0)
        env_.setEditorText(exchange->text);
    QFile::remove(path);
    if (formulaID > 0)
        env_.saveWithNote();
}

bool FormulaWizardHandOff::readExchange(const QString& path, QByteArray& bytes) {
    qint64 length = 0;
    for (int read = 0; read < kLengthReads && length == 0; ++read)
        length = QFileInfo(path).size();
    if (length == 0) {
        env_.messages.inform(kNoData, MessageIcon::Warning);
        return false;
    }
    if (length > kLargestFile) {
        env_.messages.inform(kCreateFailed, MessageIcon::Critical, kIncentiveTitle);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        env_.messages.inform(QStringLiteral("Error Number ") +
                                 QString::number(static_cast<int>(file.error())) +
                                 QStringLiteral(" - ") + file.errorString() +
                                 QStringLiteral(".  The formula file could not be opened.  Please "
                                                "check your system and try again."),
                             MessageIcon::Warning, kIncentiveTitle);
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace velora::formulas
