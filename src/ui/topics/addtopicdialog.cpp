#include "ui/topics/addtopicdialog.h"

#include "core/topics/topicstore.h"
#include "ui/common/look.h"
#include "ui/platform/dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kWidth = 581;
constexpr int kHeight = 213;
constexpr int kEditWidth = 369;

} // namespace

AddTopicDialog::AddTopicDialog(const TopicStore &store, IDialogs *dialogs, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
    , m_owner(owner)
    , m_store(store)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("AddTopic"));
    setWindowTitle(tr("Add Topic"));
    paintWhite(this);
    setFixedSize(kWidth, kHeight);

    m_headingLabel = new QLabel(tr("New Topic"), this);
    m_headingLabel->setObjectName(QStringLiteral("Label1"));
    m_headingLabel->setFont(hintedPixelFont(QStringLiteral("Garamond"), 35, FontStyle::Bold));
    m_headingLabel->setAlignment(Qt::AlignCenter);
    m_headingLabel->setGeometry(0, 12, kWidth, 46);

    m_promptLabel = new QLabel(tr("Enter a new topic"), this);
    m_promptLabel->setObjectName(QStringLiteral("Label2"));
    m_promptLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic));
    setTextColor(m_promptLabel, Qt::gray);
    m_promptLabel->setAlignment(Qt::AlignCenter);
    m_promptLabel->setGeometry(0, 62, kWidth, 22);

    m_nameEdit = new QLineEdit(tr("Topic Name"), this);
    m_nameEdit->setObjectName(QStringLiteral("edit1"));
    m_nameEdit->setAccessibleName(tr("New topic name"));
    m_nameEdit->setGeometry((kWidth - kEditWidth) / 2, 100, kEditWidth, 26);
    m_promptLabel->setBuddy(m_nameEdit);

    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("OK"));
    m_okButton->setDefault(true);
    m_okButton->setGeometry(kWidth / 2 - 85, 152, 80, 28);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("Cancel"));
    m_cancelButton->setGeometry(kWidth / 2 + 5, 152, 80, 28);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_nameEdit, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);
    // Typing goes into the name from the first moment; nothing moves the
    // focus later.
    m_nameEdit->setFocus();
    m_nameEdit->selectAll();
}

void AddTopicDialog::setRenaming(int entry)
{
    const QString currentName = m_store.topics().at(entry);
    m_renamedEntry = entry;
    m_oldName = currentName;
    setWindowTitle(tr("Rename Topic"));
    m_headingLabel->setText(tr("Rename Topic"));
    m_promptLabel->setText(tr("Enter a new name for the topic"));
    m_nameEdit->setAccessibleName(tr("New name"));
    m_nameEdit->setText(currentName);
    m_nameEdit->selectAll();
}

QString AddTopicDialog::typedName() const
{
    return m_nameEdit->text();
}

QString AddTopicDialog::refusal() const
{
    const TopicNameCheck check = m_store.checkNewName(m_nameEdit->text(), m_renamedEntry);
    if (m_renamedEntry >= 0) {
        // The old name given back changes nothing; anything else the
        // list would not take is said here.
        return check.accepted() || check.name == m_oldName ? QString() : check.message;
    }
    // A new name that cannot name files is refused here so it can be
    // corrected; an empty or listed one closes the dialog unheard.
    if (check.verdict == TopicNameCheck::TooLong || check.verdict == TopicNameCheck::SharesFiles)
        return check.message;
    return QString();
}

void AddTopicDialog::accept()
{
    const QString problem = refusal();
    if (!problem.isEmpty()) {
        m_dialogs->error(this, problem);
        m_nameEdit->setFocus();
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
