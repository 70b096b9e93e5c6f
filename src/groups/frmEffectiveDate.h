#pragma once

#include "PromptDialog.h"

#include <QDate>
#include <functional>

class QCalendarWidget;

namespace velora::suite {
class HXRegion;
}

namespace velora::groups {

// What the effective-date dialog needs from the program: the regional date form, the latest
// locked day ("Current Unlocked"), the operator's first day of the week (1 = Sunday ..
// 7 = Saturday) and today's date.
struct EffectiveDateServices {
    const suite::HXRegion& region;
    std::function<QString()> lastLockedDate;
    std::function<int()> firstDayOfWeek;
    std::function<QDate()> today;
};

// The modal dialog that asks for an effective date: a date field, a month calendar and quick
// buttons for the usual dates. OK (or Enter in the field) takes only a valid date in the
// regional form; anything else keeps the dialog open without a word.
//
// Controls: lblPrompt, Label2, txtEffectiveDate, calEffectiveDate, Label1, btnCurrentMonth,
// btnPrevWeek, btnCurrentWeek, btnEariliestDate, cmdOK, cmdCancel.
class frmEffectiveDate : public PromptDialog {
    Q_OBJECT

public:
    explicit frmEffectiveDate(EffectiveDateServices services, QWidget* parent = nullptr);

    QLineEdit* txtEffectiveDate() const { return entryField(); }
    QCalendarWidget* calEffectiveDate() const { return calendar_; }
    QPushButton* btnCurrentMonth() const { return currentMonth_; }
    QPushButton* btnPrevWeek() const { return prevWeek_; }
    QPushButton* btnCurrentWeek() const { return currentWeek_; }
    QPushButton* btnEariliestDate() const { return earliestDate_; }

protected:
    bool acceptsInput() const override;
    void onLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* quickButton(const char* name, const QString& caption);
    void layOut();
    // Writes a day into the field, shows it in the calendar and gives the field the focus.
    void offer(const QString& text);
    Qt::DayOfWeek firstDay() const;

    EffectiveDateServices services_;
    QCalendarWidget* calendar_;
    QPushButton* currentMonth_;
    QPushButton* prevWeek_;
    QPushButton* currentWeek_;
    QPushButton* earliestDate_;
};

} // namespace velora::groups
