#include "core/tracker/sleepreport.h"

#include <QFileInfo>

namespace SleepReport {

QString fileName()
{
    return QStringLiteral("DedoDurid.html");
}

QStringList reportLines(const QString &monthText, const QStringList &readings,
                  const QString &createdDate)
{
    QStringList doc{QStringLiteral("<html><head>"), QStringLiteral("</head><body>"),
                    QStringLiteral("<center><h2>"),
                    QStringLiteral("<u>") + monthText
                        + QStringLiteral(" Sleep Body Temperature (BBT) </u></h2>")};
    doc.append(QStringLiteral("<table width=600 ><tr><td>"));

    QStringList table{QStringLiteral("<table> <th bgcolor=#E0EEF1 >")
                      + QStringLiteral("Temperature").toUpper() + QStringLiteral("</th><tr>")};
    bool seen = false;
    for (const QString &line : readings) {
        if (line == QLatin1String("F=") || line == QLatin1String("T"))
            continue;
        seen = true;
        table.append(QStringLiteral("<tr><td>"));
        QString shown = line.toHtmlEscaped();
        // toHtmlEscaped also turns quotes into entities; a reading keeps them.
        shown.replace(QLatin1String("&quot;"), QLatin1String("\""));
        shown.replace(QLatin1Char('='), QLatin1String("&nbsp;&nbsp;=&nbsp;"));
        shown += QLatin1String(" &deg; F");
        if (line.contains(QLatin1Char('.')))
            table.append(shown);
        table.append(QStringLiteral("</td></tr>"));
    }
    table.append(QStringLiteral("</table><br>"));

    doc.append(QStringLiteral("<td><b>Sleep Body Temperature (BBT) </b>"));
    doc.append(QStringLiteral("<img src=Sleep.jpg border=1>"));
    doc.append(QStringLiteral("</td><td>"));
    table.append(QStringLiteral("</td></tr></table><br>"));

    if (seen) {
        // The table goes in as one block of text ending with a line break,
        // so an empty line follows it in the file.
        doc.append(table);
        doc.append(QString());
    }
    doc.append(QStringLiteral("<div > .: created: ") + createdDate + QStringLiteral("</div><br>"));
    doc.append(QStringLiteral("</center></body></html>"));
    return doc;
}

Result writeReport(const QString &readingsPath, const QString &reportPath, const QString &monthText,
             const QString &createdDate)
{
    Result result;
    if (!QFileInfo(readingsPath).isFile())
        return result;
    const Expected<QByteArray> read = TextFile::readBytes(readingsPath);
    if (!read) {
        result.write = WriteResult::failure(read.error);
        return result;
    }
    const QStringList readings = TextFile::splitLines(TextFile::decode(read.value));
    result.write = TextFile::writeLines(reportPath, reportLines(monthText, readings, createdDate));
    result.written = result.write.ok;
    return result;
}

} // namespace SleepReport
