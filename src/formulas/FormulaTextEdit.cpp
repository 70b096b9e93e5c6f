#include "FormulaTextEdit.h"

#include <QTextBlock>

namespace velora::formulas {

FormulaTextEdit::FormulaTextEdit(QWidget* parent)
    : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (markedLine_ != 0)
            clearErrorMark();
    });
}

void FormulaTextEdit::markErrorLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (line < 1 || !block.isValid()) {
        clearErrorMark();
        return;
    }
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(QColor(0xff, 0xd7, 0xd7));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = QTextCursor(block);
    setExtraSelections({mark});
    setTextCursor(QTextCursor(block));
    ensureCursorVisible();
    markedLine_ = line;
}

void FormulaTextEdit::clearErrorMark() {
    markedLine_ = 0;
    setExtraSelections({});
}

} // namespace velora::formulas
