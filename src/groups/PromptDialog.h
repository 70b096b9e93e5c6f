#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velora::groups {

// How a prompt dialog was left (its UnloadType). None until the dialog is left.
namespace UnloadCode {
constexpr int None = 0;
constexpr int Cancel = 1;
constexpr int OK = 2;
constexpr int CloseBox = 3;
} // namespace UnloadCode

// What the two prompt dialogs (the effective-date dialog and the text-entry dialog) share: a
// prompt, one entry field, OK and Cancel, and the record of how the dialog was left. Closing with
// the window's close box does not destroy the dialog: it hides, so that the caller can still read
// what was typed. Escape counts as Cancel.
class PromptDialog : public QDialog {
    Q_OBJECT

public:
    // 1 Cancel, 2 OK, 3 close box; 0 while the dialog has not been left since it was loaded.
    int UnloadType() const { return unloadType_; }
    // The field's text when the dialog was left with OK or the close box, otherwise "".
    QString UserInput() const;

    // Starts a fresh use: caption, prompt and field text set, UnloadType back to 0.
    void Load(const QString& caption, const QString& prompt, const QString& text);
    // Ends a use: the dialog hides and forgets the field's text.
    void Unload();

    QLabel* lblPrompt() const { return prompt_; }
    QLineEdit* entryField() const { return field_; }
    QPushButton* cmdOK() const { return ok_; }
    QPushButton* cmdCancel() const { return cancel_; }

    // Where a dialog of `dialog` size goes on `screen`: centred horizontally, one third of the
    // free height from the top.
    static QPoint placement(const QRect& screen, const QSize& dialog);

public Q_SLOTS:
    void reject() override;

protected:
    PromptDialog(const QString& dialogName, const QString& caption, const QString& fieldName,
                 QWidget* parent);

    // Whether OK may take the field's text; the dialog stays open when not.
    virtual bool acceptsInput() const { return true; }
    // Called by Load after the field is set.
    virtual void onLoad() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void confirm();
    void finish(int unloadType);

    QLabel* prompt_;
    QLineEdit* field_;
    QPushButton* ok_;
    QPushButton* cancel_;
    int unloadType_ = UnloadCode::None;
};

} // namespace velora::groups
