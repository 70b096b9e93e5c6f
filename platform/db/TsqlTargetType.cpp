#include "TsqlTargetType.h"

#include "TsqlSyntax.h"

#include <initializer_list>

namespace velora::db {

using namespace tsql;

namespace {

using Type = TsqlToken::Type;
using Node = TsqlTreeNode;

} // namespace

// The whole number at i of a type's size, such as the 2 of "(19,2)".
int TsqlTargetType::integerArgument(const TsqlTree& tree, const TsqlTreeNodes& args, int i) {
    if (i >= TsqlTree::size(args))
        syntaxError(QStringLiteral(")"));
    bool ok = false;
    const int value = TsqlTree::isTokenNode(args[i]) && tree.tok(args[i]).type == Type::Number
                          ? tree.tok(args[i]).text.toInt(&ok)
                          : 0;
    if (!ok || value < 0)
        syntaxError(TsqlTree::isTokenNode(args[i]) ? tree.tok(args[i]).text : QStringLiteral("("));
    return value;
}

TsqlTargetType TsqlTargetType::parse(const TsqlTree& tree, const TsqlTreeNodes& args, int begin,
                                     int end) {
    if (begin >= end || !TsqlTree::isTokenNode(args[begin]) ||
        tree.tok(args[begin]).type != Type::Identifier)
        syntaxError(begin < end && TsqlTree::isTokenNode(args[begin]) ? tree.tok(args[begin]).text
                                                                      : QStringLiteral(","));
    const TsqlToken& name = tree.tok(args[begin]);
    const Node* size = nullptr;
    if (end - begin == 2 && args[begin + 1].kind == Node::Kind::Group)
        size = &args[begin + 1];
    else if (end - begin != 1)
        syntaxError(name.text);
    const auto is = [&name](std::initializer_list<const char*> words) {
        for (const char* word : words) {
            if (name.isKeyword(QLatin1String(word)))
                return true;
        }
        return false;
    };
    TsqlTargetType target;
    if (is({"decimal", "numeric", "dec"})) {
        target.kind = Kind::Decimal;
        if (size) { // (precision) or (precision, scale)
            const int count = static_cast<int>(size->children.size());
            if ((count != 1 && count != 3) ||
                (count == 3 && !tree.nodeIsOperator(size->children, 1, QLatin1String(","))))
                syntaxError(QStringLiteral(")"));
            integerArgument(tree, size->children, 0);
            if (count == 3)
                target.scale = integerArgument(tree, size->children, 2);
        }
    } else if (is({"money", "smallmoney"})) {
        target.kind = Kind::Decimal;
        target.scale = 4;
    } else if (is({"int", "integer", "bigint", "smallint", "tinyint"})) {
        target.kind = Kind::Integer;
    } else if (is({"float", "real"})) {
        target.kind = Kind::Real;
    } else if (is({"varchar", "nvarchar", "char", "nchar"})) {
        target.kind = Kind::Text;
        target.length = 30; // SQL Server's length when none is given
        if (size && size->children.size() == 1 && TsqlTree::isTokenNode(size->children[0]) &&
            tree.tok(size->children[0]).isKeyword(QLatin1String("max")))
            target.length = -1;
        else if (size && size->children.size() == 1)
            target.length = integerArgument(tree, size->children, 0);
        else if (size)
            syntaxError(QStringLiteral(")"));
    } else if (is({"datetime", "date", "smalldatetime", "datetime2"})) {
        target.kind = Kind::Date;
    } else {
        unsupported(QStringLiteral("Conversion to %1").arg(name.text));
    }
    return target;
}

} // namespace velora::db
