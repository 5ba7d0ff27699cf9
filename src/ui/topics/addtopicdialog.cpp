#include "ui/topics/addtopicdialog.h"

#include "ui/topics/topicworkspace.h"

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
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFixedSize(kWidth, kHeight);

    Label1 = new QLabel(tr("New Topic"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = TopicLook::pixelFont(QStringLiteral("Garamond"), 35);
    heading.setBold(true);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 12, kWidth, 46);

    Label2 = new QLabel(tr("Enter a new topic"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont line = TopicLook::pixelFont(QStringLiteral("Georgia"), 16);
    line.setItalic(true);
    Label2->setFont(line);
    QPalette grey = Label2->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    Label2->setPalette(grey);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(0, 62, kWidth, 22);

    edit1 = new QLineEdit(tr("Topic Name"), this);
    edit1->setObjectName(QStringLiteral("edit1"));
    edit1->setAccessibleName(tr("New topic name"));
    edit1->setGeometry((kWidth - kEditWidth) / 2, 100, kEditWidth, 26);
    Label2->setBuddy(edit1);

    OK = new QPushButton(tr("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    OK->setGeometry(kWidth / 2 - 85, 152, 80, 28);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);

    Cancel = new QPushButton(tr("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setGeometry(kWidth / 2 + 5, 152, 80, 28);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(edit1, OK);
    setTabOrder(OK, Cancel);
    // Typing goes into the name from the first moment; nothing moves the
    // focus later.
    edit1->setFocus();
    edit1->selectAll();
}

void AddTopicDialog::setRenaming(const QString &currentName)
{
    setWindowTitle(tr("Rename Topic"));
    Label1->setText(tr("Rename Topic"));
    Label2->setText(tr("Enter a new name for the topic"));
    edit1->setAccessibleName(tr("New name"));
    edit1->setText(currentName);
    edit1->selectAll();
}

void AddTopicDialog::setNameCheck(std::function<bool(const QString &)> check)
{
    m_check = std::move(check);
}

void AddTopicDialog::accept()
{
    if (m_check && !m_check(edit1->text())) {
        edit1->setFocus();
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
