#pragma once

#include "explorer/IncentiveExplorer.h"

#include <QStringList>

// Records every event of an explorer as "Name(arg,arg)" (a node as its key, the error event as
// "Error") and answers the out arguments with what the test queued.
class ExplorerEventLog {
public:
    using IncentiveExplorer = velora::explorer::IncentiveExplorer;
    using ExplorerNode = velora::explorer::ExplorerNode;

    explicit ExplorerEventLog(IncentiveExplorer& e)
        : e_(e) {
        using E = IncentiveExplorer;
        QObject::connect(&e, &E::RenameFormula, &e,
                         [this](const QString& id, const QString& old, QString& newName,
                                qint16& cancel, QString& tag) {
                             record("RenameFormula", id, old, tag);
                             newName = nextName;
                             cancel = nextCancel;
                         });
        QObject::connect(&e, &E::RenameGroup, &e,
                         [this](const QString& id, const QString& old, QString& newName,
                                qint16& cancel, bool& isDefault) {
                             record("RenameGroup", id, old);
                             newName = nextName;
                             cancel = nextCancel;
                             isDefault = nextIsDefault;
                         });
        using Delete = void (E::*)(const QString&, const QString&, qint16&);
        for (const auto& [signal, name] :
             {std::pair<Delete, const char*>{&E::DeleteFormula, "DeleteFormula"},
              {&E::DeleteGroup, "DeleteGroup"}}) {
            QObject::connect(&e, signal, &e,
                             [this, name](const QString& text, const QString& id, qint16& cancel) {
                                 record(name, text, id);
                                 cancel = nextCancel;
                             });
        }
        on(&E::CreateFormula, "CreateFormula");
        on(&E::CreateGroup, "CreateGroup");
        on(&E::RootClick, "RootClick");
        on(&E::UserClick, "UserClick");
        on(&E::FormulaClick, "FormulaClick");
        on(&E::GroupClick, "GroupClick");
        on(&E::AccountClick, "AccountClick");
        on(&E::UserAccountClick, "UserAccountClick");
        on(&E::LostFocusUser, "LostFocusUser");
        on(&E::LostFocusFormula, "LostFocusFormula");
        on(&E::LostFocusGroup, "LostFocusGroup");
        on(&E::LostFocusAccount, "LostFocusAccount");
        on(&E::LostFocusUserAccount, "LostFocusUserAccount");
        on(&E::UserFolderClick, "UserFolderClick");
        on(&E::FormulaFolderClick, "FormulaFolderClick");
        on(&E::GroupFolderClick, "GroupFolderClick");
        on(&E::AccountFolderClick, "AccountFolderClick");
        on(&E::UserAccountFolderClick, "UserAccountFolderClick");
        on(&E::UserExternalAccountFolderClick, "UserExternalAccountFolderClick");
        on(&E::UserFolderExpand, "UserFolderExpand");
        on(&E::GroupFolderExpand, "GroupFolderExpand");
        on(&E::IncentiveExplorerError, "Error");
    }

    // The events so far, and a fresh start.
    QStringList take() { return std::exchange(events, {}); }

    QStringList events;
    QString nextName;
    qint16 nextCancel = 0;
    bool nextIsDefault = false;

private:
    template <typename... Args>
    void on(void (IncentiveExplorer::*signal)(Args...), const char* name) {
        QObject::connect(&e_, signal, &e_, [this, name](Args... args) { record(name, args...); });
    }

    template <typename... Args> void record(const char* name, const Args&... args) {
        events << QString::fromLatin1(name) + u'(' + QStringList{text(args)...}.join(u',') + u')';
    }

    static QString text(const QString& value) { return value; }
    static QString text(const ExplorerNode& node) { return node.key(); }
    static QString text(qint32 number) { return QString::number(number); }

    IncentiveExplorer& e_;
};
