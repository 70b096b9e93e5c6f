#include "FormulaWizard.h"

#include "AnswersScript.h"
#include "ExchangeFile.h"
#include "MeasuresPage.h"
#include "NamePage.h"
#include "NumbersPage.h"
#include "PreviewPage.h"
#include "ShapePage.h"
#include "WizardState.h"
#include "common/Messages.h"

namespace velora::wizard {

FormulaWizard::FormulaWizard(WizardState& state, QString exchangeFolder, QWidget* parent)
    : QWizard(parent)
    , state_(state)
    , exchangeFolder_(std::move(exchangeFolder))
    , shape_(new ShapePage(this))
    , numbers_(new NumbersPage(state, this))
    , measures_(new MeasuresPage(this))
    , preview_(new PreviewPage(state, this))
    , name_(new NamePage(state, this)) {
    setObjectName(QStringLiteral("frmFormulaWizard"));
    setWindowTitle(WizardState::kTitle);
    setWizardStyle(QWizard::ModernStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    setPage(Shape, shape_);
    setPage(Numbers, numbers_);
    setPage(Measures, measures_);
    setPage(Preview, preview_);
    setPage(Name, name_);
    resize(860, 740);
}

bool FormulaWizard::validateCurrentPage() {
    if (currentId() == Shape)
        state_.answers.shape = shape_->shape();
    if (currentId() == Measures) {
        state_.answers.lines = measures_->lines();
        state_.answers.hours = measures_->hours();
    }
    return QWizard::validateCurrentPage();
}

void FormulaWizard::accept() {
    const QString problem = ExchangeFile::write(exchangeFolder_, name_->name(),
                                                SchemeShapes::describe(state_.answers.shape).title,
                                                preview_->formulaText());
    if (!problem.isEmpty()) {
        state_.messages.inform(problem, common::MessageIcon::Critical, WizardState::kTitle);
        return;
    }
    written_ = true;
    QWizard::accept();
}

bool FormulaWizard::advance() {
    const int before = currentId();
    next();
    return currentId() != before;
}

int FormulaWizard::refuse(const QString& page, const QStringList& reasons) {
    state_.messages.inform(
        QStringLiteral("The answers were refused on the page \"%1\":\n").arg(page) +
            reasons.join(QLatin1Char('\n')),
        common::MessageIcon::Warning, WizardState::kTitle);
    reject();
    return kRefused;
}

int FormulaWizard::runScript(const AnswersScript& script) {
    restart();
    shape_->setShape(script.input.shape);
    advance();
    const QStringList unknown = numbers_->apply(script.input);
    if (!unknown.isEmpty())
        return refuse(numbers_->title(), unknown);
    if (!advance())
        return refuse(numbers_->title(), numbers_->problems());
    measures_->setLines(script.lines);
    measures_->setHours(script.hours);
    advance();
    if (!advance())
        return refuse(preview_->title(), {preview_->problem()});
    name_->setName(script.name);
    if (!script.finish) {
        reject();
        return kCancelled;
    }
    if (!validateCurrentPage())
        return refuse(name_->title(), {name_->problem()});
    accept();
    return written_ ? kFinished : kRefused;
}

} // namespace velora::wizard
