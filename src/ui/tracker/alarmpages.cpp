#include "ui/tracker/alarmpages.h"

#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "ui/platform/alarmnotifier.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/platform/sound.h"
#include "core/tracker/alarmsounds.h"
#include "ui/tracker/alarmsetdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDateEdit>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QTreeWidget>

// VELLUMARK_SOURCE_SOUNDS: the sounds of the source tree (generated).
#include "sourcetree.h"

namespace {

const QString BedFile = QStringLiteral("bedtimes.txt");
const QString FeedFile = QStringLiteral("wakeuptimes.txt");
constexpr int SubItemsRole = Qt::UserRole;
constexpr int RingingRole = Qt::UserRole + 1;
const QColor RingingColour(0xFF, 0xD8, 0x6E);

template <typename W>
W *named(W *widget, const QString &name, const QString &spoken)
{
    widget->setObjectName(name);
    widget->setAccessibleName(spoken);
    return widget;
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    return named(new QPushButton(caption, parent), name, caption);
}

QLabel *label(const QString &text, const QFont &font, QWidget *parent)
{
    return fittedLabel(text, font, parent);
}

} // namespace

AlarmPages::AlarmPages(QWidget *bedPage, QWidget *feedPage, const Services &services, QWidget *owner)
    : QObject(owner), m_services(services), m_owner(owner), m_bedPage(bedPage), m_feedPage(feedPage)
{
    soundFolder = AlarmSounds::findFolder(QCoreApplication::applicationDirPath(),
                                          QStringLiteral(VELLUMARK_SOURCE_SOUNDS));
    buildBedPage(bedPage);
    buildFeedPage(feedPage);

    alarmClock = new QTimer(this);
    alarmClock->setObjectName(QStringLiteral("Clock"));
    alarmClock->setInterval(clockInterval);
    connect(alarmClock, &QTimer::timeout, this, &AlarmPages::checkAlarms);
    snoozeTimer = new QTimer(this);
    snoozeTimer->setObjectName(QStringLiteral("Alarm_Snooze"));
    snoozeTimer->setInterval(snoozeInterval);
    connect(snoozeTimer, &QTimer::timeout, this, &AlarmPages::ringSnoozedAlarm);
    connect(m_services.alarmNotifier, &IAlarmNotifier::stopRequested, this,
            &AlarmPages::stopAlarm);
    connect(m_services.alarmNotifier, &IAlarmNotifier::snoozeRequested, this,
            &AlarmPages::snoozeAlarm);
    startClock();
}

AlarmPages::~AlarmPages()
{
    if (m_playing != Source::None)
        m_services.sound->stop();
    if (m_ringing != Source::None)
        m_services.alarmNotifier->closeAlarm();
}

QTreeWidget *AlarmPages::makeList(const QString &name, const QString &column, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(1);
    list->setHeaderLabels({column});
    list->setColumnWidth(0, 285);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformRowHeights(true);
    // A long date keeps its time in view: the middle of the caption gives
    // way, and the whole caption is the entry's tooltip.
    list->setTextElideMode(Qt::ElideMiddle);
    m_checkBoxes.insert(list, true);
    connect(list, &QTreeWidget::itemChanged, this, &AlarmPages::entryChanged);
    connect(list, &QTreeWidget::clicked, this, &AlarmPages::showEntryCycle);
    connect(list, &QTreeWidget::activated, this, &AlarmPages::showEntryCycle);
    return list;
}

void AlarmPages::buildBedPage(QWidget *page)
{
    // The sleep-cycle chart takes the top of this page; the list and the
    // sounds sit below it.
    constexpr int top = 215;
    auto *picture = new SvgPicture(QStringLiteral(":/icons/moon.svg"), page);
    picture->setGeometry(8, top + 2, 26, 26);
    QLabel *heading = label(tr("Bed Times"), pixelFont(QStringLiteral("Arial"), 24, FontStyle::Bold), page);
    heading->setObjectName(QStringLiteral("Label_BedTimes"));
    heading->move(40, top);
    m_listBedTimes = makeList(QStringLiteral("List_BedTimes"), tr("Go to Bed"), page);
    m_listBedTimes->setAccessibleName(tr("Bed Times"));
    m_listBedTimes->setGeometry(8, top + 36, 291, 150);
    heading->setBuddy(m_listBedTimes);
    m_addBedButton = button(QStringLiteral("Button3"), tr("Add"), page);
    m_addBedButton->setAccessibleName(tr("Add bed time"));
    m_addBedButton->setGeometry(8, top + 192, 90, 28);
    m_deleteBedButton = button(QStringLiteral("Button4"), tr("Delete"), page);
    m_deleteBedButton->setAccessibleName(tr("Delete bed time"));
    m_deleteBedButton->setGeometry(106, top + 192, 90, 28);

    QLabel *caption = label(tr("Go to bed to the sound of"), pixelFont(QStringLiteral("Arial"), 13),
                            page);
    caption->move(330, top + 8);
    m_bedSound = named(new QComboBox(page), QStringLiteral("Bed_Sound"),
                      tr("Go to bed to the sound of"));
    m_bedSound->addItems(AlarmSounds::bedSounds());
    m_bedSound->setFont(pixelFont(QStringLiteral("Arial"), 21, FontStyle::Bold));
    m_bedSound->setGeometry(330, top + 32, 260, 36);
    caption->setBuddy(m_bedSound);
    m_bedPlayButton = button(QStringLiteral("Bed_Play"), tr("Play"), page);
    m_bedPlayButton->setAccessibleName(tr("Play bed sound"));
    m_bedPlayButton->setGeometry(330, top + 78, 90, 28);
    m_stopSoundButton = button(QStringLiteral("Button2"), tr("Stop"), page);
    m_stopSoundButton->setAccessibleName(tr("Stop sound"));
    m_stopSoundButton->setGeometry(428, top + 78, 90, 28);

    connect(m_addBedButton, &QPushButton::clicked, this, &AlarmPages::addBedTime);
    connect(m_deleteBedButton, &QPushButton::clicked, this, &AlarmPages::deleteBedTime);
    connect(m_bedPlayButton, &QPushButton::clicked, this, &AlarmPages::playBedSound);
    connect(m_stopSoundButton, &QPushButton::clicked, this, &AlarmPages::stopAlarm);
}

void AlarmPages::buildFeedPage(QWidget *page)
{
    auto *frame = new QFrame(page);
    frame->setObjectName(QStringLiteral("FeedFrame"));
    frame->setGeometry(8, 8, 311, 268);
    frame->setStyleSheet(QStringLiteral("QFrame#FeedFrame { border: 1px solid #C0C0C0; }"));
    QLabel *heading = label(tr("Feeding Times"), pixelFont(QStringLiteral("Arial"), 19, FontStyle::Bold),
                            frame);
    heading->setObjectName(QStringLiteral("Label_FeedingTimes"));
    heading->move(10, 8);
    m_listWakeUp = makeList(QStringLiteral("List_WakeUp"), tr("Get up"), frame);
    m_listWakeUp->setAccessibleName(tr("Feeding Times"));
    m_listWakeUp->setGeometry(10, 40, 291, 180);
    heading->setBuddy(m_listWakeUp);
    m_addFeedButton = button(QStringLiteral("Button5"), tr("Add"), frame);
    m_addFeedButton->setAccessibleName(tr("Add feeding time"));
    m_addFeedButton->setGeometry(10, 228, 90, 28);
    m_deleteFeedButton = button(QStringLiteral("Button6"), tr("Delete"), frame);
    m_deleteFeedButton->setAccessibleName(tr("Delete feeding time"));
    m_deleteFeedButton->setGeometry(108, 228, 90, 28);

    auto *picture = new SvgPicture(QStringLiteral(":/icons/bottle.svg"), page);
    picture->setGeometry(326, 16, 30, 60);
    QLabel *caption = label(tr("When it's time to feed, play this sound"),
                            pixelFont(QStringLiteral("Arial"), 13), page);
    caption->move(362, 16);
    m_feedSound = named(new QComboBox(page), QStringLiteral("feed_Sound"),
                       tr("When it's time to feed, play this sound"));
    m_feedSound->addItems(AlarmSounds::feedSounds());
    m_feedSound->setFont(pixelFont(QStringLiteral("Arial"), 21));
    m_feedSound->setGeometry(362, 40, 200, 36);
    caption->setBuddy(m_feedSound);
    m_feedPlayButton = button(QStringLiteral("wakeup_play"), tr("Play"), page);
    m_feedPlayButton->setAccessibleName(tr("Play feeding sound"));
    m_feedPlayButton->setGeometry(570, 44, 72, 28);
    m_alarmStopButton = button(QStringLiteral("Alarm_StopButton"), tr("Stop"), page);
    m_alarmStopButton->setFont(pixelFont(QStringLiteral("Arial"), 21));
    m_alarmStopButton->setGeometry(362, 96, 136, 64);
    m_alarmSnoozeButton = button(QStringLiteral("Alarm_SnoozeButton"), tr("Snooze"), page);
    m_alarmSnoozeButton->setFont(pixelFont(QStringLiteral("Arial"), 21));
    m_alarmSnoozeButton->setToolTip(tr("Snooze 5 Minutes"));
    m_alarmSnoozeButton->setAccessibleDescription(tr("Snooze 5 Minutes"));
    m_alarmSnoozeButton->setGeometry(506, 96, 136, 64);

    connect(m_addFeedButton, &QPushButton::clicked, this, &AlarmPages::addFeedTime);
    connect(m_deleteFeedButton, &QPushButton::clicked, this, &AlarmPages::deleteFeedTime);
    connect(m_feedPlayButton, &QPushButton::clicked, this, &AlarmPages::playFeedSound);
    connect(m_alarmStopButton, &QPushButton::clicked, this, &AlarmPages::stopAlarm);
    connect(m_alarmSnoozeButton, &QPushButton::clicked, this, &AlarmPages::snoozeAlarm);
}

// Binding and saving ------------------------------------------------------

void AlarmPages::loadLists(const QString &trackedFolder)
{
    m_trackedFolder = trackedFolder;
    loadList(m_listBedTimes, BedFile);
    loadList(m_listWakeUp, FeedFile);
}

bool AlarmPages::saveLists()
{
    const bool bed = saveListReporting(m_listBedTimes, BedFile);
    const bool feed = saveListReporting(m_listWakeUp, FeedFile);
    return bed && feed;
}

Result AlarmPages::saveEditedLists()
{
    QStringList errors;
    for (auto [list, fileName] : {std::pair{m_listBedTimes, BedFile}, std::pair{m_listWakeUp, FeedFile}}) {
        if (!m_edited.contains(list))
            continue;
        const Result saved = saveList(list, fileName);
        if (!saved)
            errors.append(saved.error);
    }
    if (!errors.isEmpty())
        return Result::failure(errors.join(QLatin1Char('\n')));
    return Result::success();
}

void AlarmPages::entryChanged(QTreeWidgetItem *item)
{
    if (m_updating || !item)
        return;
    // A ticked or unticked entry is written by the next save of the
    // tracker, the autosave or the close sequence.
    if (QTreeWidget *list = item->treeWidget())
        m_edited.insert(list);
}

void AlarmPages::loadList(QTreeWidget *list, const QString &fileName)
{
    const QString path = m_trackedFolder + fileName;
    m_edited.remove(list);
    if (m_trackedFolder.isEmpty() || !TextFile::entryExists(path)) {
        m_damaged.remove(path);
        setEntries(list, ListViewData{});
        return;
    }
    ListViewData data;
    const ListViewLoad load = loadListView(&data, path);
    // Entries written in the locale's form are written back in the fixed
    // form at the next save.
    bool older = false;
    for (ListViewItem &item : data.items)
        older = AlarmRule::toStoredForm(&item) || older;
    if (older)
        m_edited.insert(list);
    setEntries(list, data);
    if (load.clean) {
        m_damaged.remove(path);
        return;
    }
    m_damaged.insert(path);
    m_services.dialogs->error(
        m_owner, load.error
                     + tr("\nThe entries that could be read are shown. Before the list is "
                          "saved again, the file is kept as a copy beside it."));
}

Result AlarmPages::saveList(QTreeWidget *list, const QString &fileName)
{
    // An unbound tracker has no folder to write into.
    if (m_trackedFolder.isEmpty())
        return Result::success();
    const auto fail = [&](const QString &text) {
        m_edited.insert(list);
        return Result::failure(text);
    };
    const QString path = m_trackedFolder + fileName;
    if (m_damaged.contains(path) && TextFile::entryExists(path)) {
        const Expected<QString> copy = keepDamagedCopy(path);
        if (!copy)
            return fail(copy.error + tr("\nThe list was not saved."));
    }
    m_damaged.remove(path);
    const WriteResult result = saveListView(listData(list, m_checkBoxes.value(list, true)), path);
    if (!result.ok)
        return fail(result.error);
    m_edited.remove(list);
    return Result::success();
}

bool AlarmPages::saveListReporting(QTreeWidget *list, const QString &fileName)
{
    const Result saved = saveList(list, fileName);
    if (!saved)
        m_services.dialogs->error(m_owner, saved.error);
    return saved.ok;
}

void AlarmPages::setEntries(QTreeWidget *list, const ListViewData &data)
{
    const QScopedValueRollback<bool> quiet(m_updating, true);
    if (list->topLevelItemCount() > 0 && ringingEntry() && ringingEntry()->treeWidget() == list)
        endRinging();
    list->clear();
    m_checkBoxes.insert(list, data.checkBoxes);
    QList<QTreeWidgetItem *> items;
    items.reserve(data.items.size());
    for (const ListViewItem &entry : data.items) {
        auto *item = new QTreeWidgetItem(QStringList{entry.caption});
        item->setToolTip(0, entry.caption);
        item->setData(0, SubItemsRole, entry.subItems);
        if (data.checkBoxes)
            item->setCheckState(0, entry.checked ? Qt::Checked : Qt::Unchecked);
        else
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        items.append(item);
    }
    // One insertion, one redraw.
    list->addTopLevelItems(items);
}

ListViewData AlarmPages::listData(const QTreeWidget *list, bool checkBoxes)
{
    ListViewData data;
    data.checkBoxes = checkBoxes;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        data.items.append(ListViewItem{checkBoxes && item->checkState(0) == Qt::Checked,
                                       item->text(0),
                                       item->data(0, SubItemsRole).toStringList()});
    }
    return data;
}

QList<AlarmEntry> AlarmPages::entriesOf(const QTreeWidget *list)
{
    QList<AlarmEntry> entries;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        const QStringList subs = item->data(0, SubItemsRole).toStringList();
        const QVariant check = item->data(0, Qt::CheckStateRole);
        entries.append(AlarmEntry{check.isValid() && item->checkState(0) == Qt::Checked,
                                  subs.value(0), subs.value(1)});
    }
    return entries;
}

// Adding, deleting, clicking ------------------------------------------------

void AlarmPages::addBedTime()
{
    addEntry(m_listBedTimes, BedFile);
}

void AlarmPages::addFeedTime()
{
    addEntry(m_listWakeUp, FeedFile);
}

void AlarmPages::deleteBedTime()
{
    deleteEntry(m_listBedTimes, BedFile);
}

void AlarmPages::deleteFeedTime()
{
    deleteEntry(m_listWakeUp, FeedFile);
}

void AlarmPages::addEntry(QTreeWidget *list, const QString &fileName)
{
    AlarmSetDialog dialog(m_services.clock, m_owner);
    const int answer = m_services.dialogs->execForm(&dialog);
    if (answer == QDialog::Accepted) {
        const double value = dialog.timeValue();
        const QString timeText = AlarmRule::formatTime(value);
        QString schedule = QStringLiteral("Daily");
        if (dialog.repeat() == AlarmSetDialog::Repeat::Weekly) {
            schedule = AlarmRule::weeklySchedule(dialog.weekdays());
            if (schedule.isEmpty()) {
                m_services.dialogs->message(m_owner, tr("No Days of the Week Selected"));
                return;
            }
        }
        if (dialog.repeat() == AlarmSetDialog::Repeat::FixedDate)
            schedule = AlarmRule::fixedDateSchedule(dialog.fixedDay());

        const QString caption = AlarmRule::caption(schedule, timeText);
        auto *item = new QTreeWidgetItem(QStringList{caption});
        item->setToolTip(0, caption);
        item->setData(0, SubItemsRole,
                      QStringList{schedule, AlarmRule::timeValueText(value)});
        if (m_checkBoxes.value(list, true))
            item->setCheckState(0, Qt::Checked);
        const QScopedValueRollback<bool> quiet(m_updating, true);
        list->insertTopLevelItem(0, item);
        list->setCurrentItem(item);
    }
    // Written either way: a cancelled dialog rewrites the unchanged list.
    saveListReporting(list, fileName);
}

void AlarmPages::deleteEntry(QTreeWidget *list, const QString &fileName)
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty()) {
        m_services.dialogs->message(m_owner, tr("Select the alarm to delete first."));
        saveListReporting(list, fileName);
        return;
    }
    if (selected.first() == ringingEntry())
        stopAlarm();
    {
        const QScopedValueRollback<bool> quiet(m_updating, true);
        delete selected.first();
        // The next entry is not chosen in its place: a second Delete must
        // not remove an alarm the user never picked.
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
    saveListReporting(list, fileName);
}

void AlarmPages::showEntryCycle()
{
    const QList<QTreeWidgetItem *> selected = m_listBedTimes->selectedItems();
    if (selected.isEmpty())
        return;
    const QStringList subs = selected.first()->data(0, SubItemsRole).toStringList();
    Q_EMIT sleepCycleRequested(7.5, AlarmRule::parseTimeValue(subs.value(1)));
}

// The clock and the sounds ----------------------------------------------------

void AlarmPages::startClock()
{
    if (!alarmClock->isActive())
        alarmClock->start();
}

void AlarmPages::checkAlarms()
{
    const QDateTime now = m_services.clock->now();
    const AlarmTicker::Actions actions =
        ticker.tick(entriesOf(m_listBedTimes), entriesOf(m_listWakeUp), now);
    if (actions.playBed) {
        playBedSound();
        ring(Source::Bed, m_listBedTimes->topLevelItem(actions.bedEntry));
    }
    if (actions.playFeed) {
        playFeedSound();
        ring(Source::Feed, m_listWakeUp->topLevelItem(actions.feedEntry));
    }
    if (actions.stop) {
        stopSound();
        endRinging();
    }
}

QTreeWidgetItem *AlarmPages::ringingEntry() const
{
    for (const QTreeWidget *list : {m_listBedTimes, m_listWakeUp}) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->data(0, RingingRole).toBool())
                return list->topLevelItem(i);
        }
    }
    return nullptr;
}

void AlarmPages::setHighlight(QTreeWidgetItem *entry, bool on)
{
    const QScopedValueRollback<bool> quiet(m_updating, true);
    QFont font = entry->font(0);
    font.setBold(on);
    entry->setFont(0, font);
    entry->setData(0, RingingRole, on ? QVariant(true) : QVariant());
    entry->setBackground(0, on ? QBrush(RingingColour) : QBrush());
}

void AlarmPages::ring(Source source, QTreeWidgetItem *entry)
{
    QTreeWidgetItem *before = ringingEntry();
    const bool again = m_ringing == source && entry && before == entry;
    if (before && before != entry)
        setHighlight(before, false);
    m_ringing = source;
    if (entry) {
        setHighlight(entry, true);
        entry->treeWidget()->scrollToItem(entry);
        const QStringList subs = entry->data(0, SubItemsRole).toStringList();
        const QString time = AlarmRule::formatTime(AlarmRule::parseTimeValue(subs.value(1)), QLocale());
        const QString project = QDir(m_trackedFolder).dirName();
        m_ringTitle = (source == Source::Bed ? tr("Bed time at %1") : tr("Feeding time at %1")).arg(time);
        m_ringText = project.isEmpty() ? entry->text(0)
                                       : tr("%1: %2").arg(project, entry->text(0));
    }
    if (m_ringTitle.isEmpty())
        m_ringTitle = tr("Alarm");
    // A second matching tick in the same minute rings on, shown once.
    if (again)
        return;
    m_services.alarmNotifier->showAlarm(m_ringTitle, m_ringText);
}

void AlarmPages::endRinging()
{
    if (QTreeWidgetItem *entry = ringingEntry())
        setHighlight(entry, false);
    if (m_ringing == Source::None)
        return;
    m_ringing = Source::None;
    m_services.alarmNotifier->closeAlarm();
}

void AlarmPages::playBedSound()
{
    stopSound();
    soundFile = m_bedSound->currentText() + QStringLiteral(".wav");
    playFile(soundFile, Source::Bed, false);
}

void AlarmPages::playFeedSound()
{
    stopSound();
    soundFile = m_feedSound->currentText() + QStringLiteral(".wav");
    playFile(soundFile, Source::Feed, true);
}

void AlarmPages::playFile(const QString &fileName, Source source, bool allowSilence)
{
    if (!allowSilence && fileName == QLatin1String("Silence.wav"))
        return;
    if (soundFolder.isEmpty())
        return;
    const QString path = soundFolder + fileName;
    if (!QFileInfo(path).isFile())
        return;
    m_services.sound->playLooping(path);
    m_playing = source;
}

void AlarmPages::stopSound()
{
    m_services.sound->stop();
    m_playing = Source::None;
}

void AlarmPages::stopAlarm()
{
    stopSound();
    endRinging();
    snoozeTimer->stop();
    m_snoozed = Source::None;
}

void AlarmPages::snoozeAlarm()
{
    // Only an alarm that was ringing, or a sound that was playing, comes
    // back; a silent alarm rings again all the same.
    m_snoozed = m_ringing != Source::None ? m_ringing : m_playing;
    stopSound();
    endRinging();
    snoozeTimer->start();
}

void AlarmPages::ringSnoozedAlarm()
{
    snoozeTimer->stop();
    const Source again = m_snoozed;
    m_snoozed = Source::None;
    if (again == Source::Bed)
        playBedSound();
    else if (again == Source::Feed)
        playFeedSound();
    else
        return;
    ring(again, nullptr);
    // It rings like an alarm: the tick counter ends it if nobody does.
    ticker.fire();
}
