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
    upButton = new QToolButton(this);
    upButton->setObjectName(QStringLiteral("btnUp"));
    upButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    upButton->setAccessibleName(tr("Up"));
    upButton->setToolTip(tr("Back up to the enclosing folder (Backspace)"));
    upButton->setAutoRaise(true);
    connect(upButton, &QToolButton::clicked, this, &DocumentsBrowser::goUp);
    folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("lblFolder"));
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addWidget(upButton);
    bar->addWidget(folderLabel, 1);
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

    files = new QListView(this);
    files->setObjectName(QStringLiteral("files"));
    files->setAccessibleName(tr("Documents"));
    files->setModel(m_model);
    files->setViewMode(QListView::ListMode);
    files->setFlow(QListView::TopToBottom);
    files->setWrapping(true);
    files->setResizeMode(QListView::Adjust);
    // Each name takes the width it needs: uniform sizes would cut every
    // name to the width of the first one while the list has room to spare.
    files->setUniformItemSizes(false);
    files->setTextElideMode(Qt::ElideMiddle);
    files->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    files->setSelectionMode(QAbstractItemView::SingleSelection);
    files->setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible when the list loses the focus.
    QPalette pal = files->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    files->setPalette(pal);
    layout->addWidget(files, 1);
    connect(files, &QListView::doubleClicked, this, &DocumentsBrowser::filesDblClick);
    connect(files, &QListView::activated, this, [this](const QModelIndex &index) {
        // Enter opens like a double-click.
        filesDblClick(index);
    });
    connect(files, &QWidget::customContextMenuRequested, this, &DocumentsBrowser::showPopup);
    connect(m_model, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        if (parent == files->rootIndex())
            hideSyncToolEntries();
    });
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &DocumentsBrowser::hideSyncToolEntries);

    contextMenu = new QMenu(this);
    contextMenu->setObjectName(QStringLiteral("PopupMenu1"));
    openFolderAction = contextMenu->addAction(tr("Open This Folder"), this, &DocumentsBrowser::openShownFolder);
    openFolderAction->setObjectName(QStringLiteral("OpenThisFolder1"));
    contextMenu->addSeparator();
    newFileAction = contextMenu->addAction(tr("New Text File"), this, &DocumentsBrowser::createNewFile);
    newFileAction->setObjectName(QStringLiteral("NewFile1"));
    contextMenu->addSeparator();
    renameAction = contextMenu->addAction(tr("Rename"), this, [this] {
        if (files->currentIndex().isValid())
            files->edit(files->currentIndex());
    });
    renameAction->setObjectName(QStringLiteral("Rename1"));
    renameAction->setVisible(false);
    refreshAction = contextMenu->addAction(tr("Refresh"), this, &DocumentsBrowser::refresh);
    refreshAction->setObjectName(QStringLiteral("Refresh1"));
    refreshAction->setShortcut(QKeySequence::Refresh);
    contextMenu->addSeparator();
    deleteAction = contextMenu->addAction(tr("Delete"), this, &DocumentsBrowser::deleteSelected);
    deleteAction->setObjectName(QStringLiteral("Delete1"));
    deleteAction->setShortcut(QKeySequence::Delete);
    // The keys work while the list has the focus, not only from the menu.
    for (QAction *action : {refreshAction, deleteAction}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        files->addAction(action);
    }
    auto *up = new QAction(this);
    up->setShortcut(QKeySequence(Qt::Key_Backspace));
    up->setShortcutContext(Qt::WidgetShortcut);
    connect(up, &QAction::triggered, this, &DocumentsBrowser::goUp);
    files->addAction(up);

    // Before any project is chosen, the list shows the documents folder.
    const Expected<QString> docs = m_dataFolder ? m_dataFolder->myDocumentsDir() : Expected<QString>();
    if (m_dataFolder && docs && QFileInfo(docs.value).isDir()) {
        m_root = docs.value;
        showFolder(docs.value);
    } else {
        upButton->setEnabled(false);
    }
}

bool DocumentsBrowser::documentsFolder(QString *folder)
{
    const Expected<QString> docs = m_dataFolder->myDocumentsDir();
    if (!docs) {
        m_services.dialogs->error(window(), docs.error);
        return false;
    }
    const QString path = Documents::folderFor(docs.value, m_projectName);
    if (path.isEmpty()) {
        m_services.dialogs->error(
            window(), tr("\"%1\" cannot be used as a folder name.").arg(m_projectName.trimmed()));
        return false;
    }
    // The documents folder itself may not exist yet on a fresh desktop.
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) {
        m_services.dialogs->error(window(), tr("Could not create the folder \"%1\".")
                                                .arg(QDir::toNativeSeparators(QDir::cleanPath(path))));
        return false;
    }
    *folder = path;
    return true;
}

bool DocumentsBrowser::switchTo(const QString &projectName)
{
    const QString previous = m_projectName;
    m_projectName = projectName;
    QString folder;
    if (!documentsFolder(&folder)) {
        m_projectName = previous;
        return false;
    }
    m_root = folder;
    showFolder(folder);
    return true;
}

void DocumentsBrowser::showFolder(const QString &folder)
{
    m_current = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QModelIndex index = m_model->setRootPath(m_current);
    files->setRootIndex(index);
    m_model->sort(0, Qt::AscendingOrder);
    hideSyncToolEntries();
    folderLabel->setText(QDir::toNativeSeparators(QDir::cleanPath(m_current)));
    upButton->setEnabled(QDir::cleanPath(m_current) != QDir::cleanPath(m_root));
}

void DocumentsBrowser::hideSyncToolEntries()
{
    const QModelIndex root = files->rootIndex();
    const int rows = m_model->rowCount(root);
    for (int row = 0; row < rows; ++row)
        files->setRowHidden(row, SyncFiles::isSyncToolEntry(m_model->fileName(m_model->index(row, 0, root))));
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
    QString folder;
    if (documentsFolder(&folder))
        m_dataFolder->openFolder(folder);
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
    const QModelIndex index = files->currentIndex();
    if (!index.isValid() || !files->selectionModel()->isSelected(index))
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
    const Result trashed = m_dataFolder->shellFileOperation(path, QString(), DataFolder::FO_DELETE, DataFolder::FOF_ALLOWUNDO);
    if (!trashed) {
        m_services.dialogs->error(window(),
                                  tr("Could not move \"%1\" to the trash: %2").arg(name, trashed.error));
        return;
    }
    refresh();
}

void DocumentsBrowser::filesDblClick(const QModelIndex &index)
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
    contextMenu->popup(files->viewport()->mapToGlobal(at));
}
