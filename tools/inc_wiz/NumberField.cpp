#include "NumberField.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace velora::wizard {

NumberField::NumberField(const QString& name, const QString& placeholder, QWidget* parent)
    : QWidget(parent)
    , edit_(new QLineEdit(this))
    , reason_(new QLabel(this)) {
    setObjectName(QStringLiteral("fld") + name);
    edit_->setObjectName(QStringLiteral("txt") + name);
    edit_->setPlaceholderText(QStringLiteral("e.g. ") + placeholder);
    edit_->setMaximumWidth(140);
    edit_->setAlignment(Qt::AlignRight);
    reason_->setObjectName(QStringLiteral("lbl") + name + QStringLiteral("Problem"));
    reason_->setStyleSheet(QStringLiteral("color: #b00020;"));
    reason_->setWordWrap(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    layout->addWidget(reason_, 1);
    connect(edit_, &QLineEdit::textEdited, this, [this] {
        touched_ = true;
        Q_EMIT edited();
    });
}

QString NumberField::text() const {
    return edit_->text();
}

void NumberField::setText(const QString& text) {
    edit_->setText(text);
    touched_ = true;
    Q_EMIT edited();
}

void NumberField::setProblem(const QString& reason) {
    reason_->setText(reason);
    edit_->setStyleSheet(reason.isEmpty() ? QString()
                                          : QStringLiteral("border: 1px solid #b00020;"));
}

QString NumberField::problem() const {
    return reason_->text();
}

} // namespace velora::wizard
