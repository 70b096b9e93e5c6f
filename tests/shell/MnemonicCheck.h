#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QWidget>

namespace velora::test {

// What keeps a set of captions that share one Alt+letter space (a menu, a dialog, a pane beside
// the menu bar) from being reached from the keyboard: a caption without a mnemonic, or with one
// that an earlier caption took. Empty when all is well.
inline QStringList mnemonicFaults(const QString& scope, const QStringList& captions) {
    QStringList faults;
    QSet<int> taken;
    for (const QString& caption : captions) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
        if (mnemonic.isEmpty())
            faults << scope + QStringLiteral(": no mnemonic in ") + caption;
        else if (taken.contains(mnemonic[0].toCombined()))
            faults << scope + QStringLiteral(": mnemonic taken twice by ") + caption;
        else
            taken.insert(mnemonic[0].toCombined());
    }
    return faults;
}

// The captions of a menu's entries.
inline QStringList menuCaptions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator())
            captions << action->text();
    }
    return captions;
}

// The captions of the push buttons and check boxes below a widget that carry words (the tool
// buttons of Qt's own calendar are not the program's).
inline QStringList buttonCaptions(const QWidget& widget) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]"));
    QList<QAbstractButton*> buttons;
    for (QPushButton* button : widget.findChildren<QPushButton*>())
        buttons << button;
    for (QCheckBox* box : widget.findChildren<QCheckBox*>())
        buttons << box;
    QStringList captions;
    for (const QAbstractButton* button : buttons) {
        if (button->text().contains(word))
            captions << button->text();
    }
    return captions;
}

} // namespace velora::test
