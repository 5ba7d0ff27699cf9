#include "ui/projects/documentsbrowser.h"

#include "core/common/syncfiles.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "ui/platform/dialogs.h"
#include "core/platform/shell.h"
#include "core/projects/documents.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

DocumentsBrowser::DocumentsBrowser(DataFolder *dataFolder, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_dataFolder(dataFolder)
    , m_services(services)
    , m_model(new QFileSystemModel(this))
{
    setObjectName(QStringLiteral("DocumentsList"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    m_upButton = new QToolButton(this);
    m_upButton->setObjectName(QStringLiteral("btnUp"));
    m_upButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    m_upButton->setAccessibleName(tr("Up"));
    m_upButton->setToolTip(tr("Back up to the enclosing folder (Backspace)"));
    m_upButton->setAutoRaise(true);
    connect(m_upButton, &QToolButton::clicked, this, &DocumentsBrowser::goUp);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("lblFolder"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addWidget(m_upButton);
    bar->addWidget(m_folderLabel, 1);
    layout->addLayout(bar);

    m_model->setReadOnly(false); // rename in place
    m_model->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    m_model->setResolveSymlinks(false);
    // The desktop's icon theme, with an icon per file type, instead of the
    // one generic file icon the model draws on its own.
    // The model's file-information thread may ask it for icons until the
    // model is gone, so the provider lives as long as the program.
    static QFileIconProvider *const iconProvider = new QFileIconProvider;
    m_model->setIconProvider(iconProvider);

    m_files = new QListView(this);
    m_files->setObjectName(QStringLiteral("files"));
    m_files->setAccessibleName(tr("Documents"));
    m_files->setModel(m_model);
    m_files->setViewMode(QListView::ListMode);
    m_files->setFlow(QListView::TopToBottom);
    m_files->setWrapping(true);
    m_files->setResizeMode(QListView::Adjust);
    // Each name takes the width it needs: uniform sizes would cut every
    // name to the width of the first one while the list has room to spare.
    m_files->setUniformItemSizes(false);
    m_files->setTextElideMode(Qt::ElideMiddle);
    m_files->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible when the list loses the focus.
    QPalette pal = m_files->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    m_files->setPalette(pal);
    layout->addWidget(m_files, 1);
    connect(m_files, &QListView::doubleClicked, this, &DocumentsBrowser::openEntry);
    connect(m_files, &QListView::activated, this, [this](const QModelIndex &index) {
        // Enter opens like a double-click.
        openEntry(index);
    });
    connect(m_files, &QWidget::customContextMenuRequested, this, &DocumentsBrowser::showPopup);
    connect(m_model, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        if (parent == m_files->rootIndex())
            hideSyncToolEntries();
    });
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &DocumentsBrowser::hideSyncToolEntries);

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_openFolderAction = m_contextMenu->addAction(tr("Open This Folder"), this, &DocumentsBrowser::openShownFolder);
    m_openFolderAction->setObjectName(QStringLiteral("OpenThisFolder1"));
    m_contextMenu->addSeparator();
    m_newFileAction = m_contextMenu->addAction(tr("New Text File"), this, &DocumentsBrowser::createNewFile);
    m_newFileAction->setObjectName(QStringLiteral("NewFile1"));
    m_contextMenu->addSeparator();
    m_renameAction = m_contextMenu->addAction(tr("Rename"), this, [this] {
        if (m_files->currentIndex().isValid())
            m_files->edit(m_files->currentIndex());
    });
    m_renameAction->setObjectName(QStringLiteral("Rename1"));
    m_renameAction->setVisible(false);
    m_refreshAction = m_contextMenu->addAction(tr("Refresh"), this, &DocumentsBrowser::refresh);
    m_refreshAction->setObjectName(QStringLiteral("Refresh1"));
    m_refreshAction->setShortcut(QKeySequence::Refresh);
    m_contextMenu->addSeparator();
    m_deleteAction = m_contextMenu->addAction(tr("Delete"), this, &DocumentsBrowser::deleteSelected);
    m_deleteAction->setObjectName(QStringLiteral("Delete1"));
    m_deleteAction->setShortcut(QKeySequence::Delete);
    // The keys work while the list has the focus, not only from the menu.
    for (QAction *action : {m_refreshAction, m_deleteAction}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        m_files->addAction(action);
    }
    auto *up = new QAction(this);
    up->setShortcut(QKeySequence(Qt::Key_Backspace));
    up->setShortcutContext(Qt::WidgetShortcut);
    connect(up, &QAction::triggered, this, &DocumentsBrowser::goUp);
    m_files->addAction(up);

    // Before any project is chosen, the list shows the documents folder.
    const Expected<QString> docs = m_dataFolder ? m_dataFolder->myDocumentsDir() : Expected<QString>();
    if (m_dataFolder && docs && QFileInfo(docs.value).isDir()) {
        m_root = docs.value;
        showFolder(docs.value);
    } else {
        m_upButton->setEnabled(false);
    }
}

Expected<QString> DocumentsBrowser::documentsFolder()
{
    const Expected<QString> docs = m_dataFolder->myDocumentsDir();
    if (!docs)
        return docs;
    const QString path = Documents::folderFor(docs.value, m_projectName);
    if (path.isEmpty())
        return Expected<QString>::failure(tr("\"%1\" cannot be used as a folder name.").arg(m_projectName.trimmed()));
    // The documents folder itself may not exist yet on a fresh desktop.
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) {
        return Expected<QString>::failure(
            tr("Could not create the folder \"%1\".").arg(QDir::toNativeSeparators(QDir::cleanPath(path))));
    }
    return path;
}

bool DocumentsBrowser::switchTo(const QString &projectName)
{
    const QString previous = m_projectName;
    m_projectName = projectName;
    const Expected<QString> folder = documentsFolder();
    if (!folder) {
        m_services.dialogs->error(window(), folder.error);
        m_projectName = previous;
        return false;
    }
    m_root = folder.value;
    showFolder(folder.value);
    return true;
}

void DocumentsBrowser::showFolder(const QString &folder)
{
    m_current = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QModelIndex index = m_model->setRootPath(m_current);
    m_files->setRootIndex(index);
    m_model->sort(0, Qt::AscendingOrder);
    hideSyncToolEntries();
    m_folderLabel->setText(QDir::toNativeSeparators(QDir::cleanPath(m_current)));
    m_upButton->setEnabled(QDir::cleanPath(m_current) != QDir::cleanPath(m_root));
}

void DocumentsBrowser::hideSyncToolEntries()
{
    const QModelIndex root = m_files->rootIndex();
    const int rows = m_model->rowCount(root);
    for (int row = 0; row < rows; ++row)
        m_files->setRowHidden(row, SyncFiles::isSyncToolEntry(m_model->fileName(m_model->index(row, 0, root))));
}

void DocumentsBrowser::goUp()
{
    if (QDir::cleanPath(m_current) == QDir::cleanPath(m_root))
        return;
    QDir dir(m_current);
    if (dir.cdUp())
        showFolder(dir.absolutePath());
}

void DocumentsBrowser::openShownFolder()
{
    const Expected<QString> folder = documentsFolder();
    if (folder)
        m_dataFolder->openFolder(folder.value);
    else
        m_services.dialogs->error(window(), folder.error);
}

void DocumentsBrowser::createNewFile()
{
    if (m_root.isEmpty())
        return;
    const QString name = Documents::nextNewFileName(m_root);
    if (name.isEmpty()) {
        m_services.dialogs->message(
            window(), tr("\"New File1.txt\" to \"New File%1.txt\" all exist in %2. Rename or delete "
                         "one of them to make a new text file.")
                          .arg(Documents::kMaxNewFiles)
                          .arg(QDir::toNativeSeparators(m_root)));
        return;
    }
    const WriteResult written = TextFile::writeBytes(name, Documents::newFileContent());
    if (!written) {
        m_services.dialogs->error(window(), written.error);
        return;
    }
    refresh();
}

void DocumentsBrowser::refresh()
{
    if (m_current.isEmpty())
        return;
    // A new root path makes the model read the folder again.
    m_model->setRootPath(QString());
    showFolder(m_current);
}

QString DocumentsBrowser::selectedPath() const
{
    const QModelIndex index = m_files->currentIndex();
    if (!index.isValid() || !m_files->selectionModel()->isSelected(index))
        return {};
    return m_model->filePath(index);
}

void DocumentsBrowser::deleteSelected()
{
    const QString path = selectedPath();
    if (!Documents::mayDelete(path))
        return;
    const QString name = QFileInfo(path).fileName();
    if (!m_services.dialogs->yesNo(window(), tr("Move \"%1\" to the trash?").arg(name)))
        return;
    const Result trashed =
        m_dataFolder->shellFileOperation(path, QString(), DataFolder::FO_DELETE, DataFolder::FOF_ALLOWUNDO);
    if (!trashed) {
        m_services.dialogs->error(window(),
                                  tr("Could not move \"%1\" to the trash: %2").arg(name, trashed.error));
        return;
    }
    refresh();
}

void DocumentsBrowser::openEntry(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString path = m_model->filePath(index);
    if (m_model->isDir(index))
        showFolder(path);
    else
        m_services.shell->openPath(path);
}

void DocumentsBrowser::showPopup(const QPoint &at)
{
    m_contextMenu->popup(m_files->viewport()->mapToGlobal(at));
}
