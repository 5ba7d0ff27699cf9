#pragma once

#include <QString>

// Rules of a project's documents folder and of the Links page, kept apart
// from the widgets so they can be checked without a window.
namespace Documents {

// The most "New FileN.txt" names tried before giving up.
constexpr int kMaxNewFiles = 20;

// The first of root + "New File1.txt" ... "New File20.txt" that does not
// exist; empty when all twenty exist (nothing may be overwritten).
QString nextNewFileName(const QString &root);

// The bytes of a new text file: one line holding a single blank.
QByteArray newFileContent();

// False for the items the documents list never deletes: nothing, the
// desktop's "Control Panel" and "Recycle Bin", network places.
bool mayDelete(const QString &path);

// The documents folder of a project: the user's documents folder (with a
// trailing "/") + the trimmed project name + "/", or the documents folder
// itself for an empty name. Empty for a name that would reach outside the
// documents folder ("." or "..", a path separator, a control character).
QString folderFor(const QString &documentsDir, const QString &projectName);

// The text of line `line` (0-based) of a text, trimmed; empty past the end.
QString linkAt(const QString &text, int line);

} // namespace Documents
