#include "sampledatafolder.h"

#include "core/calendar/daynotes.h"
#include "core/common/daynumber.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

void putFile(const QString &path, const QByteArray &bytes, int *count)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size())
        ++*count;
}

QByteArray noteBytes(int day)
{
    if (day % 97 == 0)
        return QByteArray();
    QByteArray bytes = "Day " + QByteArray::number(day) + "\r\n";
    const int lines = 1 + day % 9;
    for (int i = 0; i < lines; ++i)
        bytes += "- item " + QByteArray::number(i) + " of the day, with a few more words\r\n";
    if (day % 50 == 0)
        bytes += "caf\xe9 na\xefve \x80 (Windows-1252)";
    if (day % 31 == 0)
        bytes += "Gr\xc3\xbc\xc3\x9f" "e \xe2\x9c\x93";
    return bytes;
}

} // namespace

int writeSampleDataFolder(const QString &root, int days, int projects)
{
    int count = 0;
    const int first = DayNumber::fromDate(QDate(2017, 1, 1));
    for (int i = 0; i < days; ++i) {
        const int day = first + i;
        putFile(root + QStringLiteral("DB/") + DayNotes::noteName(day), noteBytes(day), &count);
        if (i % 120 == 0)
            putFile(root + QStringLiteral("UserData/") + DayNotes::folderName(day) + QStringLiteral("/scan.txt"),
                    "attached " + QByteArray::number(day), &count);
    }
    const QStringList pages{QStringLiteral("Projects"), QStringLiteral("Done"),    QStringLiteral("OnHold"),
                            QStringLiteral("BuyItem"),  QStringLiteral("SomeDay"), QStringLiteral("Links"),
                            QStringLiteral("Actions")};
    QByteArray departments = "Home\r\n";
    for (int p = 0; p < projects; ++p) {
        const QString name = p % 40 == 7 ? QStringLiteral("Gärten %1").arg(p) : QStringLiteral("Project %1").arg(p);
        departments += name.toUtf8() + "\r\n";
        const QString folder = root + QStringLiteral("Projects/") + name + QLatin1Char('/');
        for (const QString &page : pages) {
            QByteArray text;
            for (int line = 0; line < 1 + (p + page.size()) % 12; ++line)
                text += page.toUtf8() + " line " + QByteArray::number(line) + " of " + name.toUtf8() + "\r\n";
            putFile(folder + page + QStringLiteral(".txt"), text, &count);
        }
        putFile(folder + QStringLiteral("money.txt"),
                "\"Date\",\"Item\",\"Amount\"\r\n\"2024-01-05\",\"Seeds\",\"12.50\"\r\n", &count);
    }
    putFile(root + QStringLiteral("Config/departments.txt"), departments, &count);
    putFile(root + QStringLiteral("Config/Journal_Topics.txt"), "Books\r\nTravel\r\n", &count);
    putFile(root + QStringLiteral("Journal/Books.txt"), "Dune\r\nEmma", &count);
    putFile(root + QStringLiteral("Decision/Move.txt"), "", &count);
    return count;
}
