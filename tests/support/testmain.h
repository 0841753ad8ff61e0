#pragma once
// Every test executable runs all test classes registered in its sources,
// each through QTest::qExec, with a fresh offscreen application, temporary
// program and work folders, and the main window standing.

#include <QObject>
#include <functional>

using TestFactory = std::function<QObject*()>;
void registerTestClass(const char* name, TestFactory factory);

template <class T>
struct TestRegistrar {
    explicit TestRegistrar(const char* name)
    {
        registerTestClass(name, [] { return new T; });
    }
};

#define VOLTARIS_TEST(Class) static TestRegistrar<Class> s_register_##Class(#Class)
