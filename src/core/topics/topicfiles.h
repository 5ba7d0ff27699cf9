#pragma once

#include <QString>
#include <QStringList>

// Naming rules and fixed contents shared by the two topic workspaces
// ("My Lists" and "Decisions").
namespace Topics {

// The topic name without the twelve characters " * . / : < > ? [ \ ] | and
// without NUL.
// Everything else stays, blanks and letter case included, so two names
// that differ only in those characters share their files. The result can
// never climb out of the topic folder: both separators and "." are gone.
QString stripTopicName(const QString &topic);

// folder + stripped topic + "_" + editor name + ".txt"; folder ends with "/".
QString topicFileName(const QString &folder, const QString &topic, const QString &editorName);

// A name as typed or pasted, made fit to be a list entry and a line of the
// topics file: line breaks and tabs between two other characters become
// one blank, every other control character (line breaks and tabs at either
// end included) is dropped. Blanks and everything else stay as typed.
QString cleanTopicName(const QString &typed);

// The largest size in bytes, as the file system counts it, of the file
// names (without folder) of the topic for the given editor names.
int longestFileNameBytes(const QString &topic, const QStringList &editorNames);
// File names longer than this are refused by the file systems in use.
constexpr int kMaxFileNameBytes = 255;

// True when the name holds nothing but blanks and control characters;
// such an entry can be listed but is never opened by a click.
bool isBlankTopic(const QString &topic);

// The confirmation asked before a topic is deleted; single quotes inside
// the name are doubled.
QString deleteQuestion(const QString &topic);

// The lines of a line-numbered editor: an empty editor has none, and every
// "\n" starts a new line, so a final empty line survives a save and load.
QStringList editorLines(const QString &text);
QString joinEditorLines(const QStringList &lines);

// The topics each list shows until the user has a topics file, in order.
const QStringList &builtInJournalTopics();
const QStringList &builtInDecisionTopics();

} // namespace Topics
