#pragma once

#include "core/common/result.h"
#include "ui/platform/services.h"

#include <QString>
#include <QWidget>

class QAction;
class QFileSystemModel;
class QLabel;
class QListView;
class QMenu;
class QModelIndex;
class QToolButton;
class DataFolder;

// The Documents tab's folder list: one folder of the current project's
// documents folder with the desktop's icons, double-click into subfolders,
// a way back up, rename in place, and the context menu with "Open This
// Folder", "New Text File", "Refresh" and "Delete".
class DocumentsBrowser : public QWidget
{
    Q_OBJECT
public:
    DocumentsBrowser(DataFolder *dataFolder, const Services &services, QWidget *parent = nullptr);

    // The folder the list starts from (the project's documents folder) and
    // the folder it shows now (the root or one of its subfolders).
    QString root() const { return m_root; }
    QString currentFolder() const { return m_current; }

    // Points the list at a project's documents folder, creating it when
    // missing. False (after a message) when the documents location is
    // unknown or the name cannot name a folder; the list then stays.
    bool switchTo(const QString &projectName);

    // The current project's documents folder, computed afresh and created
    // when missing; the reason when it cannot be (nothing is shown).
    Expected<QString> documentsFolder();

    void openShownFolder();
    void createNewFile();
    void refresh();
    void deleteSelected();
    // Opens a file with its program, or shows a folder (a double-click).
    void openEntry(const QModelIndex &index);
    void goUp();

    // The full path of the selected item; empty when nothing is selected.
    QString selectedPath() const;
    // Shows a folder inside the root.
    void showFolder(const QString &folder);

private:
    void showPopup(const QPoint &at);
    // Synchronisation tools' and office programs' own files are not shown.
    void hideSyncToolEntries();

    QToolButton *m_upButton;
    QLabel *m_folderLabel;
    QListView *m_files;
    QMenu *m_contextMenu;
    QAction *m_openFolderAction;
    QAction *m_newFileAction;
    QAction *m_renameAction;
    QAction *m_refreshAction;
    QAction *m_deleteAction;

    DataFolder *m_dataFolder;
    Services m_services;
    QFileSystemModel *m_model;
    QString m_projectName;
    QString m_root;
    QString m_current;
};
