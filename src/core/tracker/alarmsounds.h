#pragma once

#include <QString>
#include <QStringList>

// The alarm sounds: the items of the two sound choices and where their
// wave files are found. A sound's file is its name followed by ".wav";
// "Silence" has none.
namespace AlarmSounds {

QStringList bedSounds();  // "Silence", "Wind", "Rain", ...
QStringList feedSounds(); // "Silence", "DrinkGulp", "BabyCrying", ...

// The first of these folders that exists, with a trailing "/":
//   <program folder>/sounds/               a portable install or a build
//   <program folder>/../share/vellumark/sounds/   a system install
//   the source tree's sounds/ folder (builtIn)    running from a build folder
// Empty when none exists (then no sound plays).
QString findFolder(const QString &programDir, const QString &builtIn);

} // namespace AlarmSounds
