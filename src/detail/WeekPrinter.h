#pragma once

#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace velora::detail {

// The Print button of the weekly detail: the printer dialog, then an image of the whole main
// window (grid and explorer included), once per copy chosen in the dialog. The printer chosen
// in the dialog serves this print only; the program's printer is the one it was before.
class WeekPrinter {
public:
    // Shows the printer dialog on a printer; false when the operator cancelled.
    using PrinterDialog = std::function<bool(QPrinter&, QWidget* parent)>;

    explicit WeekPrinter(QWidget& mainWindow);
    ~WeekPrinter();
    WeekPrinter(const WeekPrinter&) = delete;
    WeekPrinter& operator=(const WeekPrinter&) = delete;

    // The program's current printer.
    QPrinter& printer() { return *printer_; }
    // Replaces the printer dialog (tests answer it at once).
    void setDialog(PrinterDialog dialog) { dialog_ = std::move(dialog); }

    // cmdUserDetailPrint: dialog, print, restore the printer. Nothing is printed on Cancel.
    void PrintWeek();

    // Prints the window's image on its own page once per copy the printer is set to, scaled to
    // the page with its proportions kept. Returns the number of pages printed (0 when the
    // printer could not start).
    static int printWindow(QPrinter& printer, QWidget& window);

    // The real dialog, QPrintDialog named cdgPrinter.
    static bool showPrintDialog(QPrinter& printer, QWidget* parent);

private:
    QWidget& mainWindow_;
    std::unique_ptr<QPrinter> printer_;
    PrinterDialog dialog_;
};

} // namespace velora::detail
