// The main() of a folder's test program (see testharness.h).
//
//   tests_grid tst_gridrows [QTest options]   runs one class, named by its
//                                             file or its class name
//   tests_grid                                runs every class in turn, each
//                                             in a process of its own
//   tests_grid --list                         lists the classes
//
// The class chosen is kept in VELLUMARK_TEST_CLASS, so a test that starts
// its own program again (for a child process) gets the same class.
#include "testharness.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TestClass
{
    std::string className;
    std::string fileName; // tst_gridrows
    TestRegistry::RunFunction run;
};

std::vector<TestClass> &registeredClasses()
{
    static std::vector<TestClass> classes;
    return classes;
}

constexpr const char *SelectionVariable = "VELLUMARK_TEST_CLASS";

const TestClass *findClass(const char *name)
{
    for (const TestClass &test : registeredClasses()) {
        if (test.className == name || test.fileName == name)
            return &test;
    }
    return nullptr;
}

void listClasses(FILE *out)
{
    for (const TestClass &test : registeredClasses())
        std::fprintf(out, "  %s (%s)\n", test.fileName.c_str(), test.className.c_str());
}

// Runs every class as a child process of this program; the exit status is
// the number of classes that failed (at most 127).
int runEveryClass()
{
    int failed = 0;
    for (const TestClass &test : registeredClasses()) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            char *args[] = {const_cast<char *>(test.fileName.c_str()), nullptr};
            execv("/proc/self/exe", args);
            std::perror("exec");
            _exit(127);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status)
            || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "FAILED: %s\n", test.fileName.c_str());
            ++failed;
        }
    }
    return failed > 127 ? 127 : failed;
}

} // namespace

bool TestRegistry::add(const char *className, const char *file, RunFunction run)
{
    std::string name(file);
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    registeredClasses().push_back({className, name, run});
    return true;
}

int main(int argc, char *argv[])
{
    const TestClass *chosen = nullptr;
    if (argc > 1 && (chosen = findClass(argv[1]))) {
        // The class's own name is not an argument for QTest.
        for (int i = 1; i < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    } else if (const char *selected = std::getenv(SelectionVariable); selected && *selected) {
        chosen = findClass(selected);
        if (!chosen) {
            std::fprintf(stderr, "%s=%s names no test class of this program; it has:\n",
                         SelectionVariable, selected);
            listClasses(stderr);
            return 2;
        }
    } else if (registeredClasses().size() == 1) {
        chosen = &registeredClasses().front();
    } else if (argc == 1) {
        return runEveryClass();
    } else {
        const bool asked = std::strcmp(argv[1], "--list") == 0 || std::strcmp(argv[1], "-h") == 0
            || std::strcmp(argv[1], "--help") == 0;
        std::fprintf(asked ? stdout : stderr, "%s%s [test class] [QTest options]; the classes:\n",
                     asked ? "" : "No test class given. Usage: ", argv[0]);
        listClasses(asked ? stdout : stderr);
        return asked ? 0 : 2;
    }

    setenv(SelectionVariable, chosen->fileName.c_str(), 1);
    // As when each class was a program of its own: the application's name
    // (and so its QStandardPaths folders) is the test file's name.
    QCoreApplication::setApplicationName(QString::fromStdString(chosen->fileName));
    return chosen->run(argc, argv);
}
