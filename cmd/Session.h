#pragma once

class CCommandRun;

// Interrupts the run, as a close of Ortelan's window ends it, on Ctrl+C,
// Ctrl+Break, the console window's close, logoff and shutdown. Windows tells
// a console program that loads user32, as this one does, of logoff and
// shutdown only through its top-level windows, so a hidden one on a thread
// of its own is told instead. Everything is released and deleted before the
// system is answered: it may end the process at once after.
void WatchSession(CCommandRun& run);

// No later event reaches the run; after this it may go.
void StopWatchingSession();
