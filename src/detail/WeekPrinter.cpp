#include "WeekPrinter.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace velora::detail {

WeekPrinter::WeekPrinter(QWidget& mainWindow)
    : mainWindow_(mainWindow)
    , printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , dialog_(&WeekPrinter::showPrintDialog) {
    printer_->setDocName(QStringLiteral("Velora Incentive"));
    // A workstation without printers still prints: into a PDF file in the home folder, which
    // the dialog offers and the operator may rename.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        printer_->setOutputFileName(QDir::home().filePath(QStringLiteral("Velora Incentive.pdf")));
}

WeekPrinter::~WeekPrinter() = default;

bool WeekPrinter::showPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("cdgPrinter"));
    return dialog.exec() == QDialog::Accepted;
}

void WeekPrinter::PrintWeek() {
    // The dialog may pick another printer for this print; the program keeps its own.
    const QString remembered = printer_->printerName();
    if (dialog_(*printer_, &mainWindow_))
        printWindow(*printer_, mainWindow_);
    // Setting a name also chooses the output format (an empty name means PDF), so the name is
    // only set when the dialog changed it.
    if (printer_->printerName() != remembered)
        printer_->setPrinterName(remembered);
}

int WeekPrinter::printWindow(QPrinter& printer, QWidget& window) {
    const QPixmap image = window.grab();
    // The copies are printed here, one page each, so the printer must not multiply them again.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer)) {
        printer.setCopyCount(copies);
        return 0;
    }
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    const QRect target(page.topLeft(), size);
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            printer.newPage();
        painter.drawPixmap(target, image);
    }
    painter.end();
    printer.setCopyCount(copies);
    return copies;
}

} // namespace velora::detail
