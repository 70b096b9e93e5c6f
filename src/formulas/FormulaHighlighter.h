#pragma once

#include "FormulaSyntax.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace velora::formulas {

// Colours a formula document line by line as FormulaSyntax classifies it. A line's state
// tells the next one whether it continues a statement (" _").
class FormulaHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit FormulaHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    enum BlockState { StatementEnds = 0, StatementContinues = 1 };

    QTextCharFormat formats_[6];
};

} // namespace velora::formulas
