#include "FormulaTextEdit.h"

#include "FormulaHighlighter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

namespace velora::formulas {

// The gutter beside the text; the editor paints it.
class FormulaTextEdit::LineNumbers : public QWidget {
public:
    explicit LineNumbers(FormulaTextEdit* editor)
        : QWidget(editor)
        , editor_(editor) {
        setObjectName(QStringLiteral("FormulaLineNumbers"));
    }

    QSize sizeHint() const override { return {editor_->lineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->paintLineNumbers(event); }

private:
    FormulaTextEdit* editor_;
};

FormulaTextEdit::FormulaTextEdit(QWidget* parent)
    : QPlainTextEdit(parent)
    , lineNumbers_(new LineNumbers(this)) {
    new FormulaHighlighter(document()); // owned by the document
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    setFont(font);
    setTabStopDistance(4 * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateMargin(); });
    connect(this, &QPlainTextEdit::updateRequest, this, &FormulaTextEdit::scrollLineNumbers);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (markedLine_ != 0)
            clearErrorMark();
    });
    updateMargin();
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
    lineNumbers_->update();
}

void FormulaTextEdit::clearErrorMark() {
    markedLine_ = 0;
    setExtraSelections({});
    lineNumbers_->update();
}

int FormulaTextEdit::lineNumberWidth() const {
    const int digits = int(QString::number(qMax(1, blockCount())).size());
    return 10 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * qMax(2, digits);
}

void FormulaTextEdit::updateMargin() {
    setViewportMargins(lineNumberWidth(), 0, 0, 0);
}

void FormulaTextEdit::scrollLineNumbers(const QRect& rect, int dy) {
    if (dy != 0)
        lineNumbers_->scroll(0, dy);
    else
        lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        updateMargin();
}

void FormulaTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    lineNumbers_->setGeometry(QRect(area.left(), area.top(), lineNumberWidth(), area.height()));
}

// The numbers of the visible lines, right-aligned; the marked line's number in red.
void FormulaTextEdit::paintLineNumbers(QPaintEvent* event) {
    QPainter painter(lineNumbers_);
    painter.fillRect(event->rect(), QColor(0xf0, 0xf0, 0xf0));
    painter.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int right = lineNumbers_->width() - 5;
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            const int number = block.blockNumber() + 1;
            const bool marked = number == markedLine_;
            QFont numberFont = font();
            numberFont.setBold(marked);
            painter.setFont(numberFont);
            painter.setPen(marked ? QColor(0xc0, 0x00, 0x00) : QColor(0x80, 0x80, 0x80));
            painter.drawText(0, top, right, fontMetrics().height(), Qt::AlignRight,
                             QString::number(number));
        }
        block = block.next();
        top += height;
    }
}

} // namespace velora::formulas
