#include "ui/printing/pageprintjob.h"

#include "core/calendar/daynotes.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/platform/dialogs.h"
#include "ui/platform/printing.h"
#include "ui/platform/services.h"
#include "core/printing/printtarget.h"
#include "core/printing/pageprinter.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

namespace {

QString pdfNameFor(const QString &title)
{
    QString name;
    for (const QChar c : title) {
        if (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('_'))
            name += c;
    }
    name = name.simplified();
    if (name.isEmpty())
        name = QStringLiteral("Pages");
    return name + QStringLiteral(".pdf");
}

} // namespace

QStringList displayedLines(const QPlainTextEdit *editor)
{
    QStringList lines;
    const QTextDocument *document = editor->document();
    const qreal margin = document->documentMargin();
    const qreal width = qMax<qreal>(1, editor->viewport()->width() - 2 * margin);
    const bool wraps = editor->lineWrapMode() != QPlainTextEdit::NoWrap;
    QTextOption option(document->defaultTextOption());
    option.setWrapMode(wraps ? editor->wordWrapMode() : QTextOption::NoWrap);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.isEmpty()) {
            lines.append(QString());
            continue;
        }
        QTextLayout layout(text, editor->font(), editor->viewport());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int printPages(const Services &services, QWidget *parent, const QString &title, const QStringList &lines,
               const QFont &font, const PageLayoutInches &layout, const QString &pdfName)
{
    if (!services.printing)
        return -1;
    std::unique_ptr<IPrintTarget> target;
    if (services.printing->hasPrinter()) {
        target = services.printing->printerTarget();
    } else {
        if (!services.dialogs->yesNo(parent, QObject::tr("No printer is installed. Save the pages as a PDF "
                                                         "file instead?")))
            return -1;
        const QString path = services.printing->askPdfFile(parent, pdfName.isEmpty() ? pdfNameFor(title) : pdfName);
        if (path.isEmpty())
            return -1;
        target = services.printing->pdfTarget(path);
    }
    if (!target)
        return -1;

    PageTitle = title;
    PagePrinter printer;
    const QFont paperFont = printableFont(font);
    QString error;
    const int pages = printString(*target, lines, &paperFont, layout.left, layout.right, layout.top,
                                  layout.bottom, layout.linesPerInch, false, printer.header(),
                                  printer.footer(), &error);
    if (pages < 0) {
        services.dialogs->error(parent, error);
        return -1;
    }
    services.dialogs->message(parent, QStringLiteral("%1 pages printed").arg(pages));
    return pages;
}

int printDayNote(const Services &services, QWidget *parent, DayNoteColumn *editor)
{
    return printPages(services, parent, editor->dateLabel->text(), displayedLines(editor->noteEdit),
                      editor->noteEdit->font(), PageLayoutInches{0.5f, 0.5f, 0.75f, 1.0f, 6.0f},
                      DayNotes::folderName(editor->noteDate) + QStringLiteral(".pdf"));
}
