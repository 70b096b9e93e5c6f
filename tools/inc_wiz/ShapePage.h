#pragma once

#include "SchemeShape.h"

#include <QWizardPage>

class QButtonGroup;

namespace velora::wizard {

// The shape of the scheme: one choice per shape, each with its one-line explanation and a
// small example.
class ShapePage : public QWizardPage {
    Q_OBJECT

public:
    explicit ShapePage(QWidget* parent = nullptr);

    SchemeShape shape() const;
    void setShape(SchemeShape shape);

private:
    QButtonGroup* choices_;
};

} // namespace velora::wizard
