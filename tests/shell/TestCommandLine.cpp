#include "common/TestMain.h"
#include "shell/CommandLine.h"
#include "shell/ShellError.h"
#include "shell/StartupSwitches.h"

#include <QTest>

using velora::shell::CLArgument;
using velora::shell::CLArguments;
using velora::shell::CommandLine;
using velora::shell::ShellError;
using velora::shell::StartupSwitches;

namespace {

// Name and value of every argument in order, alternating.
QStringList pairs(const CLArguments& arguments) {
    QStringList result;
    for (const CLArgument& argument : arguments)
        result << argument.Name() << argument.value();
    return result;
}

void verifySentinel(const CLArgument& argument) {
    QVERIFY(!argument.Exists());
    QCOMPARE(argument.Name(), QString());
    QCOMPARE(argument.value(), QString());
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("blanks only") << "   " << QStringList();
        QTest::newRow("lone slash") << " / " << QStringList();
        QTest::newRow("blanks inside a value")
            << "/INI=C:\\a b\\x.ini /UNAME=jo"
            << QStringList{"INI", "C:\\a b\\x.ini", "UNAME", "jo"};
        QTest::newRow("three switches")
            << "  /INI=C:\\a b\\x.ini /UNAME=jo /PASSWORD=se cret  "
            << QStringList{"INI", "C:\\a b\\x.ini", "UNAME", "jo", "PASSWORD", "se cret"};
        QTest::newRow("quotes protect a slash")
            << "/INI=\"C:\\p/q.ini\"" << QStringList{"INI", "C:\\p/q.ini"};
        QTest::newRow("quotes in the middle of a switch")
            << "/INI=\"/home/a b/\" /X=1" << QStringList{"INI", "/home/a b/", "X", "1"};
        QTest::newRow("unclosed quote runs to the end")
            << "/A=\"x /B=y" << QStringList{"A", "x /B=y"};
        QTest::newRow("empty value at the end") << "/X=" << QStringList{"X", ""};
        QTest::newRow("equals at position 2 is part of the name")
            << "/=5" << QStringList{"=5", "TRUE"};
        QTest::newRow("bare switch at the end")
            << "/DisableLocalUpdates" << QStringList{"DisableLocalUpdates", "TRUE"};
        QTest::newRow("bare switch before another")
            << "/DisableLocalUpdates /INI=x" << QStringList{"DisableLocalUpdates", "", "INI", "x"};
        QTest::newRow("switches without blanks between")
            << "/A/B=1" << QStringList{"A", "TRUE", "B", "1"};
        QTest::newRow("name is not trimmed") << "/INI =x" << QStringList{"INI ", "x"};
        QTest::newRow("blank separates name and value")
            << "/UNAME jo /X" << QStringList{"UNAME", "jo", "X", "TRUE"};
        QTest::newRow("last value keeps inner leading blanks")
            << "/A=  x  /B=  y" << QStringList{"A", "x", "B", "  y"};
        QTest::newRow("last value after a blank is not trimmed")
            << "/A  x" << QStringList{"A", " x"};
        QTest::newRow("closing slash dropped, blank kept") << "/A=1 /" << QStringList{"A", "1 "};
        QTest::newRow("quoted closing slash kept") << "/A=\"x/\"" << QStringList{"A", "x/"};
        QTest::newRow("double slash gives an empty name")
            << "//A" << QStringList{"", "TRUE", "A", "TRUE"};
        QTest::newRow("text before the first slash")
            << "abc /X=1" << QStringList{"bc", "", "X", "1"};
        QTest::newRow("tab is not a blank") << "/A\tb" << QStringList{"A\tb", "TRUE"};
        QTest::newRow("bare name cut to 256 characters")
            << QStringLiteral("/") + QString(300, u'n') << QStringList{QString(256, u'n'), "TRUE"};
        QTest::newRow("long name with a value is not cut")
            << QStringLiteral("/") + QString(300, u'n') + QStringLiteral("=v")
            << QStringList{QString(300, u'n'), "v"};
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const CommandLine commandLine(text);
        QCOMPARE(pairs(commandLine.CLArguments()), expected);
        QCOMPARE(commandLine.CLArguments().Count(), expected.size() / 2);
    }

    void duplicateSwitchFails_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("same case") << "/INI=a /INI=b";
        QTest::newRow("other case") << "/INI=a /ini=b";
        QTest::newRow("bare and with value") << "/UNAME /Uname=jo";
    }

    void duplicateSwitchFails() {
        QFETCH(QString, text);
        try {
            const CommandLine commandLine(text);
            QFAIL("a switch given twice was accepted");
        } catch (const ShellError& error) {
            QCOMPARE(error.number(), 457);
            QCOMPARE(error.description(),
                     QStringLiteral("This key is already associated with an element of this "
                                    "collection"));
        }
    }

    void itemByKeyIgnoresCase() {
        const CommandLine commandLine(QStringLiteral("/INI=C:\\x.ini /UNAME=jo"));
        const CLArgument ini = commandLine.CLArguments().Item(QStringLiteral("ini"));
        QVERIFY(ini.Exists());
        QCOMPARE(ini.Name(), QStringLiteral("INI"));
        QCOMPARE(ini.value(), QStringLiteral("C:\\x.ini"));
        QCOMPARE(commandLine.CLArguments().Item(QStringLiteral("Uname")).value(),
                 QStringLiteral("jo"));
    }

    void missingItemsAreTheSentinel() {
        const CommandLine commandLine(QStringLiteral("/INI=x /UNAME=jo"));
        const CLArguments& arguments = commandLine.CLArguments();
        verifySentinel(arguments.Item(QStringLiteral("PASSWORD")));
        verifySentinel(arguments.Item(QStringLiteral("NOTHING")));
        verifySentinel(arguments.Item(0));
        verifySentinel(arguments.Item(3));
        verifySentinel(arguments.Item(-1));
        QCOMPARE(arguments.Item(1).Name(), QStringLiteral("INI"));
        QCOMPARE(arguments.Item(2).Name(), QStringLiteral("UNAME"));
    }

    void addAndRemove() {
        CLArguments arguments;
        const CLArgument added = arguments.Add(QStringLiteral("A"), QStringLiteral("1"));
        QVERIFY(added.Exists());
        QCOMPARE(added.value(), QStringLiteral("1"));
        arguments.Add(QStringLiteral("B"), QStringLiteral("2"));
        arguments.Add(QStringLiteral("C"), QStringLiteral("3"));

        arguments.Remove(QStringLiteral("b"));
        QCOMPARE(pairs(arguments), (QStringList{"A", "1", "C", "3"}));
        arguments.Remove(1);
        QCOMPARE(pairs(arguments), (QStringList{"C", "3"}));
        // A removed name may be added again.
        arguments.Add(QStringLiteral("A"), QStringLiteral("4"));
        QCOMPARE(arguments.Item(2).value(), QStringLiteral("4"));
        QCOMPARE(arguments.Count(), 2);
    }

    void removingWhatIsNotThereFails() {
        CLArguments arguments;
        arguments.Add(QStringLiteral("A"), QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(ShellError, arguments.Remove(QStringLiteral("B")));
        QVERIFY_THROWS_EXCEPTION(ShellError, arguments.Remove(2));
        QVERIFY_THROWS_EXCEPTION(ShellError, arguments.Remove(0));
        QCOMPARE(arguments.Count(), 1);
    }

    void fromProcessArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");
        const QString program = QStringLiteral("/usr/bin/velora-incentive");

        QTest::newRow("program only") << QStringList{program} << QStringList();
        QTest::newRow("path with slashes and blanks")
            << QStringList{program, "/INI=/home/me/my files/HALVEX.INI", "/UNAME=jo"}
            << QStringList{"INI", "/home/me/my files/HALVEX.INI", "UNAME", "jo"};
        QTest::newRow("value as its own argument")
            << QStringList{program, "/INI", "conf/h.ini", "/UNAME", "jo smith"}
            << QStringList{"INI", "conf/h.ini", "UNAME", "jo smith"};
        QTest::newRow("absolute path after the switch")
            << QStringList{program, "/INI", "/path/to/HALVEX.INI", "/UNAME", "/jo"}
            << QStringList{"INI", "/path/to/HALVEX.INI", "UNAME", "/jo"};
        QTest::newRow("a switch is never taken as a value")
            << QStringList{program, "/UNAME", "/PASSWORD=pw"}
            << QStringList{"UNAME", "", "PASSWORD", "pw"};
        QTest::newRow("bare flag anywhere")
            << QStringList{program, "/DisableLocalUpdates", "/UNAME=jo"}
            << QStringList{"DisableLocalUpdates", "TRUE", "UNAME", "jo"};
        QTest::newRow("unknown switch keeps only a plain value")
            << QStringList{program, "/X", "/srv", "/Y", "v"}
            << QStringList{"X", "TRUE", "srv", "TRUE", "Y", "v"};
    }

    void fromProcessArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        const CommandLine commandLine = CommandLine::fromProcessArguments(arguments);
        QCOMPARE(pairs(commandLine.CLArguments()), expected);
    }

    void switchesThatNeedAValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("missing"); // empty: accepted
        QTest::newRow("all given") << "/INI=x /UNAME=jo /PASSWORD=pw" << QString();
        QTest::newRow("none given") << "/DisableLocalUpdates" << QString();
        QTest::newRow("bare at the end") << "/UNAME=jo /INI"
                                         << "INI";
        QTest::newRow("bare before another") << "/UNAME /INI=x"
                                             << "UNAME";
        QTest::newRow("empty after equals") << "/UNAME=jo /PASSWORD="
                                            << "PASSWORD";
        QTest::newRow("blanks only") << "/INI=\"  \""
                                     << "INI";
    }

    void switchesThatNeedAValue() {
        QFETCH(QString, text);
        QFETCH(QString, missing);
        const CommandLine commandLine(text);
        try {
            StartupSwitches::requireValues(commandLine.CLArguments());
            QVERIFY(missing.isEmpty());
        } catch (const ShellError& error) {
            QCOMPARE(error.number(), 5);
            QVERIFY2(error.description().startsWith(QStringLiteral("The switch /") + missing +
                                                    QStringLiteral(" needs a value")),
                     qPrintable(error.description()));
        }
    }
};

VELORA_TEST(TestCommandLine)
#include "TestCommandLine.moc"
