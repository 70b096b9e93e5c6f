#include "CompiledFormula.h"

#include "FormulaCompiler.h"
#include "FormulaLexer.h"
#include "FormulaParser.h"
#include "FormulaProgram.h"

namespace velora::engine {

std::shared_ptr<const CompiledFormula> CompiledFormula::compile(const QString& text,
                                                                FormulaError& error) {
    try {
        const ast::Block statements = FormulaParser::parse(FormulaLexer::tokenize(text));
        std::unique_ptr<FormulaProgram> program = FormulaCompiler::compile(statements);
        error = FormulaError();
        return std::shared_ptr<const CompiledFormula>(
            new CompiledFormula(text, std::move(program)));
    } catch (const FormulaCompileError& failure) {
        error = makeFormulaError(text, failure.fault(), failure.where());
        return nullptr;
    }
}

CompiledFormula::CompiledFormula(QString text, std::unique_ptr<FormulaProgram> program)
    : text_(std::move(text))
    , program_(std::move(program)) {}

CompiledFormula::~CompiledFormula() = default;

bool CompiledFormula::usesIncentiveFunctions() const {
    return program_->usesIncentiveFunctions;
}

bool CompiledFormula::usesPeriodFunctions() const {
    return program_->usesPeriodFunctions;
}

} // namespace velora::engine
