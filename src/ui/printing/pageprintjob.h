#pragma once

#include "core/common/result.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>

class IPrintTarget;
class QPlainTextEdit;
class QTextDocument;
class QWidget;
class DayNoteColumn;
struct Services;

// Margins in inches from the paper's edges and the line pitch.
struct PageLayoutInches
{
    float left;
    float right;
    float top;
    float bottom;
    float linesPerInch;
};

// The editor's lines as they are displayed: each paragraph broken where the
// editor wraps it at its present width, without a final empty line.
QStringList displayedLines(const QPlainTextEdit *editor);

// Where a print job goes: the printer when there is one; without one,
// after the user agreed, a PDF file the user chose (offered as pdfName),
// whose path is put in pdfPath. Null when the user declined or cancelled.
std::unique_ptr<IPrintTarget> choosePrintTarget(const Services &services, QWidget *parent,
                                                const QString &pdfName, QString *pdfPath = nullptr);

// Prints a rich-text document on the target, page after page, without
// header or footer: the document is laid out on pages of the printable
// area. Returns the pages printed, or the reason they were not.
Expected<int> printDocument(IPrintTarget &target, QTextDocument *document);

// Prints the lines with the program's header (the title) and numbered
// footer, then tells "%d pages printed". Without a printer it offers to
// save the same pages as a PDF file. Failures are shown in an error box
// and no page count is shown. Returns the pages printed, or -1. The PDF
// file offered is named pdfName, or after the title when that is empty.
int printPages(const Services &services, QWidget *parent, const QString &title, const QStringList &lines,
               const QFont &font, const PageLayoutInches &layout, const QString &pdfName = QString());

// The day editor's print button: its note under its date caption. The PDF
// file offered is named after the date as the note file is ("Jan-05-2024.pdf"),
// whatever the desktop's language.
int printDayNote(const Services &services, QWidget *parent, DayNoteColumn *editor);
