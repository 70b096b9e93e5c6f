#include "TestMain.h"

#include <QApplication>
#include <QTest>

namespace velora::test {

std::vector<TestFactory>& testRegistry() {
    static std::vector<TestFactory> registry;
    return registry;
}

} // namespace velora::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // VELORA_TEST_CLASS=TestFoo runs one class of the program (its functions may then be named
    // on the command line as usual).
    const QByteArray only = qgetenv("VELORA_TEST_CLASS");
    int failures = 0;
    for (const auto& factory : velora::test::testRegistry()) {
        std::unique_ptr<QObject> test = factory();
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
