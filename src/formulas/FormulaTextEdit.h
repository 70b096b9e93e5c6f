#pragma once

#include <QPlainTextEdit>

namespace velora::formulas {

// The editor of a formula's text: a fixed-width font, line numbers in a gutter on the left and
// the language's colours. After a refused save or a failed test the line of the error is
// marked, so the supervisor sees where to look; the mark goes with the next edit.
class FormulaTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit FormulaTextEdit(QWidget* parent = nullptr);

    // Marks a 1-based line and moves the cursor to its start; lines outside the text are
    // ignored (0 clears).
    void markErrorLine(int line);
    void clearErrorMark();
    // The marked line, 0 when none.
    int markedLine() const { return markedLine_; }

    // The gutter's width for the number of lines the text has.
    int lineNumberWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class LineNumbers;

    void paintLineNumbers(QPaintEvent* event);
    void updateMargin();
    void scrollLineNumbers(const QRect& rect, int dy);

    LineNumbers* lineNumbers_;
    int markedLine_ = 0;
};

} // namespace velora::formulas
