#include "ui/snapshots/snapshotsdialog.h"

#include "core/common/result.h"
#include "ui/platform/dialogs.h"
#include "ui/snapshots/snapshotkeeper.h"
#include "ui/snapshots/snapshottime.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

struct SnapshotContents
{
    QHash<QString, QList<ArchivedEntry>> entries;
    QHash<QString, QString> errors;
};

} // namespace

SnapshotsDialog::SnapshotsDialog(SnapshotKeeper *keeper, IDialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_keeper(keeper)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("SnapshotsDialog"));
    setWindowTitle(tr("Snapshots"));
    resize(720, 520);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("snapshotStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("backupFolder"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_chooseFolderButton = new QPushButton(tr("Choose backup folder…"), this);
    m_chooseFolderButton->setObjectName(QStringLiteral("chooseBackupFolderButton"));
    if (m_keeper->backupDirFixed())
        m_chooseFolderButton->setToolTip(tr("The backups folder was given on the command line."));

    m_snapshotList = new QTreeWidget(this);
    m_snapshotList->setObjectName(QStringLiteral("snapshotList"));
    m_snapshotList->setAccessibleName(tr("Snapshots"));
    m_snapshotList->setHeaderLabels({tr("Date"), tr("Size"), tr("Files")});
    m_snapshotList->setRootIsDecorated(false);
    m_snapshotList->setUniformRowHeights(true);
    m_snapshotList->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("snapshotFiles"));
    m_fileList->setAccessibleName(tr("Files of the selected snapshot"));

    m_snapshotNowButton = new QPushButton(tr("Snapshot now"), this);
    m_snapshotNowButton->setObjectName(QStringLiteral("snapshotNowButton"));
    m_restoreFileButton = new QPushButton(tr("Restore file…"), this);
    m_restoreFileButton->setObjectName(QStringLiteral("restoreFileButton"));
    m_restoreEverythingButton = new QPushButton(tr("Restore everything…"), this);
    m_restoreEverythingButton->setObjectName(QStringLiteral("restoreEverythingButton"));
    auto *closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(tr("Backups folder:"), this));
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_chooseFolderButton);

    auto *lists = new QHBoxLayout;
    lists->addWidget(m_snapshotList, 3);
    lists->addWidget(m_fileList, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_snapshotNowButton);
    buttons->addStretch(1);
    buttons->addWidget(m_restoreFileButton);
    buttons->addWidget(m_restoreEverythingButton);
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addLayout(folderRow);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(m_snapshotNowButton, &QPushButton::clicked, this, &SnapshotsDialog::takeSnapshot);
    connect(m_restoreFileButton, &QPushButton::clicked, this, &SnapshotsDialog::restoreSelectedFile);
    connect(m_restoreEverythingButton, &QPushButton::clicked, this, &SnapshotsDialog::restoreEverything);
    connect(m_chooseFolderButton, &QPushButton::clicked, this, &SnapshotsDialog::chooseBackupFolder);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_snapshotList, &QTreeWidget::itemSelectionChanged, this, &SnapshotsDialog::showSelectedSnapshotFiles);
    connect(m_fileList, &QListWidget::itemSelectionChanged, this, &SnapshotsDialog::updateButtons);
    connect(m_keeper, &SnapshotKeeper::statusChanged, this, &SnapshotsDialog::showStatus);
    connect(m_keeper, &SnapshotKeeper::snapshotFinished, this, &SnapshotsDialog::snapshotEnded);
    connect(m_keeper, &SnapshotKeeper::restoreFinished, this, &SnapshotsDialog::restoreEnded);

    // Keyboard: the list first, Enter closes unless a button has the focus.
    closeButton->setDefault(true);
    setTabOrder(m_snapshotList, m_fileList);
    setTabOrder(m_fileList, m_snapshotNowButton);
    setTabOrder(m_snapshotNowButton, m_restoreFileButton);
    setTabOrder(m_restoreFileButton, m_restoreEverythingButton);
    setTabOrder(m_restoreEverythingButton, closeButton);
    setTabOrder(closeButton, m_chooseFolderButton);
    m_snapshotList->setFocus();

    showStatus(m_keeper->statusText());
    reloadList();
}

void SnapshotsDialog::showStatus(const QString &status)
{
    m_status->setText(status);
    updateButtons();
}

void SnapshotsDialog::reloadList()
{
    m_folder->setText(QDir::toNativeSeparators(m_keeper->backupDir()));
    const QString selectedPath = selectedSnapshot() ? selectedSnapshot()->path : QString();
    m_snapshots = SnapshotCatalog::list(m_keeper->backupDir());
    m_snapshotList->clear();
    for (const SnapshotFile &snapshot : std::as_const(m_snapshots)) {
        auto *item = new QTreeWidgetItem(m_snapshotList);
        item->setText(0, shownSnapshotTime(snapshot.taken));
        item->setText(1, QLocale().formattedDataSize(snapshot.size));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(0, QDir::toNativeSeparators(snapshot.path));
        if (snapshot.path == selectedPath)
            item->setSelected(true);
    }
    if (!m_snapshotList->selectedItems().isEmpty())
        m_snapshotList->setCurrentItem(m_snapshotList->selectedItems().first());
    else if (m_snapshotList->topLevelItemCount() > 0)
        m_snapshotList->setCurrentItem(m_snapshotList->topLevelItem(0));
    loadContentsInBackground();
    showSelectedSnapshotFiles();
}

// Counting a snapshot's files means reading it to its end; that is done on
// a worker, and the counts fill in when it is done.
void SnapshotsDialog::loadContentsInBackground()
{
    QStringList paths;
    for (const SnapshotFile &snapshot : std::as_const(m_snapshots)) {
        if (!m_contents.contains(snapshot.path) && !m_contentErrors.contains(snapshot.path))
            paths.append(snapshot.path);
    }
    for (int row = 0; row < m_snapshotList->topLevelItemCount(); ++row) {
        const QString path = m_snapshots.at(row).path;
        QTreeWidgetItem *item = m_snapshotList->topLevelItem(row);
        if (m_contents.contains(path)) {
            const auto &entries = m_contents.value(path);
            item->setText(2, QLocale().toString(std::count_if(entries.begin(), entries.end(),
                                                              [](const ArchivedEntry &e) { return !e.isFolder; })));
        } else if (m_contentErrors.contains(path)) {
            item->setText(2, tr("damaged"));
            item->setToolTip(2, m_contentErrors.value(path));
        } else {
            item->setText(2, QStringLiteral("…"));
        }
    }
    if (paths.isEmpty())
        return;
    const int generation = ++m_listGeneration;
    auto result = std::make_shared<SnapshotContents>();
    QThread *reader = QThread::create([paths, result] {
        for (const QString &path : paths) {
            const Expected<QList<ArchivedEntry>> entries = SnapshotCatalog::contents(path);
            if (entries)
                result->entries.insert(path, entries.value);
            else
                result->errors.insert(path, entries.error);
        }
    });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, result, generation] {
        m_contents.insert(result->entries);
        m_contentErrors.insert(result->errors);
        if (generation != m_listGeneration)
            return;
        loadContentsInBackground();
        showSelectedSnapshotFiles();
    });
    reader->start(QThread::LowPriority);
}

const SnapshotFile *SnapshotsDialog::selectedSnapshot() const
{
    const QTreeWidgetItem *item = m_snapshotList->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const int row = m_snapshotList->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item));
    return row >= 0 && row < m_snapshots.size() ? &m_snapshots.at(row) : nullptr;
}

void SnapshotsDialog::showSelectedSnapshotFiles()
{
    const QString previous = m_fileList->currentItem() ? m_fileList->currentItem()->text() : QString();
    m_fileList->clear();
    const SnapshotFile *snapshot = selectedSnapshot();
    if (snapshot) {
        if (m_contents.contains(snapshot->path)) {
            for (const ArchivedEntry &entry : m_contents.value(snapshot->path)) {
                if (entry.isFolder)
                    continue;
                auto *item = new QListWidgetItem(entry.name, m_fileList);
                item->setToolTip(QLocale().formattedDataSize(entry.size));
                if (entry.name == previous)
                    m_fileList->setCurrentItem(item);
            }
        } else if (m_contentErrors.contains(snapshot->path)) {
            new QListWidgetItem(m_contentErrors.value(snapshot->path), m_fileList);
            m_fileList->item(0)->setFlags(Qt::NoItemFlags);
        }
    }
    updateButtons();
}

void SnapshotsDialog::updateButtons()
{
    const bool idle = !m_keeper->busy();
    const SnapshotFile *snapshot = selectedSnapshot();
    const bool readable = snapshot && m_contents.contains(snapshot->path);
    m_snapshotNowButton->setEnabled(idle);
    m_chooseFolderButton->setEnabled(idle && !m_keeper->backupDirFixed());
    m_restoreEverythingButton->setEnabled(idle && readable);
    m_restoreFileButton->setEnabled(idle && readable && m_fileList->currentItem()
                                    && m_fileList->currentItem()->isSelected());
}

void SnapshotsDialog::takeSnapshot()
{
    m_keeper->takeSnapshotNow();
    updateButtons();
}

void SnapshotsDialog::snapshotEnded(const Result &outcome)
{
    reloadList();
    if (!outcome)
        m_dialogs->error(this, outcome.error);
}

void SnapshotsDialog::restoreSelectedFile()
{
    const SnapshotFile *snapshot = selectedSnapshot();
    const QListWidgetItem *item = m_fileList->currentItem();
    if (!snapshot || !item || m_keeper->busy())
        return;
    const SnapshotFile chosen = *snapshot;
    const QString entryName = item->text();
    const QString current = QDir(m_keeper->dataRoot()).filePath(entryName);
    SnapshotRestore::Placement placement = SnapshotRestore::Placement::OverCurrent;
    if (QFileInfo::exists(current)) {
        const QString beside = QFileInfo(SnapshotRestore::besideName(current, chosen.taken.date())).fileName();
        const bool over = m_dialogs->yesNo(
            this, tr("Put the copy of \"%1\" from the snapshot of %2 over the current file?\n\n"
                     "Yes replaces the current file (it is kept in a new snapshot first). No keeps it and "
                     "puts the copy beside it as \"%3\".")
                      .arg(entryName, shownSnapshotTime(chosen.taken), beside));
        placement = over ? SnapshotRestore::Placement::OverCurrent : SnapshotRestore::Placement::BesideCurrent;
    }
    m_keeper->restoreFile(chosen, entryName, placement);
    updateButtons();
}

void SnapshotsDialog::restoreEverything()
{
    const SnapshotFile *snapshot = selectedSnapshot();
    if (!snapshot || m_keeper->busy())
        return;
    const SnapshotFile chosen = *snapshot;
    if (!m_dialogs->okCancel(this, tr("Replace everything in the data folder with the snapshot of %1?\n\n"
                                      "The current state is kept in a new snapshot first.")
                                       .arg(shownSnapshotTime(chosen.taken))))
        return;
    m_keeper->restoreEverything(chosen);
    updateButtons();
}

void SnapshotsDialog::restoreEnded(const Result &outcome, const QString &message)
{
    reloadList();
    if (!outcome)
        m_dialogs->error(this, outcome.error);
    else
        m_dialogs->message(this, message);
}

void SnapshotsDialog::chooseBackupFolder()
{
    QFileDialog chooser(this, tr("Choose backup folder"), m_keeper->backupDir());
    chooser.setObjectName(QStringLiteral("chooseBackupFolderDialog"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (m_dialogs->execForm(&chooser) != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const Result chosen = m_keeper->chooseBackupDir(chooser.selectedFiles().first());
    if (!chosen) {
        m_dialogs->error(this, chosen.error);
        return;
    }
    m_contents.clear();
    m_contentErrors.clear();
    reloadList();
}
