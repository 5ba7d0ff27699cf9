// Starts the crash driver on one data folder again and again, kills it with
// SIGKILL at a random moment and checks every file under the folder after
// each kill: unchanged, or a whole file of its kind. A file that had
// content is never found empty, and no file vanishes.
#include "core/grid/gridroutines.h"
#include "core/grid/stringgrid.h"
#include "core/tracker/listviewstream.h"
#include "core/tracker/sleeptrack.h"
#include "testhelpers.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QDir(root).relativeFilePath(path), f.readAll());
        else
            out.insert(QDir(root).relativeFilePath(path), QByteArrayLiteral("<unreadable>"));
    }
    return out;
}

// A text written by the driver: its header's length and checksum match the
// body, which a list writer may have closed with one line break.
bool isWholeText(const QByteArray &bytes)
{
    static const QRegularExpression header(QStringLiteral("^CHECK (\\d+) (\\d+) (\\d+)\r\n"));
    const auto m = header.match(QString::fromLatin1(bytes.left(80)));
    if (!m.hasMatch())
        return false;
    QByteArray body = bytes.mid(m.capturedLength());
    const qint64 length = m.captured(2).toLongLong();
    if (body.size() == length + 2 && body.endsWith("\r\n"))
        body.chop(2);
    return body.size() == length && qChecksum(body) == m.captured(3).toUInt();
}

// A ledger file: one generation of the driver's rows from the first row to
// the last ("G<serial>/<row>/<rows>" in the first cell; loading puts the
// headings back into row 0), or a ledger the driver never marked, of the
// hundred rows a new ledger has.
bool isWholeLedger(const QString &path, QString *why)
{
    StringGrid grid;
    const Result loaded = loadGridRows(grid, path);
    if (!loaded) {
        *why = loaded.error;
        return false;
    }
    const int rows = grid.rowCount();
    static const QRegularExpression mark(QStringLiteral("^G(\\d+)/(\\d+)/(\\d+)$"));
    const auto first = mark.match(grid.cell(0, qMin(1, rows - 1)));
    if (!first.hasMatch()) {
        for (int r = 0; r < rows; ++r) {
            if (mark.match(grid.cell(0, r)).hasMatch()) {
                *why = QStringLiteral("row %1 is marked, row 1 is not").arg(r);
                return false;
            }
        }
        if (rows != 100)
            *why = QStringLiteral("an unmarked ledger of %1 rows").arg(rows);
        return rows == 100;
    }
    for (int r = 0; r < rows; ++r) {
        const QString expected = QStringLiteral("G%1/%2/%3").arg(first.captured(1)).arg(r).arg(rows);
        if (grid.cell(0, r) != expected && !(r == 0 && grid.cell(0, r) == QLatin1String("Item name"))) {
            *why = QStringLiteral("row %1 holds \"%2\", not \"%3\"").arg(r).arg(grid.cell(0, r), expected);
            return false;
        }
    }
    return true;
}

// A year store of the tracker: every day row of the year, and each day's
// total agreeing with its marked slots.
bool isWholeYearStore(const QString &path, int year, QString *why)
{
    StringGrid grid;
    const Result loaded = loadGridRows(grid, path);
    if (!loaded) {
        *why = loaded.error;
        return false;
    }
    if (grid.rowCount() != SleepTrack::kStoreRows) {
        *why = QStringLiteral("%1 rows").arg(grid.rowCount());
        return false;
    }
    const QDate first(year, 1, 1);
    for (int r = 1; r <= first.daysInYear(); ++r) {
        if (grid.cell(0, r).trimmed().isEmpty()) {
            *why = QStringLiteral("day row %1 has no date").arg(r);
            return false;
        }
        int marks = 0;
        for (int s = 0; s < SleepTrack::kSlotRows; ++s)
            marks += grid.cell(SleepTrack::kSlotColumnBase + s, r) == QLatin1String("*") ? 1 : 0;
        const QString total = grid.cell(SleepTrack::kTotalColumn, r).trimmed();
        const double hours = total.isEmpty() ? 0 : total.toDouble();
        if (qAbs(hours - marks * 0.5) > 0.01) {
            *why = QStringLiteral("day row %1: total \"%2\" for %3 marked slots").arg(r).arg(total).arg(marks);
            return false;
        }
    }
    return true;
}

// An alarm list: decodes cleanly and encodes back to the same bytes.
bool isWholeAlarmList(const QByteArray &bytes)
{
    ListViewData list;
    const ListViewLoad load = decodeListView(bytes, &list);
    return load.ok && load.clean && encodeListView(list) == bytes;
}

// The month's sleep report: an HTML page from its first line to its last.
bool isWholeReport(const QByteArray &bytes)
{
    return bytes.startsWith("<html><head>\r\n") && bytes.endsWith("</center></body></html>\r\n");
}

enum class Kind { Text, Ledger, YearStore, AlarmList, Report, LastTracked, Leftover, Other };

Kind kindOf(const QString &relative)
{
    const QString name = QFileInfo(relative).fileName();
    if (name == QLatin1String("money.txt"))
        return Kind::Ledger;
    static const QRegularExpression year(QStringLiteral("^\\d{4}-time\\.txt$"));
    if (year.match(name).hasMatch())
        return Kind::YearStore;
    if (name.endsWith(QLatin1String(".htm")) || name.endsWith(QLatin1String(".html")))
        return Kind::Report;
    if (name == QLatin1String("bedtimes.txt") || name == QLatin1String("wakeuptimes.txt"))
        return Kind::AlarmList;
    if (relative == QLatin1String("Config/lasttracked.txt"))
        return Kind::LastTracked;
    if (relative.startsWith(QLatin1String("DB/")) || relative.startsWith(QLatin1String("Projects/"))
        || relative.startsWith(QLatin1String("Journal/")) || relative.startsWith(QLatin1String("Decision/")))
        return Kind::Text;
    return Kind::Other;
}

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Text: return "texts";
    case Kind::Ledger: return "ledgers";
    case Kind::YearStore: return "year stores";
    case Kind::AlarmList: return "alarm lists";
    case Kind::Report: return "sleep reports";
    case Kind::LastTracked: return "names of the project last tracked";
    case Kind::Leftover: return "unfinished temporary files";
    case Kind::Other: break;
    }
    return "other files";
}

// Why a changed file is not a whole file of its kind; empty when it is.
QString tornReason(const QString &root, const QString &relative, const QByteArray &now)
{
    const QString path = root + relative;
    QString why;
    switch (kindOf(relative)) {
    case Kind::Text:
        return isWholeText(now) ? QString() : QStringLiteral("not a whole checked text");
    case Kind::Ledger:
        return isWholeLedger(path, &why) ? QString() : why;
    case Kind::YearStore:
        return isWholeYearStore(path, QFileInfo(relative).fileName().left(4).toInt(), &why) ? QString() : why;
    case Kind::AlarmList:
        return isWholeAlarmList(now) ? QString() : QStringLiteral("not a whole alarm list");
    case Kind::Report:
        return isWholeReport(now) ? QString() : QStringLiteral("not a whole report");
    case Kind::LastTracked: {
        // The whole name of a project folder that exists.
        const QString name = QString::fromUtf8(now);
        return !name.isEmpty() && !name.contains(QLatin1Char('\n'))
                       && QFileInfo(root + QStringLiteral("Projects/") + name).isDir()
                   ? QString()
                   : QStringLiteral("not the name of a project folder");
    }
    case Kind::Leftover:
        return {};
    case Kind::Other:
        break;
    }
    return QStringLiteral("changed, and nothing tells a whole file of this kind from a torn one");
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedAtRandomNeverTearsAFile();
};

void TestCrashSafety::killedAtRandomNeverTearsAFile()
{
    const int kills = qEnvironmentVariableIntValue("VELLUMARK_KILLS") > 0
                          ? qEnvironmentVariableIntValue("VELLUMARK_KILLS")
                          : 30;
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    // Four projects to switch between.
    QDir().mkpath(root + "Config");
    {
        QFile departments(root + "Config/departments.txt");
        QVERIFY(departments.open(QIODevice::WriteOnly));
        departments.write("Garden\r\nCar\r\nBoat\r\nHouse\r\n");
    }
    QRandomGenerator random(20261209);
    QMap<Kind, int> changed;
    QMap<Kind, int> seen;

    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}$"));
    for (int round = 1; round <= kills; ++round) {
        const auto before = snapshot(root);
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(testBuildFile(QStringLiteral(CRASHDRIVER)), {dir.path(), QString::number(round)});
        QVERIFY2(driver.waitForStarted(10000), qPrintable(driver.errorString()));
        QVERIFY(driver.waitForReadyRead(30000)); // "ready": the window is up
        QTest::qWait(static_cast<int>(random.bounded(50, 600)));
        driver.kill(); // SIGKILL
        QVERIFY(driver.waitForFinished(10000));

        auto after = snapshot(root);
        // A safe write killed before its rename leaves its temporary file
        // ("<name>.XXXXXX") beside the file it was to replace; the file
        // itself is untouched, and nothing reads the temporary file.
        const QStringList names = after.keys();
        for (const QString &name : names) {
            const auto m = temporary.match(name);
            if (m.hasMatch() && !before.contains(name) && kindOf(m.captured(1)) != Kind::Other) {
                ++changed[Kind::Leftover];
                after.remove(name);
            }
        }
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            const QByteArray &now = it.value();
            const bool existed = before.contains(it.key());
            const bool hadContent = existed && !before.value(it.key()).isEmpty();
            if (existed && before.value(it.key()) == now)
                continue;
            ++changed[kindOf(it.key())];
            QVERIFY2(!(hadContent && now.isEmpty()),
                     qPrintable(QStringLiteral("round %1: %2 was emptied").arg(round).arg(it.key())));
            if (now.isEmpty())
                continue; // a new, empty file
            if (!existed && kindOf(it.key()) == Kind::Other)
                continue; // a new file the driver does not edit
            const QString torn = tornReason(root, it.key(), now);
            QVERIFY2(torn.isEmpty(), qPrintable(QStringLiteral("round %1: %2 is torn (%3 bytes): %4")
                                                    .arg(round).arg(it.key()).arg(now.size()).arg(torn)));
        }
        // The next start removes the temporary files earlier runs left.
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(after.contains(it.key()) || temporary.match(it.key()).hasMatch(),
                     qPrintable(QStringLiteral("round %1: %2 vanished").arg(round).arg(it.key())));
        if (round == kills)
            for (auto it = after.cbegin(); it != after.cend(); ++it)
                if (!temporary.match(it.key()).hasMatch())
                    ++seen[kindOf(it.key())];
    }

    // The checks tell a torn file from a whole one: every checked file of the
    // last round, cut short, is refused.
    QTemporaryDir cutDir;
    const QString cutRoot = cutDir.path() + "/";
    int cut = 0;
    const auto last = snapshot(root);
    for (auto it = last.cbegin(); it != last.cend(); ++it) {
        if (kindOf(it.key()) == Kind::Other || it.value().size() < 16)
            continue;
        const QByteArray half = it.value().left(it.value().size() / 2);
        QDir().mkpath(QFileInfo(cutRoot + it.key()).path());
        QFile f(cutRoot + it.key());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(half);
        f.close();
        QVERIFY2(!tornReason(cutRoot, it.key(), half).isEmpty(), qPrintable(it.key()));
        ++cut;
    }
    QVERIFY(cut > 0);

    int total = 0;
    QStringList perKind;
    for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
        total += it.value();
        perKind << QStringLiteral("%1 %2 (%3 on disk)").arg(it.value()).arg(kindName(it.key())).arg(seen.value(it.key()));
    }
    qInfo("kills survived: %d, files found changed after a kill: %d: %s", kills, total,
          qPrintable(perKind.join(QStringLiteral(", "))));
    // Every kind of edit the driver makes reached the disk at least once.
    for (Kind kind : {Kind::Text, Kind::Ledger, Kind::YearStore})
        QVERIFY2(changed.value(kind) > 0, kindName(kind));
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
