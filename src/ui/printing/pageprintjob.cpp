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
#include <QPainter>
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

std::unique_ptr<IPrintTarget> choosePrintTarget(const Services &services, QWidget *parent,
                                                const QString &pdfName, QString *pdfPath)
{
    if (services.printing->hasPrinter())
        return services.printing->printerTarget();
    if (!services.dialogs->yesNo(parent, QObject::tr("No printer is installed. Save the pages as a PDF "
                                                     "file instead?")))
        return nullptr;
    const QString path = services.printing->askPdfFile(parent, pdfName);
    if (path.isEmpty())
        return nullptr;
    if (pdfPath)
        *pdfPath = path;
    return services.printing->pdfTarget(path);
}

Expected<int> printDocument(IPrintTarget &target, QTextDocument *document)
{
    // The document is laid out in screen pixels (96 to the inch) and drawn
    // scaled to the printer's dots.
    const QRect area = target.printableArea();
    const qreal scaleX = target.dpiX() / 96.0;
    const qreal scaleY = target.dpiY() / 96.0;
    const QSizeF page(area.width() / scaleX, area.height() / scaleY);
    document->setPageSize(page);
    const int pages = qMax(1, document->pageCount());
    const Result begun = target.beginDocument();
    if (!begun)
        return begun;
    QPainter *painter = target.painter();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !target.newPage()) {
            target.abortDocument();
            return Expected<int>::failure(QObject::tr("The printer could not start page %1.").arg(i + 1));
        }
        painter->save();
        painter->scale(scaleX, scaleY);
        painter->translate(0, -i * page.height());
        document->drawContents(painter, QRectF(QPointF(0, i * page.height()), page));
        painter->restore();
    }
    const Result ended = target.endDocument();
    if (!ended)
        return ended;
    return pages;
}

int printPages(const Services &services, QWidget *parent, const QString &title, const QStringList &lines,
               const QFont &font, const PageLayoutInches &layout, const QString &pdfName)
{
    const std::unique_ptr<IPrintTarget> target =
        choosePrintTarget(services, parent, pdfName.isEmpty() ? pdfNameFor(title) : pdfName);
    if (!target)
        return -1;

    target->setDocumentName(title);
    PagePrinter printer(title);
    const QFont paperFont = printableFont(font);
    const Expected<int> pages = printString(*target, lines, &paperFont, layout.left, layout.right, layout.top,
                                            layout.bottom, layout.linesPerInch, false, printer.header(),
                                            printer.footer());
    if (!pages) {
        services.dialogs->error(parent, pages.error);
        return -1;
    }
    services.dialogs->message(parent, QStringLiteral("%1 pages printed").arg(pages.value));
    return pages.value;
}

int printDayNote(const Services &services, QWidget *parent, DayNoteColumn *editor)
{
    return printPages(services, parent, editor->dateCaption(), editor->displayedNoteLines(),
                      editor->noteFont(), PageLayoutInches{0.5f, 0.5f, 0.75f, 1.0f, 6.0f},
                      DayNotes::folderName(editor->noteDate) + QStringLiteral(".pdf"));
}
