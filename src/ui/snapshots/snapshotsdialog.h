#pragma once

#include "core/snapshots/snapshotcatalog.h"

#include <QDialog>
#include <QHash>
#include <QList>

class IDialogs;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class SnapshotKeeper;
struct Result;

// File ▸ "Snapshots…": the snapshots of the data folder (date, size,
// files), the files of the selected one, and the commands to take one now
// and to restore one file or everything. Questions go through the dialogs
// seam; the work runs in the keeper, so the window stays responsive.
class SnapshotsDialog : public QDialog
{
    Q_OBJECT
public:
    SnapshotsDialog(SnapshotKeeper *keeper, IDialogs *dialogs, QWidget *parent = nullptr);

private Q_SLOTS:
    void takeSnapshot();
    void restoreSelectedFile();
    void restoreEverything();
    void chooseBackupFolder();
    void showSelectedSnapshotFiles();

private:
    void reloadList();
    void loadContentsInBackground();
    void updateButtons();
    void showStatus(const QString &status);
    void snapshotEnded(const Result &outcome);
    void restoreEnded(const Result &outcome, const QString &message);
    const SnapshotFile *selectedSnapshot() const;

    SnapshotKeeper *m_keeper;
    IDialogs *m_dialogs;
    QLabel *m_status;
    QLabel *m_folder;
    QPushButton *m_chooseFolderButton;
    QTreeWidget *m_snapshotList;
    QListWidget *m_fileList;
    QPushButton *m_snapshotNowButton;
    QPushButton *m_restoreFileButton;
    QPushButton *m_restoreEverythingButton;
    QList<SnapshotFile> m_snapshots;
    // The entries of each snapshot by path, once read; a failure's message
    // in place of the entries.
    QHash<QString, QList<ArchivedEntry>> m_contents;
    QHash<QString, QString> m_contentErrors;
    int m_listGeneration = 0;
};
