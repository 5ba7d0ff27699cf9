#pragma once

#include "core/common/result.h"
#include "core/common/storedfiles.h"

#include <QString>

#include <memory>

class IClock;
class IShell;

// The data folder tree. Knows the absolute path of every data subfolder
// (each ends with "/", so a file name is appended directly), creates the
// missing folders once at construction, and carries the few shell and
// file operations the rest of the program uses on files and folders.
// Paths never change during a run.
class DataFolder
{
public:
    // Shell file operation kinds.
    enum : unsigned { FO_MOVE = 1, FO_COPY = 2, FO_DELETE = 3, FO_RENAME = 4 };
    // Operation flag: a deletion goes to the desktop's trash instead of
    // removing the item for good.
    static constexpr quint16 FOF_ALLOWUNDO = 64;

    // root must end with "/". The shell may be null (no opener, no trash).
    // The clock names the conflict copies of files changed elsewhere.
    DataFolder(const QString &root, IShell *shell, const IClock &clock);

    const QString &rootDir() const { return m_rootDir; }
    const QString &dbDir() const { return m_dbDir; }
    const QString &configDir() const { return m_configDir; }
    const QString &buildDir() const { return m_buildDir; }
    const QString &helpDir() const { return m_helpDir; }
    const QString &ftpDir() const { return m_ftpDir; }
    const QString &foldersDir() const { return m_foldersDir; }
    const QString &logDir() const { return m_logDir; }
    const QString &reportDir() const { return m_reportDir; }
    const QString &imagesDir() const { return m_imagesDir; }
    const QString &iconsDir() const { return m_iconsDir; }
    const QString &brandDir() const { return m_brandDir; }
    const QString &userDataDir() const { return m_userDataDir; }
    const QString &projectsDir() const { return m_projectsDir; }
    const QString &summaryDir() const { return m_summaryDir; }
    const QString &journalDir() const { return m_journalDir; }
    const QString &decisionDir() const { return m_decisionDir; }
    // The files of this folder as the program last read or wrote them, and
    // the write fault tests put behind their writes.
    StoredFiles &storedFiles() const { return *m_storedFiles; }

    // There is no Windows directory here; kept empty for callers that ask.
    const QString &windowsDir() const { return m_windowsDir; }

    // Opens a document, folder or web address with the desktop's opener.
    void shellOpen(const QString &path) const;
    // Shows a folder in the file manager.
    void openFolder(const QString &path) const;

    // The user's documents folder with a trailing "/", or the error
    // "Could not find MyDocuments folder location." when the desktop does
    // not tell one.
    Expected<QString> myDocumentsDir() const;

    // One file operation; ok exactly when it succeeded, else the reason.
    // Kinds 1 move, 2 copy, 3 delete (to the trash with FOF_ALLOWUNDO),
    // 4 rename; any other kind fails.
    Result shellFileOperation(const QString &source, const QString &destination, unsigned kind,
                              quint16 flags) const;

    // The progress title the desktop would show for a kind; empty for
    // unknown kinds.
    static QString progressTitle(unsigned kind);

    // Erases every file directly in the folder (names starting with "." are
    // passed over), then removes the folder. The first failure stops the
    // operation and is returned; what was erased before it stays erased.
    Result deleteFolder(const QString &folder) const;

    // Removes what safe writes killed half-way left behind: a file named
    // like the one it was to replace plus "." and six random letters of
    // both cases ("money.txt.qWbXzA"), beside a ".txt" or ".html" file in
    // the data subfolders, modified before this run started. Anything
    // else, and anything this run may be writing, stays. Returns how many
    // were removed.
    int removeUnfinishedWrites() const;

private:
    QString m_rootDir;
    QString m_dbDir;
    QString m_configDir;
    QString m_buildDir;
    QString m_helpDir;
    QString m_ftpDir;
    QString m_foldersDir;
    QString m_logDir;
    QString m_reportDir;
    QString m_imagesDir;
    QString m_iconsDir;
    QString m_brandDir;
    QString m_userDataDir;
    QString m_projectsDir;
    QString m_summaryDir;
    QString m_journalDir;
    QString m_decisionDir;
    QString m_windowsDir;
    IShell *m_shell;
    std::unique_ptr<StoredFiles> m_storedFiles;
};

// Erases one file; the system's reason when it cannot.
Result eraseFile(const QString &path);
