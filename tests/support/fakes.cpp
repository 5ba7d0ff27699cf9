#include "fakes.h"

#include <QDialog>

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool FakeShell::openPath(const QString &pathOrUrl)
{
    opened.append(pathOrUrl);
    return true;
}

bool FakeShell::openFolder(const QString &path)
{
    openedFolders.append(path);
    return true;
}

Result FakeShell::moveToTrash(const QString &path)
{
    if (trashFails || !QFileInfo::exists(path))
        return Result::failure(QStringLiteral("The trash refused \"%1\".").arg(path));
    trashed.append(path);
    bool ok;
    const QFileInfo info(path);
    if (!trashDir.isEmpty())
        ok = QDir().rename(path, QDir(trashDir).filePath(info.fileName()));
    else
        ok = info.isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
    if (!ok)
        return Result::failure(QStringLiteral("Could not move \"%1\" to the trash.").arg(path));
    return Result::success();
}

void FakeDialogs::message(QWidget *, const QString &text)
{
    messages.append(text);
}

void FakeDialogs::error(QWidget *, const QString &text)
{
    errors.append(text);
}

bool FakeDialogs::answer(const QString &text)
{
    questions.append(text);
    return answers.isEmpty() ? defaultAnswer : answers.dequeue();
}

bool FakeDialogs::yesNo(QWidget *, const QString &text)
{
    return answer(text);
}

bool FakeDialogs::okCancel(QWidget *, const QString &text)
{
    return answer(text);
}

bool FakeDialogs::printerSetup(QWidget *, QPrinter *)
{
    ++printerSetups;
    return true;
}

int FakeDialogs::execForm(QDialog *form)
{
    formsShown.append(form->windowTitle());
    // Shown and modal while the answer runs, as exec() shows it: a button
    // that refuses to close the form leaves it visible, Enter reaches the
    // default button, and the windows behind it see a modal form.
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    const int result = formAnswer ? formAnswer(*form) : int(QDialog::Rejected);
    form->hide();
    return result;
}
