#include "LoginDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velora::suite {

LoginDialog::LoginDialog(const LoginPromptRequest& request, QWidget* parent)
    : QDialog(parent)
    , txtUserName_(new QLineEdit(request.userName, this))
    , txtPassword_(new QLineEdit(this))
    , lblMessage_(new QLabel(request.message, this))
    , cmdOK_(new QPushButton(tr("OK"), this))
    , cmdCancel_(new QPushButton(tr("Cancel"), this)) {
    setWindowTitle(request.applicationName.isEmpty() ? tr("Login")
                                                     : request.applicationName + tr(" Login"));
    txtUserName_->setObjectName(QStringLiteral("txtUserName"));
    txtPassword_->setObjectName(QStringLiteral("txtPassword"));
    txtPassword_->setEchoMode(QLineEdit::Password);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setVisible(!request.message.isEmpty());
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));

    auto* fields = new QFormLayout;
    fields->addRow(tr("&User name:"), txtUserName_);
    fields->addRow(tr("&Password:"), txtPassword_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    // A heading says which program the suite's login is for.
    auto* heading =
        new QLabel(request.applicationName.isEmpty()
                       ? tr("Log in with your suite user name.")
                       : tr("Log in to %1 with your suite user name.").arg(request.applicationName),
                   this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setStyleSheet(
        QStringLiteral("font-weight: 600; color: #1f4e79; padding-bottom: 6px;"));
    setMinimumWidth(340);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(fields);
    layout->addWidget(lblMessage_);
    layout->addLayout(buttons);

    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtUserName_, &QLineEdit::textChanged, this, &LoginDialog::updateOkButton);
    updateOkButton();
    // A known name leaves only the password to type.
    if (request.userName.isEmpty())
        txtUserName_->setFocus();
    else
        txtPassword_->setFocus();
}

void LoginDialog::updateOkButton() {
    cmdOK_->setEnabled(!txtUserName_->text().trimmed().isEmpty());
}

std::optional<LoginCredentials> LoginDialog::answer() const {
    if (result() != QDialog::Accepted)
        return std::nullopt;
    return LoginCredentials{txtUserName_->text().trimmed(), txtPassword_->text()};
}

std::optional<LoginCredentials> LoginDialog::prompt(const LoginPromptRequest& request) {
    LoginDialog dialog(request);
    dialog.exec();
    return dialog.answer();
}

} // namespace velora::suite
