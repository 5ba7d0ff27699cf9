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
// by side, the final decision (made), and four further notes ("Done",
// "Next Step", "Links", "Other") on pages of their own. Created once at
// start-up and embedded into the main window's Decisions host panel.
class DecisionsWorkspace : public TopicWorkspace
{
    Q_OBJECT
public:
    DecisionsWorkspace(const DataFolder &dataFolder, const Services &services, QWidget *parent = nullptr);

    // Sets the size and puts the split back at half the page width.
    void resizeTo(int width, int height) override;

protected:
    void showEditorPage(int index) override;
    void layoutWritePanel() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // Keeps "Reasons Against" over the right-hand column.
    void followSplitter();
    // Keeps the tabs and the layout in step with the page shown.
    void pageChanged();
    // Opens the caret's line of the links with the desktop.
    void openCaretLink();

private:
    // Opens the line double-clicked in the links with the desktop.
    void openLinkAt(const QPoint &viewportPos);
    void layoutColumns();
    int againstLabelLeast() const;
    void dragSplitterTo(int left);
    void openLink(const QString &line);

    // The header strip over the two columns.
    QWidget *m_columnHeader;
    QLabel *m_forLabel;
    QLabel *m_againstLabel;

    QStackedWidget *m_pages;
    // Picks the shown page; the first page is the two columns.
    QTabBar *m_pageTabs;
    QWidget *m_reasonsPage;
    QWidget *m_donePage;
    QWidget *m_nextStepPage;
    QWidget *m_linksPage;
    QWidget *m_otherPage;

    LineNumberEdit *m_plus;
    SplitterBar *m_editSplitter;
    LineNumberEdit *m_minus;
    QPlainTextEdit *m_made;
    QPlainTextEdit *m_done;
    QPlainTextEdit *m_nextStep;
    QToolButton *m_openLinkButton;
    QPlainTextEdit *m_links;
    QPlainTextEdit *m_other;
    const DataFolder &m_dataFolder;
    QLabel *m_taglineLabel;
    QWidget *m_headerLine;
    QWidget *m_decisionPage;
    QWidget *m_finalDecisionPanel;
    QLabel *m_finalDecisionLabel;
    QWidget *m_linksStrip;
    QLabel *m_linksHint;
    // Index in pages shown by each tab.
    QList<int> m_tabPages;
};
