#pragma once

#include "ui/topics/topicworkspace.h"

class LineNumberEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class QToolButton;
class SplitterBar;
class DataFolder;

// "Decisions": per topic the reasons for (plus) and against (minus) side
// by side, the final decision (made), and four further notes (Done,
// nextStep, Links, Other) on pages of their own. Created once at start-up
// and embedded into the main window's decisionPanel.
class DecisionsWorkspace : public TopicWorkspace
{
    Q_OBJECT
public:
    DecisionsWorkspace(const DataFolder &dataFolder, const Services &services, QWidget *parent = nullptr);

    QLabel *Label10;
    // The header strip over the two columns (not the main window's host
    // panel of the same name).
    QWidget *decisionPanel;
    QLabel *Label1;
    QLabel *againstLabel;
    QWidget *Shape2;

    QStackedWidget *pgProject;
    // Picks the page of pgProject; the first page is the two columns.
    QTabBar *pgProjectTabs;
    QWidget *TabSheet5;
    QWidget *TabSheet7;
    QWidget *TabSheet11;
    QWidget *TabSheet6;
    QWidget *Tabsheet9;
    QWidget *TabSheet10;

    LineNumberEdit *plus;
    SplitterBar *editSplitter;
    LineNumberEdit *minus;
    QWidget *Panel2;
    QLabel *Label2;
    QPlainTextEdit *made;
    QPlainTextEdit *Done;
    QPlainTextEdit *nextStep;
    QWidget *Panel10;
    QLabel *Label3;
    QToolButton *SpeedButton1;
    QPlainTextEdit *Links;
    QPlainTextEdit *Other;

    // Sets the size and puts the split back at half the page width.
    void resizeTo(int width, int height) override;
    void editSplitterMoved();
    void pgProjectChange();
    // Open the line clicked, or the caret's line, with the desktop.
    void linksDblClick(const QPoint &viewportPos);
    void SpeedButton1Click();

protected:
    void layoutWritePanel() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutColumns();
    int againstLabelLeast() const;
    void dragSplitterTo(int left);
    void openLink(const QString &line);

    const DataFolder &m_dataFolder;
    // Page of pgProject shown by each tab.
    QList<int> m_tabPages;
};
