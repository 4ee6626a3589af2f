#pragma once

#include <cstdint>

namespace game {

// The mode bit of TaskParam::flags that every download sets: it downloads into a file.
inline constexpr std::int32_t downloadIntoFile = 0x1000;

// The events a download tells its caller's notify routine (DownloadNotice::event). The
// source is the task for the task's events, the connection's number for a connection's.
// Once per task, when the first reply has told the size and the local file exists:
// value = total size, text = the local file's path.
inline constexpr int eventTotalSize = 3;
// Once, last, however the task ended: value = total size, or the bytes done after a stop.
inline constexpr int eventEnded = 4;
inline constexpr int eventConnectionStarted = 5;
// A connection (re)starts on its part: value = offset it continues at, value2 = part's end.
inline constexpr int eventPartStarted = 6;
inline constexpr int eventPartRestarted = 7;
// value = the offset the connection reached.
inline constexpr int eventConnectionEnded = 8;
// value = bytes a connection stored since its last such event.
inline constexpr int eventBytesArrived = 16;
// The local file exists, asked on the connection's own thread: source = the existing
// file's size, value = total size. The answer is one of the three below.
inline constexpr int eventFileExists = 18;

inline constexpr std::int32_t renameAutomatically = 0;
inline constexpr std::int32_t giveUpDownload = 1;
// The routine has written the path to use into the notice's text.
inline constexpr std::int32_t callerChoseName = 2;

}  // namespace game
