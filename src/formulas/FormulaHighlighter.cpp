#include "FormulaHighlighter.h"

namespace velora::formulas {

namespace {

QTextCharFormat spanFormat(const QColor& colour, bool bold = false, bool italic = false) {
    QTextCharFormat made;
    made.setForeground(colour);
    if (bold)
        made.setFontWeight(QFont::Bold);
    made.setFontItalic(italic);
    return made;
}

} // namespace

FormulaHighlighter::FormulaHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document) {
    formats_[int(FormulaSpanKind::Keyword)] = spanFormat(QColor(0x00, 0x33, 0x99), true);
    formats_[int(FormulaSpanKind::Input)] = spanFormat(QColor(0x80, 0x00, 0x80), true);
    formats_[int(FormulaSpanKind::Function)] = spanFormat(QColor(0x00, 0x73, 0x73));
    formats_[int(FormulaSpanKind::String)] = spanFormat(QColor(0xa3, 0x15, 0x15));
    formats_[int(FormulaSpanKind::Comment)] = spanFormat(QColor(0x2e, 0x7d, 0x32), false, true);
    formats_[int(FormulaSpanKind::Number)] = spanFormat(QColor(0xb3, 0x59, 0x00));
}

void FormulaHighlighter::highlightBlock(const QString& text) {
    const FormulaSyntax::Line line =
        FormulaSyntax::classify(text, previousBlockState() == StatementContinues);
    for (const FormulaSpan& span : line.spans)
        setFormat(span.start, span.length, formats_[int(span.kind)]);
    setCurrentBlockState(line.continues ? StatementContinues : StatementEnds);
}

} // namespace velora::formulas
