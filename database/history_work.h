#pragma once
// The part of a rebuild that the tray menu need not wait for (saving the
// list, deleting the reports, sweeping the Undo Bin, letting the monitors
// log again, building the derived lists) runs on one background thread, in
// the order it was posted.
// That work reads actionList and the bin, so the main thread waits for it
// before it changes either, and before the program ends.

#include <functional>

void postHistoryWork(std::function<void()> job);

// Returns once all history work posted so far is done. Never from that work.
void waitForHistoryWork();

// waitForHistoryWork for a rebuild that saves, sweeps and lists again
// itself: the work posted so far may give up what it has not finished of
// those, so that a click does not wait for work it redoes.
void supersedeHistoryWork();

// Asked by that work between its steps: true while a rebuild waits to redo it.
bool historyWorkSuperseded();

// The work posted from now on waits until releaseHistoryWork or the next
// wait for it, so that it does not slow the tray menu down while it shows.
void holdHistoryWork();
void releaseHistoryWork();
