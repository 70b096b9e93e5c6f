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

    void printsOnePagePerCopy_data() {
        QTest::addColumn<int>("copies");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }
    void printsOnePagePerCopy() {
        QFETCH(int, copies);
        WeekPrinter printer(*window_);
        const QString path = pdfPath(QStringLiteral("week-%1.pdf").arg(copies));
        printer.setDialog([&](QPrinter& chosen, QWidget* parent) {
            [&] { QCOMPARE(parent, window_.get()); }();
            toPdf(chosen, path, copies);
            return true;
        });
        printer.PrintWeek();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), copies);
        // The copies are printed by the program, not multiplied again by the printer.
        QCOMPARE(printer.printer().copyCount(), copies);
    }

    void cancellingPrintsNothing() {
        WeekPrinter printer(*window_);
        const QString path = pdfPath(QStringLiteral("cancelled.pdf"));
        printer.setDialog([&](QPrinter& chosen, QWidget*) {
            toPdf(chosen, path, 1);
            return false;
        });
        printer.PrintWeek();
        QVERIFY(!QFile::exists(path));
    }
};

VELORA_TEST(TestWeekPrinter)
#include "TestWeekPrinter.moc"
