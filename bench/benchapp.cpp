#include "benchapp.h"

#include <QApplication>

void EnsureBenchApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vellumark_bench";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}
