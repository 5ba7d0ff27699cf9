#include "ui/topics/addtopicdialog.h"

#include "ui/common/look.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kWidth = 581;
constexpr int kHeight = 213;
constexpr int kEditWidth = 369;

} // namespace

AddTopicDialog::AddTopicDialog(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("AddTopic"));
    setWindowTitle(tr("Add Topic"));
    paintWhite(this);
    setFixedSize(kWidth, kHeight);

    headingLabel = new QLabel(tr("New Topic"), this);
    headingLabel->setObjectName(QStringLiteral("Label1"));
    headingLabel->setFont(hintedPixelFont(QStringLiteral("Garamond"), 35, FontStyle::Bold));
    headingLabel->setAlignment(Qt::AlignCenter);
    headingLabel->setGeometry(0, 12, kWidth, 46);

    promptLabel = new QLabel(tr("Enter a new topic"), this);
    promptLabel->setObjectName(QStringLiteral("Label2"));
    promptLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic));
    setTextColor(promptLabel, Qt::gray);
    promptLabel->setAlignment(Qt::AlignCenter);
    promptLabel->setGeometry(0, 62, kWidth, 22);

    nameEdit = new QLineEdit(tr("Topic Name"), this);
    nameEdit->setObjectName(QStringLiteral("edit1"));
    nameEdit->setAccessibleName(tr("New topic name"));
    nameEdit->setGeometry((kWidth - kEditWidth) / 2, 100, kEditWidth, 26);
    promptLabel->setBuddy(nameEdit);

    okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("OK"));
    okButton->setDefault(true);
    okButton->setGeometry(kWidth / 2 - 85, 152, 80, 28);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Cancel"));
    cancelButton->setGeometry(kWidth / 2 + 5, 152, 80, 28);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(nameEdit, okButton);
    setTabOrder(okButton, cancelButton);
    // Typing goes into the name from the first moment; nothing moves the
    // focus later.
    nameEdit->setFocus();
    nameEdit->selectAll();
}

void AddTopicDialog::setRenaming(const QString &currentName)
{
    setWindowTitle(tr("Rename Topic"));
    headingLabel->setText(tr("Rename Topic"));
    promptLabel->setText(tr("Enter a new name for the topic"));
    nameEdit->setAccessibleName(tr("New name"));
    nameEdit->setText(currentName);
    nameEdit->selectAll();
}

void AddTopicDialog::setNameCheck(std::function<bool(const QString &)> check)
{
    m_check = std::move(check);
}

void AddTopicDialog::accept()
{
    if (m_check && !m_check(nameEdit->text())) {
        nameEdit->setFocus();
        return;
    }
    QDialog::accept();
}

void AddTopicDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_owner) {
        const QPoint centre = m_owner->mapToGlobal(m_owner->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
}
