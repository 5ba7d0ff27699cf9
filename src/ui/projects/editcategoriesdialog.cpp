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

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(tr("Project and category lines"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel2"));
    bottom->setFixedHeight(40);
    auto *buttons = new QHBoxLayout(bottom);
    buttons->setContentsMargins(8, 4, 8, 4);
    buttons->addStretch(1);
    BitBtn1 = new QPushButton(tr("Save"), bottom);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAccessibleName(tr("Save"));
    BitBtn2 = new QPushButton(tr("Cancel"), bottom);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAccessibleName(tr("Cancel"));
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &EditCategoriesDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(Memo1, 1);
    layout->addWidget(bottom);

    formCreate(lines);
    Memo1->setFocus();
}

void EditCategoriesDialog::formCreate(const QStringList &lines)
{
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void EditCategoriesDialog::BitBtn1Click()
{
    // A line that cannot name a project folder would take typed text that
    // could never be stored: it is refused here, before the list holds it.
    const QString problems = ProjectNames::listProblems(TextFile::splitLines(Memo1->toPlainText()));
    if (!problems.isEmpty()) {
        m_dialogs->error(this, tr("The list was not saved:\n\n%1").arg(problems));
        return;
    }
    const WriteResult written = TextFile::writeText(m_filePath, Memo1->toPlainText());
    if (!written) {
        m_dialogs->error(this, written.error);
        return;
    }
    accept();
}
