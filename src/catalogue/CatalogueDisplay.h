#pragma once

#include "Catalogue.h"
#include "CatalogueLoader.h"

#include <QString>
#include <functional>
#include <vector>

namespace velora::db {
class Connection;
class Recordset;
} // namespace velora::db

namespace velora::suite {
class HXLoginUser;
}

namespace velora::explorer {
class ExplorerPopulation;
}

namespace velora::common {
class Messages;
}

namespace velora::catalogue {

// How a catalogue display ended. Cancelled: the operator closed the wait dialog during the
// load and endProgram has been called; the caller ends the program without saving settings.
enum class DisplayResult { Shown, Aborted, Cancelled };

// The preferences that decide what the explorer shows.
struct DisplayPreferences {
    bool showDeletedUsers = false;    // INCENT_SHOW_DELETED_USERS
    bool showDeletedAccounts = false; // INCENT_SHOW_DELETED_ACCOUNTS
    int partitionDisplay = 0;         // INCENT_PARTITION_DISPLAY: 0 "partition\item"
};

// What the display reads and fills; the main window owns all of it.
struct CatalogueDisplayEnvironment {
    db::Connection& connection;
    QString connectionString; // opens the connection when it is closed
    const suite::HXLoginUser& loginUser;
    bool partitionMode = false;
    DisplayPreferences preferences;
    Catalogue& catalogue;
    User& currentUser; // gets the catalogue's fields and the accessible partitions' ids
    CatalogueCollection<Partition>& accessiblePartitions; // rebuilt in full partition mode
    explorer::ExplorerPopulation& explorer;
    common::Messages& messages;
    // Shows a message in the wait dialog, lets it repaint; false once it has been unloaded.
    CatalogueLoader::Progress progress;
    // Enables (full mode) or disables (operator mode) the edit and create menus; in operator
    // mode the main window also disables the user header's group selector.
    std::function<void(bool full)> setFullModeControls;
    // Called when the operator cancelled the load: the program ends at once.
    std::function<void()> endProgram;
};

// Fills the explorer with the users, accounts, formulas and groups the logged-in user may see,
// and sets the menus for the user's mode.
//
// Full mode (right 17) in partition mode loads the catalogue and shows only items of the
// partitions below the user's own, labelled with their partition. Full mode outside
// partition mode reads each list straight from the database. Operator mode loads the
// catalogue and shows the accounts and the logged-in user alone.
//
// The work is a sequence of statements. When one fails, the operator chooses: Abort leaves
// the display, Retry closes the connection and starts again from the first statement, Ignore
// goes on with the next one (for a list, with the next item).
class CatalogueDisplay {
public:
    explicit CatalogueDisplay(CatalogueDisplayEnvironment environment);

    DisplayResult show();

    // The text of the Abort/Retry/Ignore box for a failure.
    static QString failureText(int number, const QString& description);

private:
    enum class Outcome { Finished, Restart, Abort, Cancel };
    // Thrown past every statement to leave the current pass; never a NumberedError, so no
    // statement's recovery catches it.
    struct Interruption {
        Outcome outcome;
    };
    using Step = void (CatalogueDisplay::*)();

    Outcome runPass();
    std::vector<Step> steps() const;
    void attempt(const std::function<void()>& statement);
    void recover(int number, const QString& description);
    void closeConnection();
    void forEachRow(const QString& statement,
                    const std::function<void(const db::Recordset&)>& readRow);
    QString partitionName(int partitionId) const;
    QString qualifiedName(const QString& item, int partitionId) const;
    bool isVisible(int partitionId) const;

    void openConnection();
    void loadCatalogue();
    void announceInterface();
    void determineAccessiblePartitions();
    void addCataloguedUsers();
    void addSpecialAccounts();
    void addCataloguedAccounts();
    void addCataloguedFormulas();
    void addCataloguedGroups();
    void addAccountRows();
    void addUserRows();
    void addFormulaRows();
    void addGroupRows();
    void addOperatorAccountRows();
    void addLoggedInUser();
    void enableFullMode();
    void enableOperatorMode();
    void finish();

    CatalogueDisplayEnvironment env_;
};

} // namespace velora::catalogue
