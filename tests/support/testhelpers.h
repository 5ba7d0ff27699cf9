#pragma once

#include <QByteArray>
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
