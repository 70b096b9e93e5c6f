#pragma once

#include <QString>

namespace velora::catalogue {

// One formula of Incentive_formula. The text is kept exactly as stored.
class Formula {
public:
    int PartitionID() const { return partitionID_; }
    void setPartitionID(int value) { partitionID_ = value; }

    int FormulaID() const { return formulaID_; }
    void setFormulaID(int value) { formulaID_ = value; }

    const QString& FormulaName() const { return formulaName_; }
    void setFormulaName(const QString& value) { formulaName_ = value; }

    const QString& FormulaText() const { return formulaText_; }
    void setFormulaText(const QString& value) { formulaText_ = value; }

private:
    int partitionID_ = 0;
    int formulaID_ = 0;
    QString formulaName_;
    QString formulaText_;
};

} // namespace velora::catalogue
