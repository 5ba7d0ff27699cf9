#pragma once

#include <QString>

class QDialog;
class QWidget;
class QPrinter;

// Message boxes and modal questions. The program shows them through this
// seam so tests can answer from a script and read what was shown.
class IDialogs
{
public:
    virtual ~IDialogs() = default;

    // An information box with one OK button.
    virtual void message(QWidget *parent, const QString &text) = 0;
    // An error box with one OK button.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool yesNo(QWidget *parent, const QString &text) = 0;
    // An OK/Cancel confirmation; true for OK.
    virtual bool okCancel(QWidget *parent, const QString &text) = 0;
    // The printer set-up dialog on the shared printer; true when accepted.
    virtual bool printerSetup(QWidget *parent, QPrinter *printer) = 0;
    // Shows a modal form of the program (such as "Alarm Set") and returns
    // its result, QDialog::Accepted or QDialog::Rejected.
    virtual int execForm(QDialog *form) = 0;
};

class QtDialogs final : public IDialogs
{
public:
    void message(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool yesNo(QWidget *parent, const QString &text) override;
    bool okCancel(QWidget *parent, const QString &text) override;
    bool printerSetup(QWidget *parent, QPrinter *printer) override;
    int execForm(QDialog *form) override;
};
