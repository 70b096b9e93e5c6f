#include "ExplorerTree.h"

#include "ExplorerError.h"
#include "ExplorerKeys.h"
#include "ExplorerNodeText.h"
#include "ExplorerNumbers.h"
#include "ExplorerTreeListener.h"

#include <algorithm>

namespace velora::explorer {

namespace {

const QChar kSeparator(u'.');

bool sortTextBefore(const QString& left, const QString& right) {
    return ExplorerNodeText::SortsBefore(left, right);
}

const QString& summaryID() {
    static const QString id = QStringLiteral("-2");
    return id;
}

// The image of an account that AddAccount puts into a folder of the given kind.
ExplorerImage addedAccountImage(bool groupFolder, qint16 number, bool isDeleted) {
    if (groupFolder)
        return number == -3 ? ExplorerImage::AccountExt : ExplorerImage::Account;
    if (number == -1)
        return isDeleted ? ExplorerImage::DeletedAccount : ExplorerImage::AccountDef;
    return ExplorerImage::Account;
}

// The image of an account in a folder's copy of the account list (immediate mode).
ExplorerImage copiedAccountImage(bool isDeleted) {
    return isDeleted ? ExplorerImage::DeletedAccount : ExplorerImage::Account;
}

bool folderTakes(bool groupFolder, qint16 number) {
    return groupFolder ? ExplorerAccountList::groupFolderTakes(number)
                       : ExplorerAccountList::userFolderTakes(number);
}

} // namespace

ExplorerTree::ExplorerTree() = default;

void ExplorerTree::clear() {
    nodes_.clear();
    index_.clear();
    topLevel_.clear();
    accountFolders_.clear();
    sortSizes_.clear();
    accounts_.reset();
    liveNodes_ = 0;
}

ExplorerTree::AccountFolder* ExplorerTree::folderEntry(int index) {
    const int entry = at(index).accounts.entry;
    return entry < 0 ? nullptr : &accountFolders_[std::size_t(entry)];
}

bool ExplorerTree::isAlive(int node) const {
    return node >= 0 && node < static_cast<int>(nodes_.size()) && at(node).alive;
}

bool ExplorerTree::visibleToView(int node) const {
    const int parent = at(node).parent;
    return parent == kNone || at(parent).reported;
}

int ExplorerTree::createNode(int parent, const QString& key, const QString& text,
                             ExplorerImage image, bool sorted) {
    const int index = static_cast<int>(nodes_.size());
    ExplorerTreeNode created;
    created.key = key;
    created.text = text;
    created.sortText = text;
    created.parent = parent;
    created.kind = ExplorerKeys::GetNodeType(key);
    created.image = image;
    created.sorted = sorted;
    nodes_.push_back(std::move(created));
    index_.insert(key, index);
    ++liveNodes_;
    if (parent == kNone) {
        topLevel_.push_back(index);
    } else {
        ExplorerTreeNode& owner = node(parent);
        owner.children.push_back(index);
        if (owner.sorted)
            owner.displayDirty = true;
        if (AccountFolder* entry = folderEntry(parent))
            entry->realChildren = true;
    }
    return index;
}

int ExplorerTree::insertPosition(int parent, const QString& sortText) {
    const ExplorerTreeNode& owner = at(parent);
    if (!owner.sorted)
        return static_cast<int>(owner.children.size());
    const auto at_ = std::upper_bound(owner.display.begin(), owner.display.end(), sortText,
                                      [this](const QString& text, int child) {
                                          return sortTextBefore(text, at(child).sortText);
                                      });
    return static_cast<int>(at_ - owner.display.begin());
}

int ExplorerTree::add(int parent, const QString& key, const QString& text, ExplorerImage image,
                      bool sorted) {
    if (parent != kNone) {
        if (!isAlive(parent))
            throw ExplorerError::elementNotFound(key.left(key.lastIndexOf(kSeparator)));
        // Pending children come first in the order of addition. A folder with none pending
        // stays lazy: whatever AddAccount brings later still comes after this child.
        if (pendingCount(parent) > 0)
            materialise(parent);
    }
    if (index_.contains(key))
        throw ExplorerError::keyNotUnique(key);
    if (parent == kNone || listener_ == nullptr)
        return createNode(parent, key, text, image, sorted);
    if (at(parent).reported) {
        const int row = insertPosition(parent, text);
        listener_->beginInsertChild(parent, row);
        const int index = createNode(parent, key, text, image, sorted);
        ExplorerTreeNode& owner = node(parent);
        if (owner.sorted) {
            owner.display.insert(owner.display.begin() + row, index);
            owner.displayDirty = false;
        }
        listener_->endInsertChild();
        return index;
    }
    const bool wasEmpty = !hasChildren(parent);
    const int index = createNode(parent, key, text, image, sorted);
    if (wasEmpty && visibleToView(parent))
        listener_->childPresenceChanged(parent);
    return index;
}

int ExplorerTree::addAccountFolder(int parent, const QString& key, bool groupFolder, bool immediate,
                                   bool defaultAccount) {
    const int folder =
        add(parent, key, QStringLiteral("Accounts"), ExplorerImage::ClosedFolder, true);
    // Added before the folder's copy of the list is set up, so that the folder stays lazy.
    if (defaultAccount)
        add(folder, key + kSeparator + QStringLiteral("-1"), QStringLiteral("__Default Account"),
            ExplorerImage::AccountDef);
    node(folder).accounts.entry = static_cast<int>(accountFolders_.size());
    AccountFolder entry;
    entry.node = folder;
    entry.group = groupFolder;
    entry.parentReported = at(parent).reported;
    accountFolders_.push_back(entry);
    const int size = accounts_.size();
    if (!lazy_) {
        for (int r = 0; immediate && r < size; ++r) {
            const ExplorerAccountRecord& record = accounts_.at(r);
            if (groupFolder && record.AccountID == summaryID())
                continue;
            add(folder, key + kSeparator + record.AccountID, record.AccountName,
                copiedAccountImage(record.IsDeleted));
        }
        return folder;
    }
    ExplorerPendingAccounts& pending = node(folder).accounts;
    pending.pending = true;
    accountFolders_.back().pending = true;
    pending.groupFolder = groupFolder;
    pending.addFrom = size;
    pending.sortEpoch = static_cast<int>(sortSizes_.size());
    int repeat = size;
    if (immediate) {
        repeat = groupFolder ? accounts_.firstRepeatOutsideSummary() : accounts_.firstRepeat();
        pending.immediateEnd = std::min(repeat, size);
    }
    if (listener_ != nullptr && visibleToView(folder) && hasChildren(folder))
        listener_->childPresenceChanged(folder);
    if (repeat < size)
        throw ExplorerError::keyNotUnique(key + kSeparator + accounts_.at(repeat).AccountID);
    return folder;
}

void ExplorerTree::addAccountTo(int folder, const QString& name, const QString& accountID,
                                bool deleted, qint16 number) {
    const bool groupFolder = at(folder).kind == ExplorerNodeType::GroupAccountFolder;
    add(folder, at(folder).key + kSeparator + accountID, name,
        addedAccountImage(groupFolder, number, deleted));
}

bool ExplorerTree::folderHoldsAccount(int folder, const QString& accountID, bool known) const {
    const ExplorerTreeNode& n = at(folder);
    if (!n.children.empty() && index_.contains(n.key + kSeparator + accountID))
        return true;
    if (!known)
        return false;
    return accounts_.indexOf(accountID) < n.accounts.immediateEnd ||
           accounts_.lastIndexOf(accountID) >= n.accounts.addFrom;
}

// A failure stops AddAccount's walk; the folders before the failing one keep their new
// child, which for a pending folder means filling it now (the record is never appended).
void ExplorerTree::giveToPendingBefore(std::size_t end, const QString& accountName,
                                       const QString& accountID, bool isDeleted, qint16 number) {
    for (std::size_t j = 0; j < end; ++j) {
        const AccountFolder entry = accountFolders_[j];
        if (!entry.alive || !entry.pending || !folderTakes(entry.group, number))
            continue;
        materialise(entry.node);
        addAccountTo(entry.node, accountName, accountID, isDeleted, number);
    }
}

void ExplorerTree::addAccount(const QString& accountName, const QString& accountID,
                              bool isDeleted) {
    const qint16 number = ExplorerNumbers::AccountNumber(accountID);
    const bool known = accounts_.indexOf(accountID) >= 0;
    std::vector<int> gainedFirstChild;
    for (std::size_t i = 0; i < accountFolders_.size(); ++i) {
        const AccountFolder entry = accountFolders_[i];
        if (!entry.alive || !folderTakes(entry.group, number))
            continue;
        if (!entry.pending) {
            try {
                addAccountTo(entry.node, accountName, accountID, isDeleted, number);
            } catch (const ExplorerError&) {
                giveToPendingBefore(i, accountName, accountID, isDeleted, number);
                throw;
            }
            continue;
        }
        if ((known || entry.realChildren) && folderHoldsAccount(entry.node, accountID, known)) {
            const QString key = at(entry.node).key + kSeparator + accountID;
            giveToPendingBefore(i, accountName, accountID, isDeleted, number);
            throw ExplorerError::keyNotUnique(key);
        }
        if (entry.parentReported && listener_ != nullptr && !hasChildren(entry.node))
            gainedFirstChild.push_back(entry.node);
    }
    accounts_.append(accountID, accountName, isDeleted, number);
    for (const int f : gainedFirstChild)
        listener_->childPresenceChanged(f);
}

int ExplorerTree::pendingCount(int folder) const {
    const ExplorerPendingAccounts& p = at(folder).accounts;
    if (!p.pending)
        return 0;
    const int size = accounts_.size();
    if (p.groupFolder)
        return p.immediateEnd - accounts_.summaryCount(0, p.immediateEnd) +
               accounts_.groupFolderShare(p.addFrom, size);
    return p.immediateEnd + accounts_.userFolderShare(p.addFrom, size);
}

int ExplorerTree::childCount(int node) const {
    if (node == kNone)
        return static_cast<int>(topLevel_.size());
    return static_cast<int>(at(node).children.size()) + pendingCount(node);
}

QString ExplorerTree::cleanedPendingText(int folder, int record, const QString& key) const {
    // Each Sort call made after both the folder and the record existed has cleaned the text.
    const auto from = sortSizes_.begin() + at(folder).accounts.sortEpoch;
    const auto firstSeen = std::upper_bound(from, sortSizes_.end(), record);
    QString text = accounts_.at(record).AccountName;
    for (auto s = firstSeen; s != sortSizes_.end(); ++s) {
        QString cleaned = ExplorerNodeText::CleanedText(key, text);
        if (cleaned == text)
            break;
        text = std::move(cleaned);
    }
    return text;
}

void ExplorerTree::materialiseRecord(int folder, int record, bool immediate) {
    const ExplorerAccountRecord& r = accounts_.at(record);
    const QString key = at(folder).key + kSeparator + r.AccountID;
    if (index_.contains(key))
        return;
    const ExplorerImage image =
        immediate ? copiedAccountImage(r.IsDeleted)
                  : addedAccountImage(at(folder).accounts.groupFolder, r.number, r.IsDeleted);
    const int child = createNode(folder, key, r.AccountName, image, false);
    node(child).text = cleanedPendingText(folder, record, key);
}

void ExplorerTree::materialise(int folder) {
    ExplorerPendingAccounts& p = node(folder).accounts;
    if (!p.pending)
        return;
    p.pending = false;
    folderEntry(folder)->pending = false;
    const bool groupFolder = p.groupFolder;
    const int immediateEnd = p.immediateEnd;
    const int addFrom = p.addFrom;
    for (int r = 0; r < immediateEnd; ++r) {
        if (!groupFolder || accounts_.at(r).AccountID != summaryID())
            materialiseRecord(folder, r, true);
    }
    for (int r = addFrom; r < accounts_.size(); ++r) {
        if (folderTakes(groupFolder, accounts_.at(r).number))
            materialiseRecord(folder, r, false);
    }
}

int ExplorerTree::find(const QString& key) {
    const auto found = index_.constFind(key);
    if (found != index_.constEnd())
        return found.value();
    const qsizetype dot = key.lastIndexOf(kSeparator);
    if (dot < 0)
        return kNone;
    const int parent = index_.value(key.left(dot), kNone);
    if (parent == kNone || !at(parent).accounts.pending)
        return kNone;
    materialise(parent);
    return index_.value(key, kNone);
}

int ExplorerTree::require(const QString& key) {
    const int found = find(key);
    if (found == kNone)
        throw ExplorerError::elementNotFound(key);
    return found;
}

void ExplorerTree::setText(int index, const QString& text) {
    node(index).text = text;
    if (listener_ != nullptr && visibleToView(index))
        listener_->nodeChanged(index);
}

void ExplorerTree::setImage(int index, ExplorerImage image) {
    node(index).image = image;
    if (listener_ != nullptr && visibleToView(index))
        listener_->nodeChanged(index);
}

void ExplorerTree::kill(int index) {
    if (AccountFolder* entry = folderEntry(index))
        entry->alive = false;
    ExplorerTreeNode& n = node(index);
    for (const int child : n.children)
        kill(child);
    index_.remove(n.key);
    --liveNodes_;
    n = ExplorerTreeNode();
    n.alive = false;
}

void ExplorerTree::detachFromParent(int index) {
    const int parent = at(index).parent;
    std::vector<int>& siblings = parent == kNone ? topLevel_ : node(parent).children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), index));
    if (parent != kNone) {
        std::vector<int>& display = node(parent).display;
        const auto shown = std::find(display.begin(), display.end(), index);
        if (shown != display.end())
            display.erase(shown);
    }
}

void ExplorerTree::remove(int index) {
    const int parent = at(index).parent;
    const bool reported = parent == kNone || at(parent).reported;
    if (listener_ != nullptr && reported) {
        const int row = rowOf(index);
        listener_->beginRemoveChildren(parent, row, row);
        detachFromParent(index);
        kill(index);
        listener_->endRemoveChildren();
        return;
    }
    detachFromParent(index);
    kill(index);
    if (listener_ != nullptr && !hasChildren(parent) && visibleToView(parent))
        listener_->childPresenceChanged(parent);
}

void ExplorerTree::clearChildren(int index) {
    const bool hadChildren = hasChildren(index);
    const int count = static_cast<int>(at(index).children.size());
    const bool report = listener_ != nullptr && at(index).reported && count > 0;
    if (report)
        listener_->beginRemoveChildren(index, 0, count - 1);
    ExplorerTreeNode& n = node(index);
    n.accounts.pending = false;
    if (AccountFolder* entry = folderEntry(index))
        entry->pending = false;
    const std::vector<int> children = std::move(n.children);
    n.children.clear();
    n.display.clear();
    n.displayDirty = false;
    for (const int child : children)
        kill(child);
    if (report)
        listener_->endRemoveChildren();
    else if (listener_ != nullptr && hadChildren && visibleToView(index))
        listener_->childPresenceChanged(index);
}

const std::vector<int>& ExplorerTree::childrenInAdditionOrder(int index) {
    if (index == kNone)
        return topLevel_;
    materialise(index);
    return at(index).children;
}

const std::vector<int>& ExplorerTree::displayOrder(int index) {
    if (index == kNone)
        return topLevel_;
    materialise(index);
    ExplorerTreeNode& n = node(index);
    if (!n.sorted)
        return n.children;
    if (n.displayDirty || n.display.size() != n.children.size()) {
        n.display = n.children;
        std::stable_sort(n.display.begin(), n.display.end(), [this](int left, int right) {
            return sortTextBefore(at(left).sortText, at(right).sortText);
        });
        n.displayDirty = false;
    }
    return n.display;
}

const std::vector<int>& ExplorerTree::reportedChildren(int index) {
    const std::vector<int>& children = displayOrder(index);
    if (index == kNone || at(index).reported)
        return children;
    node(index).reported = true;
    for (const int child : children) {
        if (AccountFolder* entry = folderEntry(child))
            entry->parentReported = true;
    }
    return children;
}

int ExplorerTree::rowOf(int index) {
    const int parent = at(index).parent;
    const std::vector<int>& siblings = displayOrder(parent);
    auto first = siblings.begin();
    auto last = siblings.end();
    if (parent != kNone && at(parent).sorted) {
        const auto range = std::equal_range(first, last, index, [this](int left, int right) {
            return sortTextBefore(at(left).sortText, at(right).sortText);
        });
        first = range.first;
        last = range.second;
    }
    const auto found = std::find(first, last, index);
    return found == last ? -1 : static_cast<int>(found - siblings.begin());
}

void ExplorerTree::cleanUpTexts() {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const ExplorerTreeNode& n = nodes_[i];
        if (!n.alive || !n.text.startsWith(ExplorerNodeText::SortFirstPrefix))
            continue;
        if (n.kind != ExplorerNodeType::UserAccount && n.kind != ExplorerNodeType::GroupAccount)
            continue;
        const QString cleaned = ExplorerNodeText::CleanedText(n.key, n.text);
        if (cleaned != n.text)
            setText(static_cast<int>(i), cleaned);
    }
    sortSizes_.push_back(accounts_.size());
}

} // namespace velora::explorer
