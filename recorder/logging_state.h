#pragma once
// Where the recorder's entries go while Retrace stops and starts logging.
// Retrace folds the reports in and sweeps the bin only once the recorder
// has answered its stop, so the answer must mean that nothing more goes
// into the bin; it comes at once, between two entries, however large the
// batch, and the rest of the batch waits in Staging for the next start.

enum class EntryPlace {
    Bin,      // appended to the reports, saved copies in the bin
    Staging,  // held until logging starts, saved copies in the bin's Staging folder
    Nowhere,  // monitoring is off: not recorded
};

class LoggingState {
public:
    explicit LoggingState(bool enabled) : enabled_(enabled), logging_(enabled) {}

    // Retrace asked to stop; `enabledNow` is the monitoring setting as saved
    // now. Answered as soon as this returns.
    void stop(bool enabledNow) {
        logging_ = false;
        enabled_ = enabledNow;
    }
    // Retrace asked to start: answered once this returns, before what
    // waited is written, which a stop may interrupt again.
    void start() { logging_ = enabled_ = true; }

    bool logging() const { return logging_; }
    EntryPlace place() const { return logging_ ? EntryPlace::Bin : enabled_ ? EntryPlace::Staging : EntryPlace::Nowhere; }

private:
    bool enabled_;
    bool logging_;
};
