#pragma once

#include "ui/platform/services.h"
#include "core/tracker/alarmrule.h"
#include "core/tracker/listviewstream.h"

#include <QObject>
#include <QSet>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The tracker's two alarm lists with their clock and sounds. Builds its
// controls on the tracker's pages "Go to Bed" (bed times, bed sounds) and
// "Feeding Alarm" (feeding times, feeding sounds, Stop and Snooze). The
// lists belong to the tracker's bound project folder: loadLists and
// saveLists are the alarm steps of the tracker's binding and saving.
class AlarmPages : public QObject
{
    Q_OBJECT
public:
    AlarmPages(QWidget *bedPage, QWidget *feedPage, const Services &services,
            QWidget *owner = nullptr);
    ~AlarmPages() override;

    // Binding: both lists from "bedtimes.txt" and "wakeuptimes.txt" in the
    // folder, or emptied where a file is missing. A damaged file loads
    // what can be read and is copied aside before it is next written.
    void loadLists(const QString &trackedFolder);
    // Saving: both lists to their files. False when one could not be
    // written (the reason was shown).
    bool saveLists();
    // Writes the lists changed since they were loaded or last written (a
    // ticked or unticked entry, a list read in an older form); an
    // untouched list is not written. The reason, not shown, when one could
    // not be written; it stays changed.
    Result saveEditedLists();
    bool isEdited(const QTreeWidget *list) const { return m_edited.contains(list); }
    // The folder the lists were loaded from, ending with "/"; empty before
    // the first binding.
    QString trackedFolder() const { return m_trackedFolder; }

    // Draws the sleep cycle of the clicked bed time.
    void showEntryCycle();

    // The clock and the sounds.
    // One tick of the alarm clock: rings the entries due now.
    void checkAlarms();
    void stopAlarm();
    // The snooze time is over: the snoozed alarm rings again.
    void ringSnoozedAlarm();
    // Starts the alarm clock; it runs for the rest of the run.
    void startClock();
    // True while an alarm rings (shown, with or without a sound).
    bool isRinging() const { return m_ringing != Source::None; }
    // The entry that rings, or null.
    QTreeWidgetItem *ringingEntry() const;

    // The entries of a list as the clock reads them.
    static QList<AlarmEntry> entriesOf(const QTreeWidget *list);
    static ListViewData listData(const QTreeWidget *list, bool checkBoxes);

    // The two pages the lists and their buttons are placed on.
    QList<QWidget *> pages() const { return {m_bedPage, m_feedPage}; }
    // True when a list was changed since it was loaded or last written.
    bool hasEditedLists() const { return !m_edited.isEmpty(); }

    QTimer *alarmClock;
    QTimer *snoozeTimer;

    // The clock's tick counter.
    AlarmTicker ticker;
    // The file name of the sound last asked for ("Rain.wav").
    QString soundFile;
    // Where the wave files are looked for, ending with "/"; empty: nowhere.
    QString soundFolder;

    static constexpr int clockInterval = 59000;
    static constexpr int snoozeInterval = 5 * 60 * 1000;

Q_SIGNALS:
    // A bed time was clicked: draw the sleep cycle from that moment.
    void sleepCycleRequested(double hours, double start);

private Q_SLOTS:
    void addBedTime();
    void deleteBedTime();
    void addFeedTime();
    void deleteFeedTime();
    void playBedSound();
    void playFeedSound();
    void snoozeAlarm();

private:
    enum class Source { None, Bed, Feed };

    void buildBedPage(QWidget *page);
    void buildFeedPage(QWidget *page);
    QTreeWidget *makeList(const QString &name, const QString &column, QWidget *parent);
    void addEntry(QTreeWidget *list, const QString &fileName);
    void deleteEntry(QTreeWidget *list, const QString &fileName);
    void loadList(QTreeWidget *list, const QString &fileName);
    // Writes the list; a list that could not be written stays changed.
    Result saveList(QTreeWidget *list, const QString &fileName);
    // saveList, showing the reason when it fails.
    bool saveListReporting(QTreeWidget *list, const QString &fileName);
    void entryChanged(QTreeWidgetItem *item);
    // An alarm rings: the entry is highlighted and the user is shown it.
    void ring(Source source, QTreeWidgetItem *entry);
    void endRinging();
    void setHighlight(QTreeWidgetItem *entry, bool on);
    void setEntries(QTreeWidget *list, const ListViewData &data);
    void playFile(const QString &fileName, Source source, bool allowSilence);
    void stopSound();

    Services m_services;
    QWidget *m_owner;
    QWidget *m_bedPage;
    QWidget *m_feedPage;
    QTreeWidget *m_listBedTimes;
    QTreeWidget *m_listWakeUp;
    QPushButton *m_addBedButton;
    QPushButton *m_deleteBedButton;
    QPushButton *m_addFeedButton;
    QPushButton *m_deleteFeedButton;
    QComboBox *m_bedSound;
    QPushButton *m_bedPlayButton;
    QPushButton *m_stopSoundButton;
    QComboBox *m_feedSound;
    QPushButton *m_feedPlayButton;
    QPushButton *m_alarmStopButton;
    QPushButton *m_alarmSnoozeButton;
    QString m_trackedFolder;
    // Whether each list shows check boxes (as its file says).
    QHash<const QTreeWidget *, bool> m_checkBoxes;
    // Files that did not read cleanly and are copied aside before the
    // next write over them.
    QSet<QString> m_damaged;
    // Lists changed since they were loaded or written.
    QSet<const QTreeWidget *> m_edited;
    // Set while the program itself changes entries.
    bool m_updating = false;
    Source m_playing = Source::None;
    Source m_snoozed = Source::None;
    Source m_ringing = Source::None;
    QString m_ringTitle;
    QString m_ringText;
};
