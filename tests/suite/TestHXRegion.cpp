#include "common/TestMain.h"
#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

#include <QTest>

using velora::suite::HXRegion;
using velora::suite::SuiteError;

class TestHXRegion : public QObject {
    Q_OBJECT

    static HXRegion region(const QString& name) { return HXRegion(QLocale(name)); }

    QByteArray savedLocale_;

private Q_SLOTS:
    void initTestCase() { savedLocale_ = qgetenv("VELORA_LOCALE"); }
    void cleanup() { qputenv("VELORA_LOCALE", savedLocale_); }

    void dateFormat_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("format");
        QTest::newRow("en_US") << "en_US"
                               << "MM/dd/yyyy";
        QTest::newRow("de_DE") << "de_DE"
                               << "dd.MM.yyyy";
        QTest::newRow("en_GB") << "en_GB"
                               << "dd/MM/yyyy";
        QTest::newRow("sv_SE") << "sv_SE"
                               << "yyyy-MM-dd";
        QTest::newRow("pl_PL") << "pl_PL"
                               << "dd.MM.yyyy";
        QTest::newRow("C uses the American form") << "C"
                                                  << "MM/dd/yyyy";
    }

    void dateFormat() {
        QFETCH(QString, locale);
        QFETCH(QString, format);
        QCOMPARE(region(locale).DateFormat(), format);
    }

    void convertUSToRegion_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("us");
        QTest::addColumn<QString>("regional");
        QTest::newRow("en_US") << "en_US"
                               << "01/01/1980"
                               << "01/01/1980";
        QTest::newRow("de_DE") << "de_DE"
                               << "01/01/1980"
                               << "01.01.1980";
        QTest::newRow("de_DE day and month swap") << "de_DE"
                                                  << "12/31/1999"
                                                  << "31.12.1999";
        QTest::newRow("without leading zeros") << "en_US"
                                               << "1/5/2024"
                                               << "01/05/2024";
        QTest::newRow("sv_SE") << "sv_SE"
                               << "2/29/2024"
                               << "2024-02-29";
    }

    void convertUSToRegion() {
        QFETCH(QString, locale);
        QFETCH(QString, us);
        QFETCH(QString, regional);
        QCOMPARE(region(locale).ConvertUSToRegion(us), regional);
    }

    void convertUSToRegionRefusesOtherText_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("day first") << "31/12/1999";
        QTest::newRow("no such day") << "02/30/2024";
        QTest::newRow("ISO") << "1980-01-01";
        QTest::newRow("two-digit year") << "01/01/80";
        QTest::newRow("empty") << "";
    }

    void convertUSToRegionRefusesOtherText() {
        QFETCH(QString, text);
        try {
            region(QStringLiteral("de_DE")).ConvertUSToRegion(text);
            QFAIL("accepted a text that is not a US date");
        } catch (const SuiteError& e) {
            QCOMPARE(e.number(), 13);
            QVERIFY(e.description().contains(QLatin1Char('"') + text + QLatin1Char('"')));
        }
    }

    void parseDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QDate jan5(2024, 1, 5);
        QTest::newRow("en_US") << "en_US"
                               << "01/05/2024" << jan5;
        QTest::newRow("en_US short") << "en_US"
                                     << "1/5/2024" << jan5;
        QTest::newRow("en_US ISO") << "en_US"
                                   << "2024-01-05" << jan5;
        QTest::newRow("en_US blanks") << "en_US"
                                      << " 01/05/2024 " << jan5;
        QTest::newRow("de_DE") << "de_DE"
                               << "05.01.2024" << jan5;
        QTest::newRow("de_DE short") << "de_DE"
                                     << "5.1.2024" << jan5;
        QTest::newRow("de_DE ISO") << "de_DE"
                                   << "2024-01-05" << jan5;
        QTest::newRow("de_DE US form") << "de_DE"
                                       << "01/05/2024" << QDate();
        QTest::newRow("two-digit year") << "en_US"
                                        << "01/05/24" << QDate();
        QTest::newRow("no such day") << "en_US"
                                     << "02/30/2024" << QDate();
        QTest::newRow("name") << "en_US"
                              << "Smith" << QDate();
        QTest::newRow("empty") << "en_US"
                               << "" << QDate();
    }

    void parseDate() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(region(locale).parseDate(text), date);
    }

    void formatDateReadsBack() {
        for (const char* name : {"en_US", "de_DE", "sv_SE", "fr_FR", "ja_JP"}) {
            const HXRegion r = region(QLatin1String(name));
            const QDate date(1999, 12, 31);
            QCOMPARE(r.parseDate(r.formatDate(date)), date);
        }
        QCOMPARE(region(QStringLiteral("de_DE")).formatDate(QDate(2024, 3, 7)),
                 QStringLiteral("07.03.2024"));
    }

    void unWrapNumeric_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        QTest::newRow("de_DE grouped") << "de_DE"
                                       << "1.234,5"
                                       << "1234.5";
        QTest::newRow("de_DE plain") << "de_DE"
                                     << "1234,5"
                                     << "1234.5";
        QTest::newRow("de_DE negative") << "de_DE"
                                        << "-0,25"
                                        << "-0.25";
        QTest::newRow("de_DE millions") << "de_DE"
                                        << "1.234.567"
                                        << "1234567";
        QTest::newRow("en_US grouped") << "en_US"
                                       << "1,234.5"
                                       << "1234.5";
        QTest::newRow("en_US whole") << "en_US"
                                     << "42"
                                     << "42";
        QTest::newRow("en_US blanks") << "en_US"
                                      << " 7.5 "
                                      << "7.5";
        QTest::newRow("en_US plus") << "en_US"
                                    << "+3"
                                    << "3";
        QTest::newRow("en_US no whole part") << "en_US"
                                             << ".5"
                                             << "0.5";
        QTest::newRow("en_US no fraction") << "en_US"
                                           << "5."
                                           << "5";
        QTest::newRow("fr_FR typed space") << "fr_FR"
                                           << "1 234,5"
                                           << "1234.5";
        QTest::newRow("hi_IN grouping") << "hi_IN"
                                        << "12,34,567.5"
                                        << "1234567.5";
        QTest::newRow("sv_SE minus sign") << "sv_SE" << QString(QChar(0x2212)) + "2,5"
                                          << "-2.5";
    }

    void unWrapNumeric() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, plain);
        QCOMPARE(region(locale).UnWrapNumeric(text), plain);
    }

    void unWrapNumericRefusesWhatIsNotANumber_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        for (const char* locale : {"en_US", "de_DE"}) {
            const QString l = QLatin1String(locale);
            QTest::addRow("%s letters", locale) << l << "12abc";
            QTest::addRow("%s three parts", locale) << l << "1,2,3";
            QTest::addRow("%s empty", locale) << l << "";
            QTest::addRow("%s blanks", locale) << l << "   ";
            QTest::addRow("%s statement", locale) << l << "'; DROP";
            QTest::addRow("%s exponent", locale) << l << "1e5";
            QTest::addRow("%s sign only", locale) << l << "-";
            QTest::addRow("%s two signs", locale) << l << "--1";
            QTest::addRow("%s hexadecimal", locale) << l << "0x10";
            QTest::addRow("%s not a number", locale) << l << "NaN";
        }
        QTest::newRow("en_US separator only") << "en_US"
                                              << ".";
        QTest::newRow("en_US group of two") << "en_US"
                                            << "12,34";
        QTest::newRow("en_US trailing group separator") << "en_US"
                                                        << "1,";
        QTest::newRow("en_US two decimal points") << "en_US"
                                                  << "1.2.3";
        QTest::newRow("en_US grouping in fraction") << "en_US"
                                                    << "1.234,5";
        QTest::newRow("en_US space grouping") << "en_US"
                                              << "1 234";
        QTest::newRow("de_DE point as decimal") << "de_DE"
                                                << "1.5";
        QTest::newRow("de_DE two commas") << "de_DE"
                                          << "1,2,3";
    }

    void unWrapNumericRefusesWhatIsNotANumber() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        try {
            const QString plain = region(locale).UnWrapNumeric(text);
            QFAIL(qPrintable(QStringLiteral("passed as \"%1\"").arg(plain)));
        } catch (const SuiteError& e) {
            QCOMPARE(e.number(), 13);
            QVERIFY(e.description().contains(QLatin1Char('"') + text + QLatin1Char('"')));
        }
    }

    void decimalSep() {
        QCOMPARE(region(QStringLiteral("en_US")).DecimalSep(), QStringLiteral("."));
        QCOMPARE(region(QStringLiteral("de_DE")).DecimalSep(), QStringLiteral(","));
    }

    void environmentChoosesTheLocale() {
        qputenv("VELORA_LOCALE", "de_DE");
        QCOMPARE(HXRegion().DecimalSep(), QStringLiteral(","));
        QCOMPARE(HXRegion().DateFormat(), QStringLiteral("dd.MM.yyyy"));
        qputenv("VELORA_LOCALE", "en_US");
        QCOMPARE(HXRegion().DateFormat(), QStringLiteral("MM/dd/yyyy"));
    }

    void unknownEnvironmentLocaleIsAnError() {
        qputenv("VELORA_LOCALE", "xx_QQ");
        try {
            HXRegion region;
            QFAIL("accepted an unknown locale");
        } catch (const SuiteError& e) {
            QCOMPARE(e.number(), 5);
            QVERIFY(e.description().contains(QStringLiteral("xx_QQ")));
        }
    }
};

VELORA_TEST(TestHXRegion)
#include "TestHXRegion.moc"
