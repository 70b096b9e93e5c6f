#pragma once

#include "LoginPrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velora::suite {

// The suite's login dialog: user name, password, OK and Cancel, and a line for the reason of
// a failed attempt.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(const LoginPromptRequest& request, QWidget* parent = nullptr);

    // The entered name and password once accepted; no value while open or after Cancel.
    std::optional<LoginCredentials> answer() const;

    // The real prompt: runs the dialog modally.
    static std::optional<LoginCredentials> prompt(const LoginPromptRequest& request);

private:
    void updateOkButton();

    QLineEdit* txtUserName_;
    QLineEdit* txtPassword_;
    QLabel* lblMessage_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

} // namespace velora::suite
