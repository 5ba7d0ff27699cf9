#include "testhelpers.h"
#include "testharness.h"

#include "core/common/daynumber.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return file.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString testBuildFile(const QString &relativePath)
{
    return QString::fromLocal8Bit(vellumarkTestBuildDir()) + QLatin1Char('/') + relativePath;
}

int dayNumberOf(int year, int month, int day)
{
    return DayNumber::fromDate(QDate(year, month, day));
}
