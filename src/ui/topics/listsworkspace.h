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

    QWidget *Panel14;
    QLabel *Label10;
    QWidget *Shape2;
    QStackedWidget *pgProject;
    QWidget *TabSheet5;
    LineNumberEdit *todo;

protected:
    void layoutWritePanel() override;
};
