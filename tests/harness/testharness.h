// Comes before anything else in every test file (through the precompiled
// header, or -include without one; see tests/CMakeLists.txt).
//
// The test classes of a folder are linked into one program. The main()
// that QTEST_MAIN, QTEST_GUILESS_MAIN and QTEST_APPLESS_MAIN would define
// becomes a function registered under the class's name, and testmain.cpp's
// main() runs the one class asked for, so every class still runs in a
// process of its own. A test file stays a plain QtTest file.
//
// QFINDTESTDATA looks in the tests' source folder and resolves the compiler's
// file names from the build folder through two functions (testpaths.cpp.in)
// instead of Qt's compile-line paths, which differ from clone to clone and
// would keep the compiler cache from sharing what it compiled.
#pragma once

const char *vellumarkTestSourceDir();
const char *vellumarkTestBuildDir();
#define QT_TESTCASE_SOURCEDIR vellumarkTestSourceDir()
#define QT_TESTCASE_BUILDDIR vellumarkTestBuildDir()

#include <QTest>

namespace TestRegistry {
using RunFunction = int (*)(int argc, char *argv[]);
// Registers a test class; `file` is the test file's name (__FILE__).
bool add(const char *className, const char *file, RunFunction run);
} // namespace TestRegistry

// The body is that of QTest's own main(), without the coverage hook.
#undef QTEST_MAIN_WRAPPER
#define QTEST_MAIN_WRAPPER(TestObject, ...)                                       \
    static int runRegisteredTestClass_##TestObject(int argc, char *argv[])       \
    {                                                                            \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();       \
        __VA_ARGS__                                                              \
        TestObject tc;                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                               \
        return QTest::qExec(&tc, argc, argv);                                    \
    }                                                                            \
    [[maybe_unused]] static const bool registeredTestClass_##TestObject =        \
        TestRegistry::add(#TestObject, __FILE__, &runRegisteredTestClass_##TestObject);
