#include "AboutDialog.h"

#include "VeloraEmblem.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velora::shell {

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFont scaledFont(const QFont& base, qreal factor, bool bold) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

AboutDialog::AboutDialog(const AboutInfo& info, QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About %1").arg(info.programName));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->setSpacing(12);
    layout->addLayout(buildHeading(info));
    layout->addWidget(separator(this));
    layout->addLayout(buildDetails(info));
    layout->addSpacing(4);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::orNone(const QString& value) {
    return value.trimmed().isEmpty() ? tr("(none)") : value;
}

QLayout* AboutDialog::buildHeading(const AboutInfo& info) {
    auto* name = namedLabel(QStringLiteral("lblProgramName"), info.programName, this);
    name->setFont(scaledFont(font(), 1.6, true));
    auto* version =
        namedLabel(QStringLiteral("lblVersion"), tr("Version %1").arg(orNone(info.version)), this);
    version->setFont(scaledFont(font(), 1.0, true));
    auto* released = namedLabel(QStringLiteral("lblReleaseDate"),
                                tr("Released %1").arg(orNone(info.releaseDate)), this);
    auto* purpose = new QLabel(tr("Incentive pay for medical transcription"), this);
    purpose->setForegroundRole(QPalette::PlaceholderText);

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(name);
    text->addWidget(purpose);
    text->addSpacing(6);
    text->addWidget(version);
    text->addWidget(released);
    text->addStretch();

    auto* heading = new QHBoxLayout;
    heading->setSpacing(18);
    heading->addWidget(new VeloraEmblem(this), 0, Qt::AlignTop);
    heading->addLayout(text, 1);
    return heading;
}

QFormLayout* AboutDialog::buildDetails(const AboutInfo& info) {
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(5);
    addRow(form, tr("Database version:"), QStringLiteral("lblDatabaseVersion"),
           orNone(info.databaseVersion));

    auto* loggedIn = new QLabel(tr("Logged in"), this);
    loggedIn->setFont(scaledFont(font(), 1.0, true));
    loggedIn->setContentsMargins(0, 8, 0, 2);
    form->addRow(loggedIn);
    const QString fullName =
        QString(info.firstName.trimmed() % QLatin1Char(' ') % info.lastName.trimmed()).trimmed();
    addRow(form, tr("User name:"), QStringLiteral("lblUserName"), orNone(info.userName));
    addRow(form, tr("Name:"), QStringLiteral("lblFullName"), orNone(fullName));
    addRow(form, tr("Transcriptionist ID:"), QStringLiteral("lblTransId"), orNone(info.transId));
    addRow(form, tr("Administrator:"), QStringLiteral("lblAdministrator"),
           info.isAdministrator ? tr("Yes") : tr("No"));
    return form;
}

QLabel* AboutDialog::addRow(QFormLayout* form, const QString& caption, const QString& name,
                            const QString& value) {
    auto* label = namedLabel(name, value, this);
    form->addRow(caption, label);
    return label;
}

} // namespace velora::shell
