#include "ui/projects/editcategoriesdialog.h"

#include "ui/common/look.h"
#include "core/common/textfile.h"
#include "ui/platform/dialogs.h"
#include "core/projects/projectnames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *greyNote(const QString &text, QWidget *parent)
{
    return colouredLabel(QString(), text, pixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic),
                         QColor(0x80, 0x80, 0x80), parent);
}

} // namespace

EditCategoriesDialog::EditCategoriesDialog(const QStringList &lines, const QString &filePath, IDialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_filePath(filePath)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmProjCat"));
    setWindowTitle(tr("Edit Categories"));
    setFont(pixelFont(QStringLiteral("Arial"), 13));
    resize(400, 623);

    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFixedHeight(81);
    paintWhite(top);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(8, 4, 8, 4);
    topLayout->setSpacing(0);
    auto *title = new QLabel(tr("Edit Projects"), top);
    title->setFont(pixelFont(QStringLiteral("Georgia"), 24));
    topLayout->addWidget(title);
    topLayout->addWidget(greyNote(tr("List project names on each line."), top));
    topLayout->addWidget(greyNote(tr("Category names must start with the @ symbol."), top));

    m_linesEdit = new QPlainTextEdit(this);
    m_linesEdit->setObjectName(QStringLiteral("Memo1"));
    m_linesEdit->setAccessibleName(tr("Project and category lines"));
    m_linesEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_linesEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_linesEdit->setTabChangesFocus(true);

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel2"));
    bottom->setFixedHeight(40);
    auto *buttons = new QHBoxLayout(bottom);
    buttons->setContentsMargins(8, 4, 8, 4);
    buttons->addStretch(1);
    m_saveButton = new QPushButton(tr("Save"), bottom);
    m_saveButton->setObjectName(QStringLiteral("BitBtn1"));
    m_saveButton->setAccessibleName(tr("Save"));
    m_cancelButton = new QPushButton(tr("Cancel"), bottom);
    m_cancelButton->setObjectName(QStringLiteral("BitBtn2"));
    m_cancelButton->setAccessibleName(tr("Cancel"));
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    connect(m_saveButton, &QPushButton::clicked, this, &EditCategoriesDialog::saveAndAccept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(m_linesEdit, 1);
    layout->addWidget(bottom);

    showLines(lines);
    m_linesEdit->setFocus();
}

void EditCategoriesDialog::showLines(const QStringList &lines)
{
    m_linesEdit->setPlainText(lines.join(QLatin1Char('\n')));
}

void EditCategoriesDialog::saveAndAccept()
{
    // A line that cannot name a project folder would take typed text that
    // could never be stored: it is refused here, before the list holds it.
    const QString problems = ProjectNames::listProblems(TextFile::splitLines(m_linesEdit->toPlainText()));
    if (!problems.isEmpty()) {
        m_dialogs->error(this, tr("The list was not saved:\n\n%1").arg(problems));
        return;
    }
    const WriteResult written = TextFile::writeText(m_filePath, m_linesEdit->toPlainText());
    if (!written) {
        m_dialogs->error(this, written.error);
        return;
    }
    accept();
}
