#include "ui/platform/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

QString boxTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Vellumark") : name;
}

} // namespace

void QtDialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, boxTitle(), text);
}

void QtDialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, boxTitle(), text);
}

bool QtDialogs::yesNo(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, boxTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

bool QtDialogs::okCancel(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, boxTitle(), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel)
           == QMessageBox::Ok;
}

bool QtDialogs::printerSetup(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(QObject::tr("Printer Setup"));
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::execForm(QDialog *form)
{
    return form->exec();
}
