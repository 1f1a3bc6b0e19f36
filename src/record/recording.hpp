// Turning recorded input into macro commands: clicks, typed text in the key notation, waits.
#pragma once

#include <string>
#include <vector>

#include "platform/input_recorder.hpp"

namespace mavorin {

struct RecordOptions {
    std::string stop = "ESC";  // a name of the abort hot-key list
    int jitter_pct = -1;       // a wait range of +-PCT around each gap; negative: exact waits
    bool waits = true;
    int moves_ms = 0;  // a pointer position every MS while it moves; 0: none
};

// The pause of a recorded macro's settings. Each command costs it plus the wait for the next
// 10 ms driver tick, which is 0 or 10 ms by the timers' phase: 5 on average.
inline constexpr int kRecordedPauseMs = 10;
inline constexpr int kCommandCostMs = kRecordedPauseMs + 5;
// Typing a character that is not on the keyboard map waits this long before and after the keys
// while a spare key is mapped to it.
inline constexpr int kRemapSettleMs = 20;
// Keys further apart than this start a new text command.
inline constexpr int kTextGapMs = 1000;
// A button released this far from where it went down was dragged.
inline constexpr int kDragPixels = 5;

struct Recording {
    std::vector<std::string> records;  // the commands, without the settings record
    int clicks = 0, texts = 0, waits = 0, moves = 0, drags = 0;
    std::string left_out;  // characters a record cannot hold, as typed
};

Recording convert_recording(const std::vector<RecordedInput>& input, const RecordOptions& options);
// "code:|000|wait:|10|loop:|0|start:|no|stop:|KEY|".
std::string recorded_settings(const RecordOptions& options);
// One line: what was recorded, what was left out, how drags were kept.
std::string recording_summary(const Recording& r);
// The virtual-key code of an abort hot-key name; 0 when the list has no such name.
int abort_key_vk(const std::string& name);

}  // namespace mavorin
