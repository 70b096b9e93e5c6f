#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace velora::db {
class Connection;
}
namespace velora::catalogue {
class Catalogue;
class Formula;
} // namespace velora::catalogue
namespace velora::common {
class Messages;
}
namespace velora::suite {
class HXRegion;
}
namespace velora::engine {
class FormulaEvaluator;
}
namespace velora::groups {
class EffectiveDateProcedure;
}

namespace velora::formulas {

class FormulaPane;

// What editing a formula works with. The main window owns all of it.
struct FormulaEditingEnvironment {
    db::Connection& connection;
    common::Messages& messages;
    catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    // True when the logged-in operator holds the right to change formulas.
    std::function<bool()> fullMode;
    const suite::HXRegion& region;
    groups::EffectiveDateProcedure& effectiveDate;
    // The evaluator of the program's run; null once the window has unloaded.
    std::function<engine::FormulaEvaluator*()> evaluator;
    // Hands the tester's user, account and day to the evaluator before the parse check.
    std::function<void()> passTesterInputs;
    std::function<void()> beginBusy;
    std::function<void()> endBusy;
    std::function<void()> showPane;
};

// How one save ended.
enum class FormulaSaveResult {
    Unchanged, // nothing to save
    Saved,     // rows locked before the effective date, then the text written
    Cancelled, // the operator chose to throw the edit away at the date prompt
    Refused,   // the date was declined or the text cannot be used; the edit is kept
    Failed,    // a database error; the operator has been told
};

// One formula's text in the formula pane (picFormula). A changed text is saved with an
// effective date: the days before it of every user whose group uses the formula are locked first,
// so that they keep the pay computed under the old text. A text that does not compile, or a
// lines-typed or hours-worked formula that reads the incentive functions, is never written.
class FormulaEditing {
public:
    FormulaEditing(FormulaEditingEnvironment environment, FormulaPane& pane);

    // Connects Save Changes and Revert Changes.
    void bindButtons();

    // Shows the formula; the ID arrives as the explorer's text.
    void LoadFormula(const QString& formulaID, const QString& formulaName);
    // True when a formula is loaded and the editor's text differs from the stored one.
    bool FormulaChanged();
    // Saves a changed text. `note` asks for the closing note and is set to false when the save
    // refuses the date or the text.
    FormulaSaveResult SaveFormula(bool& note);
    // Save Changes: the save, then the stored text back in the editor unless the save refused
    // the edit.
    void saveChanges();
    // Puts a text into the editor as an edit of the formula on screen (the wizard's text).
    void showText(const QString& text);
    // Revert Changes: the stored text back in the editor; nothing is written.
    void revertChanges();

    // The explorer renamed or deleted a formula: the pane follows when it shows that formula.
    void renamed(const QString& formulaID, const QString& nodeText);
    void forget(const QString& formulaID);

    std::shared_ptr<catalogue::Formula> currentFormula() const { return current_; }

    // Statement texts; the ID is a number, the date goes through QuoteSql.
    static QString loadStatement(int formulaID);
    // The default formula's lock-out reaches every row that falls back to it.
    static QString latestLockedStatement(int formulaID, const QString& date, bool partitionMode);
    static QString typedOrHoursGroupsStatement(int formulaID);
    static QString lockStatement(int formulaID, const QString& date, bool partitionMode);
    static QString writeStatement(int formulaID, const QString& text);

private:
    void load(const QString& formulaID, const QString& formulaName);
    bool shows(const QString& formulaID) const;
    void setCurrent(int formulaID, const QString& formulaName, const QString& text);
    FormulaSaveResult save(bool& note);
    FormulaSaveResult refuse(bool& note);
    bool parses(const QString& text);
    bool readsIncentiveFunctionsWrongly(const QString& text);
    void closeConnection();

    FormulaEditingEnvironment env_;
    FormulaPane& pane_;
    std::shared_ptr<catalogue::Formula> current_;
    // Outside partition mode the window's own entity, refilled by every load.
    std::shared_ptr<catalogue::Formula> own_;
};

} // namespace velora::formulas
