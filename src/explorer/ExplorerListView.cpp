#include "ExplorerListView.h"

#include "ExplorerError.h"
#include "ExplorerImages.h"
#include "ExplorerKeys.h"
#include "ExplorerNumbers.h"
#include "ExplorerTree.h"

#include <QListWidget>

namespace velora::explorer {

namespace {

// Leading and trailing blanks off, other white space kept.
QString trimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == u' ')
        ++start;
    while (end > start && text.at(end - 1) == u' ')
        --end;
    return text.mid(start, end - start);
}

ExplorerImage groupAccountImage(const QString& key) {
    const double value = ExplorerNumbers::LeadingValue(ExplorerKeys::GetGroupAccountID(key));
    if (value == -1)
        return ExplorerImage::AccountDef;
    if (value == -3)
        return ExplorerImage::AccountExt;
    return ExplorerImage::Account;
}

} // namespace

void ExplorerListView::prepare(QListWidget* listView) {
    if (listView == nullptr)
        throw ExplorerError(ExplorerErrorNumber::ObjectNotSet,
                            QStringLiteral("No list view to fill"));
    listView->clear();
    listView->setViewMode(QListView::ListMode);
    listView->setFlow(QListView::TopToBottom);
    listView->setWrapping(true);
    listView->setResizeMode(QListView::Adjust);
    listView->setIconSize(QSize(ExplorerImages::kSize, ExplorerImages::kSize));
}

void ExplorerListView::addItem(QListWidget* listView, const QString& key, const QString& text,
                               const QIcon& icon) {
    auto* item = new QListWidgetItem(icon, trimBlanks(text), listView);
    item->setData(Qt::UserRole, key);
    item->setToolTip(item->text()); // the whole name when its column cuts it off
}

ExplorerImage ExplorerListView::imageFor(ExplorerNodeType kind, const QString& key) {
    switch (kind) {
    case ExplorerNodeType::Formula:
        return ExplorerImage::Formula;
    case ExplorerNodeType::User:
        return ExplorerImage::User;
    case ExplorerNodeType::Group:
        return ExplorerImage::Group;
    case ExplorerNodeType::GroupAccount:
        return groupAccountImage(key);
    default:
        return ExplorerImage::Account;
    }
}

void ExplorerListView::fillFromFolder(QListWidget* listView, ExplorerTree& tree,
                                      const ExplorerImages& images, const QString& folderKey,
                                      ExplorerNodeType kind, const QString& groupID) {
    prepare(listView);
    const int folder = tree.find(folderKey);
    if (folder == ExplorerTree::kNone)
        return;
    const std::vector<int> children = tree.childrenInAdditionOrder(folder);
    for (const int child : children) {
        const ExplorerTreeNode& n = tree.at(child);
        if (n.kind != kind)
            continue;
        if (kind == ExplorerNodeType::GroupAccount && ExplorerKeys::GetGroupID(n.key) != groupID)
            continue;
        addItem(listView, n.key, n.text, images.icon(imageFor(kind, n.key)));
    }
}

} // namespace velora::explorer
