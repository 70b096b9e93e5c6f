#include "common/TestMain.h"
#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

#include <QTest>
#include <array>

using velora::suite::HXRegion;
using velora::suite::SuiteError;

namespace {

HXRegion region(const QString& name) {
    return HXRegion(QLocale(name));
}

// Locale, text, expected result ("" when the text must be refused).
void row(const QString& locale, const QString& text, const QString& expected) {
    QTest::addRow("%s %s", qPrintable(locale), qPrintable(text)) << locale << text << expected;
}

void columns() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
}

// Runs a conversion that either gives `expected` or, when that is empty, refuses the text with
// error 13 naming it.
template <typename Convert> void expectConversion(Convert convert) {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    try {
        const QString result = convert(region(locale), text);
        QCOMPARE(result, expected);
    } catch (const SuiteError& e) {
        QVERIFY2(expected.isEmpty(), qPrintable(e.description()));
        QCOMPARE(e.number(), 13);
        QVERIFY(e.description().contains(QLatin1Char('"') + text + QLatin1Char('"')));
    }
}

} // namespace

class TestHXRegion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The date form of each locale, with the US date "12/31/1999" in it; each form reads back
    // what it writes, and the US form does not pass for a regional one elsewhere.
    void dateForms_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("regional");
        for (const auto& [locale, format, regional] :
             {std::array{"en_US", "MM/dd/yyyy", "12/31/1999"},
              {"de_DE", "dd.MM.yyyy", "31.12.1999"},
              {"en_GB", "dd/MM/yyyy", "31/12/1999"},
              {"sv_SE", "yyyy-MM-dd", "1999-12-31"},
              {"C", "MM/dd/yyyy", "12/31/1999"}})
            QTest::newRow(locale) << QString::fromLatin1(locale) << QString::fromLatin1(format)
                                  << QString::fromLatin1(regional);
    }

    void dateForms() {
        QFETCH(QString, locale);
        QFETCH(QString, format);
        QFETCH(QString, regional);
        const HXRegion r = region(locale);
        const QDate date(1999, 12, 31);
        QCOMPARE(r.DateFormat(), format);
        QCOMPARE(r.ConvertUSToRegion(QStringLiteral("12/31/1999")), regional);
        QCOMPARE(r.formatDate(date), regional);
        QCOMPARE(r.parseDate(regional), date);
        QCOMPARE(r.parseDate(QStringLiteral(" 1999-12-31 ")), date);
        QCOMPARE(r.parseDate(QStringLiteral("12/31/99")), QDate());
        if (format != QLatin1String("MM/dd/yyyy"))
            QCOMPARE(r.parseDate(QStringLiteral("12/31/1999")), QDate());
    }

    void parseDate_data() {
        columns();
        row("en_US", "1/5/2024", "2024-01-05");
        row("de_DE", "5.1.2024", "2024-01-05");
        row("en_GB", "04/12/2026", "2026-12-04");
        row("en_US", "02/30/2024", "");
        row("en_US", "Smith", "");
        row("en_US", "", "");
    }

    void parseDate() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(region(locale).parseDate(text).toString(Qt::ISODate), expected);
    }

    void convertUSToRegion_data() {
        columns();
        row("en_US", "1/5/2024", "01/05/2024");
        row("sv_SE", "2/29/2024", "2024-02-29");
        for (const char* text : {"31/12/1999", "02/30/2024", "1980-01-01", "01/01/80", ""})
            row("de_DE", QLatin1String(text), QString());
    }

    void convertUSToRegion() {
        expectConversion(
            [](const HXRegion& r, const QString& text) { return r.ConvertUSToRegion(text); });
    }

    // A regional number becomes plain SQL text; anything that is not a number is refused and
    // never reaches a statement.
    void unWrapNumeric_data() {
        columns();
        row("de_DE", "1.234,5", "1234.5");
        row("de_DE", "-0,25", "-0.25");
        row("de_DE", "1.234.567", "1234567");
        row("en_US", "1,234.5", "1234.5");
        row("en_US", " +7.5 ", "7.5");
        row("en_US", ".5", "0.5");
        row("en_US", "5.", "5");
        row("fr_FR", "1 234,5", "1234.5");
        row("hi_IN", "12,34,567.5", "1234567.5");
        row("sv_SE", QString(QChar(0x2212)) + "2,5", "-2.5");
        for (const char* locale : {"en_US", "de_DE"}) {
            for (const char* text :
                 {"12abc", "1,2,3", "", "   ", "'; DROP", "1e5", "-", "--1", "0x10", "NaN"})
                row(QLatin1String(locale), QLatin1String(text), QString());
        }
        for (const char* text : {".", "12,34", "1,", "1.2.3", "1.234,5", "1 234"})
            row("en_US", QLatin1String(text), QString());
        row("de_DE", "1.5", QString());
    }

    void unWrapNumeric() {
        expectConversion(
            [](const HXRegion& r, const QString& text) { return r.UnWrapNumeric(text); });
    }
};

VELORA_TEST(TestHXRegion)
#include "TestHXRegion.moc"
