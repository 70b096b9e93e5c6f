#include "common/TestMain.h"
#include "detail/WeekPrinter.h"

#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using velora::detail::WeekPrinter;

namespace {

// Pages of a PDF file: its page objects, not the page tree.
int pdfPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

} // namespace

class TestWeekPrinter : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<QWidget> window_;

    QString pdfPath(const QString& name) const { return dir_.filePath(name); }

    static void toPdf(QPrinter& printer, const QString& path, int copies) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setCopyCount(copies);
    }

private Q_SLOTS:
    void init() {
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        layout->addWidget(new QLabel(QStringLiteral("Velora Incentive - User Account")));
        window_->resize(640, 480);
    }
    void cleanup() { window_.reset(); }

    // One page per copy chosen; cancelling the dialog prints nothing.
    void printsOnePagePerCopy_data() {
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("printed");
        QTest::newRow("one") << 1 << true;
        QTest::newRow("three") << 3 << true;
        QTest::newRow("cancelled") << 1 << false;
    }
    void printsOnePagePerCopy() {
        QFETCH(int, copies);
        QFETCH(bool, printed);
        WeekPrinter printer(*window_);
        const QString path = pdfPath(QStringLiteral("week-%1-%2.pdf").arg(copies).arg(printed));
        printer.setDialog([&](QPrinter& chosen, QWidget* parent) {
            [&] { QCOMPARE(parent, window_.get()); }();
            toPdf(chosen, path, copies);
            return printed;
        });
        printer.PrintWeek();
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly), printed);
        if (!printed)
            return;
        QCOMPARE(pdfPages(file.readAll()), copies);
        // The copies are printed by the program, not multiplied again by the printer.
        QCOMPARE(printer.printer().copyCount(), copies);
    }
};

VELORA_TEST(TestWeekPrinter)
#include "TestWeekPrinter.moc"
