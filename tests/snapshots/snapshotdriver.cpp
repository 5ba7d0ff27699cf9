// Takes one snapshot of a data folder slowly, telling on its standard
// output how many files are in, so that a test can kill it half way.
//
//   vellumark_snapshotdriver DATA_ROOT BACKUP_DIR
#include "core/snapshots/snapshotwriter.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: vellumark_snapshotdriver DATA_ROOT BACKUP_DIR\n");
        return 2;
    }
    SnapshotWriter writer(arguments.at(1), arguments.at(2));
    writer.setProgress([](int done) {
        std::printf("files %d\n", done);
        std::fflush(stdout);
        QThread::msleep(5);
    });
    const Expected<SnapshotSummary> written = writer.write(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error));
        return 1;
    }
    std::printf("done %s\n", qPrintable(written.value.path));
    return 0;
}
