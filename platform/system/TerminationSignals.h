// SIGTERM, SIGINT and SIGHUP as requests to close rather than a sudden end: they stay blocked in every
// thread and a thread of their own reads them from a signalfd, so no signal handler ever runs and whatever
// the request leads to runs as ordinary code.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>

// Blocks the three in the calling thread; call it early in main, before any thread starts, so that every
// thread inherits the mask (a signal that finds one thread not blocking it ends the process there).
void BlockTerminationSignalsInThisThread();

class TerminationSignalWatcher {
public:
    // Starts the thread; `onSignal` runs on it with the number of each signal taken.
    TerminationSignalWatcher(std::initializer_list<int> signals, std::function<void(int signo)> onSignal);
    // Stops and joins the thread; signals that come later stay pending (blocked) until the process ends.
    ~TerminationSignalWatcher();
    TerminationSignalWatcher(const TerminationSignalWatcher&) = delete;
    TerminationSignalWatcher& operator=(const TerminationSignalWatcher&) = delete;

    // Takes one more signal from now on (SIGTERM, when the service dispatcher that would have taken it as
    // the stop could not start).
    void Take(int signo);
    // The watcher thread's id, for a signal aimed at that thread alone (tgkill).
    int ThreadId() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
