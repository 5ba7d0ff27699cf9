#pragma once

#include "ui/topics/topicworkspace.h"

class LineNumberEdit;
class QStackedWidget;
class DataFolder;

// "My Lists": one free list per topic, kept in the line-numbered editor
// todo. Created once at start-up and embedded into the main window's
// pnlGoals.
class ListsWorkspace : public TopicWorkspace
{
    Q_OBJECT
public:
    ListsWorkspace(const DataFolder &dataFolder, const Services &services, QWidget *parent = nullptr);

protected:
    void layoutWritePanel() override;

private:
    LineNumberEdit *m_todo;
    QWidget *m_headerPanel;
    QLabel *m_promptLabel;
    QWidget *m_headerLine;
    QStackedWidget *m_pages;
    QWidget *m_listPage;
};
