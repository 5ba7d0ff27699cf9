#pragma once

class IClock;
class IShell;
class IDialogs;
class IPrinting;
class ISound;
class IAlarmNotifier;

// The seams to the outside world, handed from the program entry (or a
// test) to the main window and on to every form that needs one. Every
// pointer is set (the program passes the real implementations, tests pass
// fakes); none is owned, and all outlive the forms.
struct Services
{
    IClock *clock = nullptr;
    IShell *shell = nullptr;
    IDialogs *dialogs = nullptr;
    // Print jobs: the printer set up through "Printer Setup", or a PDF
    // file when there is none.
    IPrinting *printing = nullptr;
    // The alarm sounds.
    ISound *sound = nullptr;
    // Shows a ringing alarm with "Snooze" and "Stop".
    IAlarmNotifier *alarmNotifier = nullptr;
};
