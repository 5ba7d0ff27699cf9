#pragma once

class QApplication;

// The program after its QApplication exists: names, command line, the data
// folder (moved out of a build tree once), one program per data folder,
// the main window, the ends of the session (logout, SIGTERM, SIGHUP,
// SIGINT) and the screenshot mode. Returns the exit status.
int runProgram(QApplication &app);

// Sets the names the desktop knows the program by. No display name is set:
// the platform would append it to every window caption.
void nameApplication();

// True when the arguments ask only for --help or --version, which are
// answered on the terminal without a display.
bool asksTheTerminal(int argc, char *argv[]);
// Prints the help or the version and ends the program.
void answerOnTerminal(int argc, char *argv[]);
