#pragma once

#include "ui/platform/services.h"

#include <QObject>

class QLabel;
class QToolButton;
class DataFolder;
class DocumentsBrowser;
class ProjectsSection;

// Joins the documents list and the Links page to the Projects section:
// the list in the Documents tab follows the project selection; the bottom
// bar's folder picture, "Documents" label and "Data Files" open the
// project's folders; "Open Link" and a double-click on the Links page open
// the line under the caret.
class DocumentsCommands : public QObject
{
    Q_OBJECT
public:
    DocumentsCommands(ProjectsSection *projects, DataFolder *dataFolder, const Services &services);

    DocumentsBrowser *files() const { return m_files; }
    QToolButton *Image3;
    QLabel *dataLabel;
    QToolButton *SpeedButton1;

    void folderLabelClick();
    void folderCreateClick();
    void dataLabelClick();
    void linksDblClick();
    void SpeedButton1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openLinkAtCaret();

    ProjectsSection *m_projects;
    DataFolder *m_dataFolder;
    Services m_services;
    DocumentsBrowser *m_files;
};
