#pragma once

#include <QString>
#include <functional>

class QComboBox;

namespace velora::db {
class Connection;
}
namespace velora::catalogue {
class Catalogue;
}
namespace velora::common {
class Messages;
}
namespace velora::engine {
class FormulaEvaluator;
}
namespace velora::suite {
class HXRegion;
}

namespace velora::formulas {

class FormulaPane;

// What the tester works with; the main window owns all of it.
struct FormulaTesterEnvironment {
    db::Connection& connection;
    common::Messages& messages;
    const catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    std::function<int()> partitionDisplay; // INCENT_PARTITION_DISPLAY
    const suite::HXRegion& region;
    std::function<engine::FormulaEvaluator*()> evaluator; // null after unload
    std::function<int()> formulaPartitionID;              // the current formula's partition
};

// The formula pane's tester: the operator picks a user, an account and a day, and the edited
// formula text is evaluated once against that day's production. Nothing is stored. The
// results are shown in a message, the inputs the formula read in the pane's table beside
// them; a failed evaluation marks its line in the editor.
class FormulaTester {
public:
    FormulaTester(FormulaTesterEnvironment environment, FormulaPane& pane);

    // Connects the Test Formula button and the date field's loss of focus.
    void bindControls();

    // The users (outside partition mode every live transcriptionist by id, in partition mode
    // the catalogue's users of the formula's partition labelled with it); the first selected.
    void FillTesterUserList();
    // The accounts, likewise, with the account id as item data; the first selected.
    void FillTesterAccountList();

    void TestFormula();
    // Rewrites a valid date in the regional form, leaves an empty field empty; any other text
    // is refused with a message and the focus goes back to the field (false).
    bool CheckShiftDate();
    // Hands the picked day, account and user to the evaluator; an empty field or list leaves
    // the evaluator's previous value, and so does a date field that holds no date.
    void PassInputsToEvaluator();

    // The statements of the lists outside partition mode.
    static QString userListStatement();
    static QString accountListStatement();
    // A 32-bit float as the shortest text that reads back as the same float, without an
    // exponent ("12.5", "0.1", "10000000").
    static QString singleText(float value);

private:
    void fillUsersFromCatalogue();
    void fillAccountsFromCatalogue();
    QString partitionLabelled(const QString& item, int partitionID) const;
    void finishFill(QComboBox& list);
    void showResults(engine::FormulaEvaluator& evaluator);
    void showError(engine::FormulaEvaluator& evaluator);
    void fillInputsTable(const engine::FormulaEvaluator& evaluator);
    QString regionalNumber(double value) const;
    void closeConnection();

    FormulaTesterEnvironment env_;
    FormulaPane& pane_;
};

} // namespace velora::formulas
