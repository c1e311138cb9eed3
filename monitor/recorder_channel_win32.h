#pragma once
// Retrace and its change recorder, retrace-recorder.exe, which does the
// monitor drivers' work from user mode where no driver opens. They meet
// through named objects of the user's session: the recorder holds a mutex
// while it runs and waits on request events; each request has an answer
// event the recorder sets once it has done what was asked.

#include <string>

#include "monitor/recorder_counts.h"

inline constexpr const char* recorderProgramName = "retrace-recorder.exe";
inline constexpr const char* recorderRunningName = "Local\\RetraceRecorder.Running";
inline constexpr const char* recorderStopName = "Local\\RetraceRecorder.Stop";
inline constexpr const char* recorderStoppedName = "Local\\RetraceRecorder.Stopped";
inline constexpr const char* recorderStartName = "Local\\RetraceRecorder.Start";
inline constexpr const char* recorderStartedName = "Local\\RetraceRecorder.Started";
inline constexpr const char* recorderQuitName = "Local\\RetraceRecorder.Quit";

// Whether a recorder runs in this session.
bool recorderRunning();

enum class RecorderRequest { Stop, Start, Quit };

// Asks the running recorder and waits for its answer, at most
// `milliseconds`: a recorder that hangs must not hold Retrace. False when
// no recorder runs or none answered in time. Quit is not answered.
bool askRecorder(RecorderRequest request, unsigned milliseconds = 2000);

// Asks the running recorder to end and waits until it has, at most
// `milliseconds`, so that its program file can be replaced or removed; true
// when none runs any more.
bool endRecorder(unsigned milliseconds = 10000);

// Starts the recorder that lies beside `programPath` unless one runs, and
// waits until it has set up and takes requests; false when there is none to
// start or it did not come up in time.
bool startRecorderBeside(const std::string& programPath);

// The recorder's counts of what it could not capture whole; nothing when no
// recorder has run for this user.
bool readRecorderCounts(RecorderCounts& counts);
