#include "ShapePage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace velora::wizard {

ShapePage::ShapePage(QWidget* parent)
    : QWizardPage(parent)
    , choices_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("pgShape"));
    setTitle(QStringLiteral("Shape of the pay scheme"));
    setSubTitle(QStringLiteral("Choose the kind of scheme the formula pays. The next pages ask "
                               "for its numbers."));
    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(1, 1);
    layout->setVerticalSpacing(2);
    int row = 0;
    for (const ShapeDescription& description : SchemeShapes::all()) {
        auto* choice = new QRadioButton(description.title, this);
        choice->setObjectName(QStringLiteral("optShape_") + description.key);
        QFont bold = choice->font();
        bold.setBold(true);
        choice->setFont(bold);
        choices_->addButton(choice, static_cast<int>(description.shape));
        auto* explanation = new QLabel(description.explanation, this);
        explanation->setWordWrap(true);
        auto* example = new QLabel(QStringLiteral("Example: ") + description.example, this);
        example->setWordWrap(true);
        example->setStyleSheet(QStringLiteral("color: #555555; font-style: italic;"));
        layout->addWidget(choice, row++, 0, 1, 2);
        layout->addWidget(explanation, row++, 1);
        layout->addWidget(example, row++, 1);
        layout->setRowMinimumHeight(row++, 8);
    }
    layout->setRowStretch(row, 1);
    choices_->buttons().constFirst()->setChecked(true);
}

SchemeShape ShapePage::shape() const {
    return static_cast<SchemeShape>(choices_->checkedId());
}

void ShapePage::setShape(SchemeShape shape) {
    if (QAbstractButton* choice = choices_->button(static_cast<int>(shape)))
        choice->setChecked(true);
}

} // namespace velora::wizard
