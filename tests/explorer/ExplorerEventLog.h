#pragma once

#include "explorer/IncentiveExplorer.h"

#include <QStringList>

// Records every event of an explorer as "Name(arg,arg)" and answers the out arguments with
// what the test queued.
class ExplorerEventLog {
public:
    using IncentiveExplorer = velora::explorer::IncentiveExplorer;
    using ExplorerNode = velora::explorer::ExplorerNode;

    explicit ExplorerEventLog(IncentiveExplorer& e) {
        const auto record = [this](const char* name, const QStringList& args) {
            events << QString::fromLatin1(name) + u'(' + args.join(u',') + u')';
        };
        QObject::connect(&e, &IncentiveExplorer::RenameFormula, &e,
                         [=, this](const QString& id, const QString& old, QString& newName,
                                   qint16& cancel, QString& tag) {
                             record("RenameFormula", {id, old, tag});
                             newName = nextName;
                             cancel = nextCancel;
                         });
        QObject::connect(&e, &IncentiveExplorer::RenameGroup, &e,
                         [=, this](const QString& id, const QString& old, QString& newName,
                                   qint16& cancel, bool& isDefault) {
                             record("RenameGroup", {id, old});
                             newName = nextName;
                             cancel = nextCancel;
                             isDefault = nextIsDefault;
                         });
        QObject::connect(&e, &IncentiveExplorer::CreateFormula, &e,
                         [=] { record("CreateFormula", {}); });
        QObject::connect(&e, &IncentiveExplorer::CreateGroup, &e,
                         [=] { record("CreateGroup", {}); });
        QObject::connect(
            &e,
            qOverload<const QString&, const QString&, qint16&>(&IncentiveExplorer::DeleteFormula),
            &e, [=, this](const QString& name, const QString& id, qint16& cancel) {
                record("DeleteFormula", {name, id});
                cancel = nextCancel;
            });
        QObject::connect(
            &e, qOverload<const QString&, const QString&, qint16&>(&IncentiveExplorer::DeleteGroup),
            &e, [=, this](const QString& name, const QString& id, qint16& cancel) {
                record("DeleteGroup", {name, id});
                cancel = nextCancel;
            });
        QObject::connect(&e, &IncentiveExplorer::RootClick, &e, [=] { record("RootClick", {}); });
        connect2(e, &IncentiveExplorer::UserClick, "UserClick");
        connect2(e, &IncentiveExplorer::FormulaClick, "FormulaClick");
        connect2(e, &IncentiveExplorer::GroupClick, "GroupClick");
        QObject::connect(
            &e, &IncentiveExplorer::AccountClick, &e,
            [=](const QString& a, const QString& b, const QString& c, const QString& d) {
                record("AccountClick", {a, b, c, d});
            });
        QObject::connect(
            &e, &IncentiveExplorer::UserAccountClick, &e,
            [=](const QString& a, const QString& b, const QString& c, const QString& d) {
                record("UserAccountClick", {a, b, c, d});
            });
        connect2(e, &IncentiveExplorer::LostFocusUser, "LostFocusUser");
        connect2(e, &IncentiveExplorer::LostFocusFormula, "LostFocusFormula");
        connect2(e, &IncentiveExplorer::LostFocusGroup, "LostFocusGroup");
        QObject::connect(&e, &IncentiveExplorer::LostFocusAccount, &e,
                         [=](const QString& a, const QString& b, const QString& c) {
                             record("LostFocusAccount", {a, b, c});
                         });
        QObject::connect(&e, &IncentiveExplorer::LostFocusUserAccount, &e,
                         [=](const QString& a, const QString& b, const QString& c) {
                             record("LostFocusUserAccount", {a, b, c});
                         });
        QObject::connect(&e, &IncentiveExplorer::UserFolderClick, &e,
                         [=] { record("UserFolderClick", {}); });
        QObject::connect(&e, &IncentiveExplorer::FormulaFolderClick, &e,
                         [=] { record("FormulaFolderClick", {}); });
        QObject::connect(&e, &IncentiveExplorer::GroupFolderClick, &e,
                         [=] { record("GroupFolderClick", {}); });
        QObject::connect(&e, &IncentiveExplorer::AccountFolderClick, &e,
                         [=](const QString& a) { record("AccountFolderClick", {a}); });
        QObject::connect(&e, &IncentiveExplorer::UserAccountFolderClick, &e,
                         [=](const QString& a) { record("UserAccountFolderClick", {a}); });
        QObject::connect(&e, &IncentiveExplorer::UserExternalAccountFolderClick, &e,
                         [=](const QString& a) { record("UserExternalAccountFolderClick", {a}); });
        QObject::connect(&e, &IncentiveExplorer::UserFolderExpand, &e,
                         [=](const ExplorerNode& n, const QString& a) {
                             record("UserFolderExpand", {n.key(), a});
                         });
        QObject::connect(&e, &IncentiveExplorer::GroupFolderExpand, &e,
                         [=](const ExplorerNode& n, const QString& a) {
                             record("GroupFolderExpand", {n.key(), a});
                         });
        QObject::connect(&e, &IncentiveExplorer::IncentiveExplorerError, &e,
                         [=](qint32 number, const QString& description) {
                             record("Error", {QString::number(number), description});
                         });
    }

    // The events so far, and a fresh start.
    QStringList take() {
        QStringList taken = events;
        events.clear();
        return taken;
    }

    QStringList events;
    QString nextName;
    qint16 nextCancel = 0;
    bool nextIsDefault = false;

private:
    template <typename Signal>
    void connect2(IncentiveExplorer& e, Signal signal, const char* name) {
        QObject::connect(&e, signal, &e, [this, name](const QString& a, const QString& b) {
            events << QString::fromLatin1(name) + u'(' + a + u',' + b + u')';
        });
    }
};
