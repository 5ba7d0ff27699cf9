#include "ui/projects/costledgerwidget.h"

#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "ui/grid/stringgridview.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"

#include <QApplication>
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

    m_money = new StringGridView(&m_ledger.money(), this);
    m_money->setObjectName(QStringLiteral("money"));
    m_money->setAccessibleName(tr("Costs"));
    m_money->setFixedWidth(kGridWidth);
    m_money->setDefaultRowHeight(kRowHeight);
    m_money->setDefaultColumnWidth(kDefaultColumnWidth);
    m_money->setBackgroundColor(Qt::white);
    m_money->setFontColor(Qt::black);
    m_money->setCellPainter([this](QPainter *painter, const QRect &rect, int row, int column) {
        drawCell(painter, rect, row, column);
    });

    m_bottomPanel = new QWidget(this);
    m_bottomPanel->setObjectName(QStringLiteral("Panel11"));
    m_bottomPanel->setFixedHeight(kPanelHeight);
    paintWhite(m_bottomPanel);

    QFont bold = font();
    bold.setBold(true);

    QFrame *recordBox = roundedBox(QStringLiteral("Shape1"), m_bottomPanel);
    m_recordLabel = new ClickLabel(tr("Record:"), recordBox);
    m_recordLabel->setObjectName(QStringLiteral("Label6"));
    m_recordLabel->setFont(bold);
    m_recordLabel->setCursor(Qt::PointingHandCursor);
    m_recordLabel->setToolTip(tr("Open the project folder"));
    m_addRowButton = new PictureButton(QStringLiteral(":/icons/ledger_add.svg"), tr("Add item"), recordBox);
    m_addRowButton->setObjectName(QStringLiteral("btnAdd"));
    m_deleteRowButton = new PictureButton(QStringLiteral(":/icons/ledger_delete.svg"), tr("Delete item"),
                               recordBox);
    m_deleteRowButton->setObjectName(QStringLiteral("btnDel"));
    m_addRowButton->setToolTip(tr("Add an item at the top"));
    m_deleteRowButton->setToolTip(tr("Delete the current item"));
    for (PictureButton *button : {m_addRowButton, m_deleteRowButton}) {
        button->setFixedSize(23, 22);
        button->setIconSize(QSize(23, 22));
    }
    auto *recordLayout = new QHBoxLayout(recordBox);
    recordLayout->setContentsMargins(8, 2, 6, 2);
    recordLayout->setSpacing(4);
    recordLayout->addWidget(m_recordLabel);
    recordLayout->addWidget(m_addRowButton);
    recordLayout->addWidget(m_deleteRowButton);

    QFrame *balanceBox = roundedBox(QStringLiteral("Shape2"), m_bottomPanel);
    m_balanceLabel = new ClickLabel(tr("Balance:"), balanceBox);
    m_balanceLabel->setObjectName(QStringLiteral("Balance_Label"));
    m_balanceLabel->setFont(pixelFont(QStringLiteral("Arial"), 16, FontStyle::Bold));
    m_balanceLabel->setCursor(Qt::PointingHandCursor);
    m_balanceLabel->setToolTip(tr("Open the project folder"));
    m_balanceLabel->setMinimumWidth(150);
    m_balanceLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_calculateButton = new QPushButton(tr("Calculate"), balanceBox);
    m_calculateButton->setObjectName(QStringLiteral("btnBalance"));
    m_calculateButton->setAccessibleName(tr("Calculate"));
    m_calculateButton->setToolTip(tr("Show the balance: credits minus debits"));
    auto *balanceLayout = new QHBoxLayout(balanceBox);
    balanceLayout->setContentsMargins(8, 2, 6, 2);
    balanceLayout->setSpacing(8);
    balanceLayout->addWidget(m_balanceLabel, 1);
    balanceLayout->addWidget(m_calculateButton);

    auto *panelLayout = new QHBoxLayout(m_bottomPanel);
    panelLayout->setContentsMargins(6, 3, 6, 3);
    panelLayout->setSpacing(10);
    panelLayout->addWidget(recordBox);
    panelLayout->addWidget(balanceBox, 1);

    m_noteLabel = new QLabel(this);
    m_noteLabel->setObjectName(QStringLiteral("ledgerNote"));
    m_noteLabel->setWordWrap(true);
    m_noteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_noteLabel->setContentsMargins(4, 2, 4, 2);
    setTextColor(m_noteLabel, QColor(0xB0, 0x00, 0x00));
    m_noteLabel->hide();

    m_top = new QHBoxLayout;
    m_top->setContentsMargins(0, 0, 0, 0);
    m_top->setSpacing(0);
    m_top->addWidget(m_money);
    m_top->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(m_top, 1);
    layout->addWidget(m_noteLabel);
    layout->addWidget(m_bottomPanel);
    connect(&m_ledger.money(), &StringGrid::dataChanged, this, &CostLedgerWidget::cellsChanged);

    connect(m_addRowButton, &QToolButton::clicked, this, &CostLedgerWidget::addRow);
    connect(m_deleteRowButton, &QToolButton::clicked, this, &CostLedgerWidget::deleteRow);
    connect(m_calculateButton, &QPushButton::clicked, this, &CostLedgerWidget::calculateBalance);
    connect(m_recordLabel, &ClickLabel::clicked, this, &CostLedgerWidget::projectFolderRequested);
    connect(m_balanceLabel, &ClickLabel::clicked, this, &CostLedgerWidget::projectFolderRequested);

    orderTabChain();
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
    m_money->setColumnWidth(0, kItemColumnWidth);
    m_money->setColumnWidth(1, kDateColumnWidth);
}

void CostLedgerWidget::showEditableState()
{
    const bool editable = m_ledger.editable();
    m_addRowButton->setEnabled(editable);
    m_deleteRowButton->setEnabled(editable);
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
    m_money->finishEditing();
    return m_ledger.saveLedger();
}

void CostLedgerWidget::showNote(const QString &note)
{
    m_noteLabel->setText(note);
    m_noteLabel->setAccessibleName(note);
    m_noteLabel->setVisible(!note.isEmpty());
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
    m_balanceLabel->setFittedText(balanceCaption(balance), 16);
    m_balanceLabel->setAccessibleName(m_balanceLabel->text());
    m_marked.clear();
    for (const Amount::SkippedCell &cell : balance.skipped)
        m_marked.insert(qint64(cell.row) * 4 + cell.column);
    m_money->viewport()->update();
    QStringList notes;
    if (!m_ledger.editable())
        notes.append(m_ledger.readOnlyReason() + QLatin1Char(' ') + tr("The costs are read-only."));
    if (!balance.skipped.isEmpty())
        notes.append(skippedRowsNote(balance));
    showNote(notes.join(QLatin1Char('\n')));
}

Result CostLedgerWidget::showProject(const QString &projectName)
{
    m_money->finishEditing();
    const Result loaded = m_ledger.switchTo(projectName);
    applyColumnWidths();
    showEditableState();
    // The balance shown is always the shown project's.
    showBalance();
    return loaded;
}

void CostLedgerWidget::ownerDeleted()
{
    m_money->finishEditing();
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
    m_money->finishEditing();
    m_ledger.AddItem(m_services.clock->now());
}

void CostLedgerWidget::deleteRow()
{
    m_money->finishEditing();
    m_ledger.deleteCurrentItem();
}

void CostLedgerWidget::calculateBalance()
{
    m_money->finishEditing();
    showBalance();
}

void CostLedgerWidget::drawCell(QPainter *painter, const QRect &rect, int row, int column)
{
    drawStripedCell(painter, *m_money, rect, row, column);
    // A cell the balance passed over is framed in red.
    if (m_marked.contains(qint64(row) * 4 + column)) {
        painter->save();
        painter->setPen(QPen(QColor(0xD0, 0x00, 0x00), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }
}

void CostLedgerWidget::orderTabChain()
{
    setTabOrder(m_money, m_addRowButton);
    setTabOrder(m_addRowButton, m_deleteRowButton);
    setTabOrder(m_deleteRowButton, m_calculateButton);
}

QWidget *CostLedgerWidget::lastInTabChain() const
{
    return m_calculateButton;
}

bool CostLedgerWidget::cellEditorIsOpen() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && focus != m_money && m_money->isAncestorOf(focus);
}

bool CostLedgerWidget::showItemRow(int row)
{
    const QModelIndex cell = m_money->model()->index(row, 0);
    if (!cell.isValid())
        return false;
    m_money->setCurrentIndex(cell);
    m_money->scrollTo(cell);
    m_money->setFocus(Qt::OtherFocusReason);
    return true;
}
