#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Lets one test program per subsystem hold several QtTest classes: each file registers its
// class with VELORA_TEST(Class) and the shared main runs them all.
namespace velora::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

std::vector<TestFactory>& testRegistry();

struct TestRegistrar {
    explicit TestRegistrar(TestFactory factory) { testRegistry().push_back(std::move(factory)); }
};

} // namespace velora::test

#define VELORA_TEST(Class)                                                                         \
    static const velora::test::TestRegistrar velora_test_registrar_##Class(                        \
        [] { return std::unique_ptr<QObject>(new Class); });
