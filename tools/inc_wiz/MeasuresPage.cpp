#include "MeasuresPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velora::wizard {

namespace {

struct Choice {
    int id;
    QString name;
    QString text;
    QString explanation;
};

QButtonGroup* addChoices(QWidget* page, QVBoxLayout* layout, const QString& name,
                         const QString& title, const QList<Choice>& choices) {
    auto* box = new QGroupBox(title, page);
    box->setObjectName(QStringLiteral("fra") + name);
    auto* group = new QButtonGroup(page);
    auto* boxLayout = new QVBoxLayout(box);
    for (const Choice& choice : choices) {
        auto* button = new QRadioButton(choice.text, box);
        button->setObjectName(QStringLiteral("opt") + choice.name);
        group->addButton(button, choice.id);
        auto* explanation = new QLabel(choice.explanation, box);
        explanation->setWordWrap(true);
        explanation->setContentsMargins(24, 0, 0, 6);
        explanation->setStyleSheet(QStringLiteral("color: #555555;"));
        boxLayout->addWidget(button);
        boxLayout->addWidget(explanation);
    }
    group->buttons().constFirst()->setChecked(true);
    layout->addWidget(box);
    return group;
}

} // namespace

MeasuresPage::MeasuresPage(QWidget* parent)
    : QWizardPage(parent) {
    setObjectName(QStringLiteral("pgMeasures"));
    setTitle(QStringLiteral("Incentive lines and hours"));
    setSubTitle(QStringLiteral("Choose what counts as a line and as an hour worked. The formula "
                               "pays from these and reports them as the incentive lines and "
                               "hours."));
    auto* layout = new QVBoxLayout(this);
    lines_ = addChoices(
        this, layout, QStringLiteral("Lines"), QStringLiteral("Incentive lines"),
        {{static_cast<int>(LineMeasure::TrueLines), QStringLiteral("TrueLines"),
          QStringLiteral("True lines"),
          QStringLiteral("The lines of the reports as typed (the True Lines column).")},
         {static_cast<int>(LineMeasure::CharLines), QStringLiteral("CharLines"),
          QStringLiteral("Character lines"),
          QStringLiteral("Characters typed turned into lines of a fixed length (the Char Lines "
                         "column).")}});
    hours_ = addChoices(
        this, layout, QStringLiteral("Hours"), QStringLiteral("Incentive hours"),
        {{static_cast<int>(HourMeasure::TypedHours), QStringLiteral("TypedHours"),
          QStringLiteral("Typed hours"),
          QStringLiteral("The hours entered for the day (the Hours column with typed hours).")},
         {static_cast<int>(HourMeasure::SystemHours), QStringLiteral("SystemHours"),
          QStringLiteral("System hours"),
          QStringLiteral("The hours the system logged while the user was working.")}});
    layout->addStretch(1);
}

LineMeasure MeasuresPage::lines() const {
    return static_cast<LineMeasure>(lines_->checkedId());
}

HourMeasure MeasuresPage::hours() const {
    return static_cast<HourMeasure>(hours_->checkedId());
}

void MeasuresPage::setLines(LineMeasure measure) {
    lines_->button(static_cast<int>(measure))->setChecked(true);
}

void MeasuresPage::setHours(HourMeasure measure) {
    hours_->button(static_cast<int>(measure))->setChecked(true);
}

} // namespace velora::wizard
