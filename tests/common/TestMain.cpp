#include "TestMain.h"

#include <QApplication>
#include <QTest>

namespace velora::test {

std::vector<TestFactory>& testRegistry()
{
    static std::vector<TestFactory> registry;
    return registry;
}

} // namespace velora::test

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto& factory : velora::test::testRegistry()) {
        std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
