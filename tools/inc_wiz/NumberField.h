#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace velora::wizard {

// A number typed in the regional form, with the reason it is refused shown beside it. The
// line edit is named txt<Name>, the reason lbl<Name>Problem.
class NumberField : public QWidget {
    Q_OBJECT

public:
    NumberField(const QString& name, const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // Shows the reason ("" clears it).
    void setProblem(const QString& reason);
    QString problem() const;
    // Whether the supervisor has typed here (reasons are shown for such fields only, until Next).
    bool touched() const { return touched_; }
    void touch() { touched_ = true; }

Q_SIGNALS:
    void edited();

private:
    QLineEdit* edit_;
    QLabel* reason_;
    bool touched_ = false;
};

} // namespace velora::wizard
