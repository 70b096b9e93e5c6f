#include "TextBoxMenus.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace velora::shell {

void TextBoxMenus::suppress(QWidget& root) {
    QList<QWidget*> boxes;
    for (QWidget* box : root.findChildren<QLineEdit*>())
        boxes.append(box);
    for (QWidget* box : root.findChildren<QTextEdit*>())
        boxes.append(box);
    for (QWidget* box : root.findChildren<QPlainTextEdit*>())
        boxes.append(box);
    for (QWidget* box : boxes) {
        if (box->contextMenuPolicy() == Qt::DefaultContextMenu)
            box->setContextMenuPolicy(Qt::NoContextMenu);
    }
}

} // namespace velora::shell
