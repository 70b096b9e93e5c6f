#include "common/TestMain.h"
#include "shell/CommandLine.h"

#include <QTest>

using velora::shell::CLArgument;
using velora::shell::CLArguments;
using velora::shell::CommandLine;

namespace {

// Name and value of every argument in order, alternating.
QStringList pairs(const CLArguments& arguments) {
    QStringList result;
    for (const CLArgument& argument : arguments)
        result << argument.Name() << argument.value();
    return result;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, const QString& text, const QStringList& expected) {
            QTest::newRow(name) << text << expected;
        };
        row("lone slash", " / ", {});
        row("blanks inside a value", "  /INI=C:\\a b\\x.ini /UNAME=jo /PASSWORD=se cret  ",
            {"INI", "C:\\a b\\x.ini", "UNAME", "jo", "PASSWORD", "se cret"});
        row("quotes protect a slash", "/INI=\"/home/a b/\" /X=1", {"INI", "/home/a b/", "X", "1"});
        row("unclosed quote runs to the end", "/A=\"x /B=y", {"A", "x /B=y"});
        row("equals at position 2 is part of the name", "/=5", {"=5", "TRUE"});
        row("bare switch at the end", "/DisableLocalUpdates", {"DisableLocalUpdates", "TRUE"});
        row("bare switch before another", "/DisableLocalUpdates /INI=x",
            {"DisableLocalUpdates", "", "INI", "x"});
        row("switches without blanks between", "/A/B=1", {"A", "TRUE", "B", "1"});
        row("blank separates name and value", "/UNAME jo /X", {"UNAME", "jo", "X", "TRUE"});
        row("only the last value keeps inner blanks", "/A=  x  /B=  y", {"A", "x", "B", "  y"});
        row("double slash gives an empty name", "//A", {"", "TRUE", "A", "TRUE"});
        row("bare name cut to 256 characters", QStringLiteral("/") + QString(300, u'n'),
            {QString(256, u'n'), "TRUE"});
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const CommandLine commandLine(text);
        QCOMPARE(pairs(commandLine.CLArguments()), expected);
        QCOMPARE(commandLine.CLArguments().Count(), expected.size() / 2);
    }

    void fromProcessArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");
        const QString program = QStringLiteral("/usr/bin/velora-incentive");

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
};

VELORA_TEST(TestCommandLine)
#include "TestCommandLine.moc"
