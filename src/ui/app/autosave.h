#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

// Saves without being asked: watches the input that reaches a window (keys,
// input methods, drops, mouse buttons) and calls the save function after a
// short pause in it, and at the latest a while after the first unsaved
// input when the input never pauses. The save function decides what is
// worth writing: input that changed nothing costs a check, not a write.
class AutoSave : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPauseMs = 3000;
    static constexpr int kLongestWaitMs = 60000;

    // Watches every widget of the window, its dialogs and menus included.
    AutoSave(QWidget *window, std::function<void()> save, QObject *parent = nullptr);
    ~AutoSave() override;

    void setIntervals(int pauseMs, int longestWaitMs);
    // Input that came another way (a menu command that edits).
    void noteInput();
    // True while input waits for its save.
    bool isPending() const { return m_pause.isActive() || m_longest.isActive(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void saveNow();
    bool belongsToWindow(QObject *object) const;

    QWidget *m_window;
    std::function<void()> m_save;
    QTimer m_pause;
    QTimer m_longest;
};
