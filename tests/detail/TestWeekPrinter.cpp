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

private Q_SLOTS:

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
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("Velora Incentive - User Account")));
        window.resize(640, 480);
        WeekPrinter printer(window);
        const QString path =
            dir_.filePath(QStringLiteral("week-%1-%2.pdf").arg(copies).arg(printed));
        printer.setDialog([&](QPrinter& chosen, QWidget* parent) {
            [&] { QCOMPARE(parent, &window); }();
            chosen.setOutputFormat(QPrinter::PdfFormat);
            chosen.setOutputFileName(path);
            chosen.setCopyCount(copies);
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
