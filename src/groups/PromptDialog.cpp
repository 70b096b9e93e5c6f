#include "PromptDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace velora::groups {

PromptDialog::PromptDialog(const QString& dialogName, const QString& caption,
                           const QString& fieldName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , prompt_(new QLabel(this))
    , field_(new QLineEdit(this))
    , ok_(new QPushButton(QStringLiteral("&Ok"), this))
    , cancel_(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(dialogName);
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    prompt_->setObjectName(QStringLiteral("lblPrompt"));
    prompt_->setWordWrap(true);
    field_->setObjectName(fieldName);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    // Enter is handled by the field itself; no button may take it over as the default.
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &PromptDialog::confirm);
    connect(cancel_, &QPushButton::clicked, this, [this] { finish(UnloadCode::Cancel); });
    connect(field_, &QLineEdit::returnPressed, this, &PromptDialog::confirm);
}

QString PromptDialog::UserInput() const {
    const bool kept = unloadType_ == UnloadCode::OK || unloadType_ == UnloadCode::CloseBox;
    return kept ? field_->text() : QString();
}

void PromptDialog::Load(const QString& caption, const QString& prompt, const QString& text) {
    unloadType_ = UnloadCode::None;
    setWindowTitle(caption);
    prompt_->setText(prompt);
    field_->setText(text);
    onLoad();
}

void PromptDialog::Unload() {
    hide();
    field_->clear();
}

QPoint PromptDialog::placement(const QRect& screen, const QSize& dialog) {
    return {screen.left() + (screen.width() - dialog.width()) / 2,
            screen.top() + (screen.height() - dialog.height()) / 3};
}

void PromptDialog::reject() {
    finish(UnloadCode::Cancel);
}

void PromptDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* shown = screen())
        move(placement(shown->geometry(), frameGeometry().size()));
    field_->setFocus();
}

// The close box hides the dialog instead of closing it, so that the typed text stays readable.
void PromptDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    finish(UnloadCode::CloseBox);
}

void PromptDialog::confirm() {
    if (acceptsInput())
        finish(UnloadCode::OK);
}

void PromptDialog::finish(int unloadType) {
    unloadType_ = unloadType;
    done(unloadType == UnloadCode::OK ? QDialog::Accepted : QDialog::Rejected);
}

} // namespace velora::groups
