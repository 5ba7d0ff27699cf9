#pragma once

#include "ui/platform/services.h"

#include <QObject>

class QWidget;
class DataFolder;
class DocumentsBrowser;

// The folder and link commands of the Projects section: the documents list
// of the Documents tab, opening the project's documents and data folders,
// and opening a line of the Links page. The section owns the controls that
// ask for them and tells which project or line is meant.
class DocumentsCommands : public QObject
{
    Q_OBJECT
public:
    // Messages are shown over the window of the given section, which also
    // owns the commands.
    DocumentsCommands(DataFolder *dataFolder, const Services &services, QWidget *section);

    DocumentsBrowser *files() const { return m_files; }

    // Opens the folder the documents list starts from.
    void openDocumentsFolder();
    // Opens the project's data folder, or the projects folder itself when
    // projectFolder is empty.
    void openDataFolder(const QString &projectFolder);
    // Opens a link line: a web address, or a file on this computer; says
    // why when it cannot.
    void openLink(const QString &link);

private:
    QWidget *m_section;
    DataFolder *m_dataFolder;
    Services m_services;
    DocumentsBrowser *m_files;
};
