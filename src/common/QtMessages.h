#pragma once

#include "Messages.h"

class QWidget;

namespace velora::common {

// The real message boxes, modal over a parent window.
class QtMessages final : public Messages {
public:
    explicit QtMessages(QWidget* parent = nullptr)
        : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    QWidget* parent_;
};

} // namespace velora::common
