#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The whole content of a file, or "<missing>" when it cannot be read.
QByteArray fileBytes(const QString &path);

// Writes a file for a test to start from, making its folder first; a file
// that cannot be written fails the running test.
void writeFileBytes(const QString &path, const QByteArray &bytes);

// A file of the build folder, such as a helper program, given by its place
// in that folder.
QString testBuildFile(const QString &relativePath);

// The day number of a calendar date.
int dayNumberOf(int year, int month, int day);

// The one descendant of parent (or, with Qt::FindDirectChildrenOnly, the
// one child) of type T with that object name. A missing or repeated name
// stops the test program with a message naming both, so that a renamed
// control is found at once instead of as a null pointer later.
QObject *uniqueChild(const QObject *parent, const char *objectName, const QMetaObject &type,
                     Qt::FindChildOptions options);

template <class T>
T *child(const QObject *parent, const char *objectName, Qt::FindChildOptions options = Qt::FindChildrenRecursively)
{
    return static_cast<T *>(uniqueChild(parent, objectName, T::staticMetaObject, options));
}
