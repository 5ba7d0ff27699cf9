// Saves one kind of stored file through the program's own store code and
// prints what the store reported: "saved", or "failed: <message>". The
// full-disk tests run it with a preloaded library that makes the disk look
// full, so that the whole path down to the system calls is the real one.
//
//   vellumark_savedriver KIND DATA_ROOT
//
// KIND is note, page, ledger, list or alarms; DATA_ROOT ends without "/".
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "core/platform/clock.h"
#include "core/grid/gridroutines.h"
#include "core/projects/costledger.h"
#include "core/projects/projectpages.h"
#include "core/tracker/listviewstream.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

namespace {

QString longText()
{
    // About 5 KB: more than one block of the disk, less than the 16 KB a
    // buffered Qt file keeps before its first write to the system.
    QString text;
    for (int i = 0; i < 80; ++i)
        text += QStringLiteral("Line %1 of the new text, typed before the disk filled up.\n").arg(i);
    return text;
}

WriteResult save(const QString &kind, const DataFolder &dir)
{
    if (kind == QLatin1String("note"))
        return TextFile::writeText(dir.dbDir() + QStringLiteral("Jan-07-2024.txt"), longText());
    if (kind == QLatin1String("page")) {
        const QString folder = dir.projectsDir() + QStringLiteral("Garden/");
        return ProjectPages::savePageText(folder, folder + QStringLiteral("Projects.txt"), longText());
    }
    if (kind == QLatin1String("ledger")) {
        CostLedger ledger;
        ledger.setProjectsDir(dir.projectsDir());
        const Result loaded = ledger.switchTo(QStringLiteral("Garden"));
        if (!loaded)
            return WriteResult::failure(QStringLiteral("load: ") + loaded.error);
        for (int i = 0; i < 40; ++i)
            ledger.AddItem(QDateTime(QDate(2024, 1, 7), QTime(9, 0)), QLocale::c());
        const Result saved = ledger.saveLedger();
        if (!saved)
            return saved;
        return {};
    }
    if (kind == QLatin1String("list"))
        return TextFile::writeLines(dir.configDir() + QStringLiteral("departments.txt"),
                                    longText().split(QLatin1Char('\n')));
    if (kind == QLatin1String("alarms")) {
        ListViewData list;
        for (int i = 0; i < 200; ++i)
            list.items.append(ListViewItem{true, QStringLiteral("Alarm %1").arg(i), {QStringLiteral("7:30 AM")}});
        return saveListView(list, dir.projectsDir() + QStringLiteral("Garden/bedtimes.txt"));
    }
    return WriteResult::failure(QStringLiteral("unknown kind ") + kind);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: vellumark_savedriver KIND DATA_ROOT\n");
        return 2;
    }
    const SystemClock clock;
    const DataFolder dir(QString::fromLocal8Bit(argv[2]) + QLatin1Char('/'), nullptr, clock);
    const WriteResult result = save(QString::fromLocal8Bit(argv[1]), dir);
    std::printf("%s\n", result ? "saved" : qPrintable(QStringLiteral("failed: ") + result.error));
    return 0;
}
