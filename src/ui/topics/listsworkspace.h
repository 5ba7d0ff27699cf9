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

    QWidget *headerPanel;
    QLabel *promptLabel;
    QWidget *headerLine;
    QStackedWidget *pages;
    QWidget *listPage;
    LineNumberEdit *todo;

protected:
    void layoutWritePanel() override;
};
