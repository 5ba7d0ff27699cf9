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

QObject *uniqueChild(const QObject *parent, const char *objectName, const QMetaObject &type,
                     Qt::FindChildOptions options)
{
    if (!parent)
        qFatal("no parent to look for \"%s\" in", objectName);
    QObject *found = nullptr;
    int count = 0;
    const QList<QObject *> candidates =
        parent->findChildren<QObject *>(QString::fromLatin1(objectName), options);
    for (QObject *candidate : candidates) {
        if (type.cast(candidate)) {
            found = candidate;
            ++count;
        }
    }
    if (count != 1)
        qFatal("%d controls of type %s named \"%s\" under %s \"%s\", not one", count, type.className(),
               objectName, parent->metaObject()->className(), qPrintable(parent->objectName()));
    return found;
}
