#pragma once

#include <QString>
#include <QWizard>

namespace velora::wizard {

class MeasuresPage;
class NamePage;
class NumbersPage;
class PreviewPage;
class ShapePage;
struct AnswersScript;
struct WizardState;

// The wizard: shape, numbers, lines and hours, preview, name. Finish writes the exchange file
// into the suite's temporary folder; Cancel writes nothing.
class FormulaWizard : public QWizard {
    Q_OBJECT

public:
    enum PageId { Shape, Numbers, Measures, Preview, Name };
    // Exit codes of a scripted run.
    static constexpr int kFinished = 0;
    static constexpr int kCancelled = 1;
    static constexpr int kRefused = 4;

    FormulaWizard(WizardState& state, QString exchangeFolder, QWidget* parent = nullptr);

    bool validateCurrentPage() override;
    void accept() override;

    // Fills the pages from an answers file and finishes (or cancels) as a supervisor would;
    // the reasons of a page that refuses its answers go to the message boxes.
    int runScript(const AnswersScript& script);

    ShapePage* shapePage() const { return shape_; }
    NumbersPage* numbersPage() const { return numbers_; }
    MeasuresPage* measuresPage() const { return measures_; }
    PreviewPage* previewPage() const { return preview_; }
    NamePage* namePage() const { return name_; }

private:
    bool advance();
    int refuse(const QString& page, const QStringList& reasons);

    WizardState& state_;
    QString exchangeFolder_;
    ShapePage* shape_;
    NumbersPage* numbers_;
    MeasuresPage* measures_;
    PreviewPage* preview_;
    NamePage* name_;
    bool written_ = false;
};

} // namespace velora::wizard
