#pragma once

#include "SchemeAnswers.h"

#include <QWizardPage>

class QButtonGroup;

namespace velora::wizard {

// What the incentive lines and hours are: true lines or character lines, typed hours or the
// system's hours. The formula sets the incentive lines and hours to them and pays from them.
class MeasuresPage : public QWizardPage {
    Q_OBJECT

public:
    explicit MeasuresPage(QWidget* parent = nullptr);

    LineMeasure lines() const;
    HourMeasure hours() const;
    void setLines(LineMeasure measure);
    void setHours(HourMeasure measure);

private:
    QButtonGroup* lines_;
    QButtonGroup* hours_;
};

} // namespace velora::wizard
