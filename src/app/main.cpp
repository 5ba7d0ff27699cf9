#include "ui/app/program.h"
#include "core/platform/memorytuning.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    KeepLargeBuffersInProcess();
    if (AsksTheTerminal(argc, argv))
        AnswerOnTerminal(argc, argv);
    QApplication app(argc, argv);
    return RunProgram(app);
}
