#include "ExplorerNodeText.h"

#include "ExplorerKeys.h"
#include "catalogue/Account.h"

#include <QRegularExpression>

namespace velora::explorer {

namespace {

using catalogue::SpecialAccountID::Default;
using catalogue::SpecialAccountID::External;
using catalogue::SpecialAccountID::Summary;

// The number a text begins with, leading blanks skipped, 0 when it begins with none: group
// account ids are compared by value, so "-1", " -1" and "-1.0" all name the default account.
double leadingNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?))"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

bool isSummaryOfUser(const QString& key) {
    return ExplorerKeys::GetNodeType(key) == ExplorerNodeType::UserAccount &&
           ExplorerKeys::GetUserAccountID(key) == QString::number(Summary);
}

bool isPseudoAccountOfGroup(const QString& key) {
    if (ExplorerKeys::GetNodeType(key) != ExplorerNodeType::GroupAccount)
        return false;
    const QString accountID = ExplorerKeys::GetGroupAccountID(key);
    return accountID == QString::number(External) || leadingNumber(accountID) == Default;
}

} // namespace

bool ExplorerNodeText::SortsBefore(const QString& left, const QString& right) {
    const bool leftFirst = left.startsWith(SortFirstPrefix);
    const bool rightFirst = right.startsWith(SortFirstPrefix);
    if (leftFirst != rightFirst)
        return leftFirst;
    const int folded = QString::compare(left, right, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : left < right;
}

QString ExplorerNodeText::CleanedText(const QString& key, const QString& text) {
    if (!text.startsWith(SortFirstPrefix))
        return text;
    if (isSummaryOfUser(key) || isPseudoAccountOfGroup(key))
        return text.mid(SortFirstPrefix.size());
    return text;
}

} // namespace velora::explorer
