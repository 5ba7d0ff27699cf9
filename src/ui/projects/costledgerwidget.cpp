#include "ui/projects/costledgerwidget.h"

#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "ui/grid/stringgridview.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kGridWidth = 433;
constexpr int kRowHeight = 20;
constexpr int kDefaultColumnWidth = 64;
constexpr int kItemColumnWidth = 175;
constexpr int kDateColumnWidth = 103;
constexpr int kPanelHeight = 41;

QFrame *roundedBox(const QString &name, QWidget *parent)
{
    auto *box = new QFrame(parent);
    box->setObjectName(name);
    box->setStyleSheet(QStringLiteral("QFrame#%1 { border: 1px solid silver; border-radius: 6px;"
                                      " background: white; }")
                           .arg(name));
    return box;
}

} // namespace

void ClickLabel::setFittedText(const QString &text, int largestPixelSize)
{
    m_largestPixelSize = largestPixelSize;
    setText(text);
    setToolTip(text);
    fitText();
}

void ClickLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fitText();
}

void ClickLabel::fitText()
{
    if (m_largestPixelSize <= 0)
        return;
    QFont fitted = font();
    const int room = contentsRect().width();
    for (int pixels = m_largestPixelSize; pixels >= 9; --pixels) {
        fitted.setPixelSize(pixels);
        if (QFontMetrics(fitted).horizontalAdvance(text()) <= room || pixels == 9)
            break;
    }
    if (fitted != font())
        setFont(fitted);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

CostLedgerWidget::CostLedgerWidget(const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("CostLedger"));

    money = new StringGridView(&m_ledger.money(), this);
    money->setObjectName(QStringLiteral("money"));
    money->setAccessibleName(tr("Costs"));
    money->setFixedWidth(kGridWidth);
    money->setDefaultRowHeight(kRowHeight);
    money->setDefaultColumnWidth(kDefaultColumnWidth);
    money->setBackgroundColor(Qt::white);
    money->setFontColor(Qt::black);
    money->setCellPainter([this](QPainter *painter, const QRect &rect, int row, int column) {
        drawCell(painter, rect, row, column);
    });

    bottomPanel = new QWidget(this);
    bottomPanel->setObjectName(QStringLiteral("Panel11"));
    bottomPanel->setFixedHeight(kPanelHeight);
    paintWhite(bottomPanel);

    QFont bold = font();
    bold.setBold(true);

    QFrame *recordBox = roundedBox(QStringLiteral("Shape1"), bottomPanel);
    recordLabel = new ClickLabel(tr("Record:"), recordBox);
    recordLabel->setObjectName(QStringLiteral("Label6"));
    recordLabel->setFont(bold);
    recordLabel->setCursor(Qt::PointingHandCursor);
    recordLabel->setToolTip(tr("Open the project folder"));
    addRowButton = new PictureButton(QStringLiteral(":/icons/ledger_add.svg"), tr("Add item"), recordBox);
    addRowButton->setObjectName(QStringLiteral("btnAdd"));
    deleteRowButton = new PictureButton(QStringLiteral(":/icons/ledger_delete.svg"), tr("Delete item"),
                               recordBox);
    deleteRowButton->setObjectName(QStringLiteral("btnDel"));
    addRowButton->setToolTip(tr("Add an item at the top"));
    deleteRowButton->setToolTip(tr("Delete the current item"));
    for (PictureButton *button : {addRowButton, deleteRowButton}) {
        button->setFixedSize(23, 22);
        button->setIconSize(QSize(23, 22));
    }
    auto *recordLayout = new QHBoxLayout(recordBox);
    recordLayout->setContentsMargins(8, 2, 6, 2);
    recordLayout->setSpacing(4);
    recordLayout->addWidget(recordLabel);
    recordLayout->addWidget(addRowButton);
    recordLayout->addWidget(deleteRowButton);

    QFrame *balanceBox = roundedBox(QStringLiteral("Shape2"), bottomPanel);
    balanceLabel = new ClickLabel(tr("Balance:"), balanceBox);
    balanceLabel->setObjectName(QStringLiteral("Balance_Label"));
    balanceLabel->setFont(pixelFont(QStringLiteral("Arial"), 16, FontStyle::Bold));
    balanceLabel->setCursor(Qt::PointingHandCursor);
    balanceLabel->setToolTip(tr("Open the project folder"));
    balanceLabel->setMinimumWidth(150);
    balanceLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    calculateButton = new QPushButton(tr("Calculate"), balanceBox);
    calculateButton->setObjectName(QStringLiteral("btnBalance"));
    calculateButton->setAccessibleName(tr("Calculate"));
    calculateButton->setToolTip(tr("Show the balance: credits minus debits"));
    auto *balanceLayout = new QHBoxLayout(balanceBox);
    balanceLayout->setContentsMargins(8, 2, 6, 2);
    balanceLayout->setSpacing(8);
    balanceLayout->addWidget(balanceLabel, 1);
    balanceLayout->addWidget(calculateButton);

    auto *panelLayout = new QHBoxLayout(bottomPanel);
    panelLayout->setContentsMargins(6, 3, 6, 3);
    panelLayout->setSpacing(10);
    panelLayout->addWidget(recordBox);
    panelLayout->addWidget(balanceBox, 1);

    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("ledgerNote"));
    noteLabel->setWordWrap(true);
    noteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    noteLabel->setContentsMargins(4, 2, 4, 2);
    setTextColor(noteLabel, QColor(0xB0, 0x00, 0x00));
    noteLabel->hide();

    m_top = new QHBoxLayout;
    m_top->setContentsMargins(0, 0, 0, 0);
    m_top->setSpacing(0);
    m_top->addWidget(money);
    m_top->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(m_top, 1);
    layout->addWidget(noteLabel);
    layout->addWidget(bottomPanel);
    connect(&m_ledger.money(), &StringGrid::dataChanged, this, &CostLedgerWidget::cellsChanged);

    connect(addRowButton, &QToolButton::clicked, this, &CostLedgerWidget::addRow);
    connect(deleteRowButton, &QToolButton::clicked, this, &CostLedgerWidget::deleteRow);
    connect(calculateButton, &QPushButton::clicked, this, &CostLedgerWidget::calculateBalance);
    connect(recordLabel, &ClickLabel::clicked, this, &CostLedgerWidget::projectFolderRequested);
    connect(balanceLabel, &ClickLabel::clicked, this, &CostLedgerWidget::projectFolderRequested);

    setTabOrder(money, addRowButton);
    setTabOrder(addRowButton, deleteRowButton);
    setTabOrder(deleteRowButton, calculateButton);
    applyColumnWidths();
}

void CostLedgerWidget::setNotesEditor(QWidget *editor)
{
    if (m_notes)
        m_top->removeWidget(m_notes);
    // Drop the stretch that holds the place while there is no editor.
    if (m_top->count() > 1 && m_top->itemAt(1)->spacerItem())
        delete m_top->takeAt(1);
    m_notes = editor;
    m_top->addWidget(editor, 1);
}

void CostLedgerWidget::setProjectsDir(const QString &dir)
{
    m_ledger.setProjectsDir(dir);
}

void CostLedgerWidget::applyColumnWidths()
{
    money->setColumnWidth(0, kItemColumnWidth);
    money->setColumnWidth(1, kDateColumnWidth);
}

void CostLedgerWidget::showEditableState()
{
    const bool editable = m_ledger.editable();
    addRowButton->setEnabled(editable);
    deleteRowButton->setEnabled(editable);
}

void CostLedgerWidget::setLedgerHeadings()
{
    m_ledger.setLedgerHeadings();
    applyColumnWidths();
}

void CostLedgerWidget::clearLedger()
{
    m_ledger.clearLedger();
    applyColumnWidths();
}

Result CostLedgerWidget::saveLedger()
{
    money->finishEditing();
    return m_ledger.saveLedger();
}

void CostLedgerWidget::showNote(const QString &note)
{
    noteLabel->setText(note);
    noteLabel->setAccessibleName(note);
    noteLabel->setVisible(!note.isEmpty());
}

void CostLedgerWidget::cellsChanged()
{
    const QString notice = m_ledger.takeNotice();
    if (!notice.isEmpty())
        showNote(notice);
}

void CostLedgerWidget::showBalance()
{
    const Amount::Balance balance = m_ledger.Balance();
    balanceLabel->setFittedText(balanceCaption(balance), 16);
    balanceLabel->setAccessibleName(balanceLabel->text());
    m_marked.clear();
    for (const Amount::SkippedCell &cell : balance.skipped)
        m_marked.insert(qint64(cell.row) * 4 + cell.column);
    money->viewport()->update();
    QStringList notes;
    if (!m_ledger.editable())
        notes.append(m_ledger.readOnlyReason() + QLatin1Char(' ') + tr("The costs are read-only."));
    if (!balance.skipped.isEmpty())
        notes.append(skippedRowsNote(balance));
    showNote(notes.join(QLatin1Char('\n')));
}

Result CostLedgerWidget::showProject(const QString &projectName)
{
    money->finishEditing();
    const Result loaded = m_ledger.switchTo(projectName);
    applyColumnWidths();
    showEditableState();
    // The balance shown is always the shown project's.
    showBalance();
    return loaded;
}

void CostLedgerWidget::ownerDeleted()
{
    money->finishEditing();
    m_ledger.ownerDeleted();
    showEditableState();
    showNote(m_ledger.readOnlyReason() + QLatin1Char(' ') + tr("The costs are read-only."));
}

bool CostLedgerWidget::switchLedger(const QString &projectName)
{
    const Result saved = saveLedger();
    if (!saved) {
        const bool leave = m_services.dialogs->yesNo(
            this, tr("%1\n\nShow the costs of \"%2\" anyway? The rows of \"%3\" that could not be "
                     "saved will be lost.")
                      .arg(saved.error, trimProjectName(projectName), m_ledger.ownerName()));
        if (!leave)
            return false;
    }
    const Result loaded = showProject(projectName);
    if (!loaded)
        m_services.dialogs->error(this, loaded.error);
    return true;
}

void CostLedgerWidget::addRow()
{
    money->finishEditing();
    m_ledger.AddItem(m_services.clock->now());
}

void CostLedgerWidget::deleteRow()
{
    money->finishEditing();
    m_ledger.deleteCurrentItem();
}

void CostLedgerWidget::calculateBalance()
{
    money->finishEditing();
    showBalance();
}

void CostLedgerWidget::drawCell(QPainter *painter, const QRect &rect, int row, int column)
{
    drawStripedCell(painter, *money, rect, row, column);
    // A cell the balance passed over is framed in red.
    if (m_marked.contains(qint64(row) * 4 + column)) {
        painter->save();
        painter->setPen(QPen(QColor(0xD0, 0x00, 0x00), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }
}
