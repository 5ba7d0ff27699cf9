#include "ui/app/program.h"
#include "core/platform/memorytuning.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    keepLargeBuffersInProcess();
    if (asksTheTerminal(argc, argv))
        answerOnTerminal(argc, argv);
    QApplication app(argc, argv);
    return runProgram(app);
}
