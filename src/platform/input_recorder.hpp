// Recording the user's input: what a recorder reports, and the recorder a platform may offer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin {

enum class InputKind { key_press, key_release, button_press, button_release, motion };

struct RecordedInput {
    int64_t ms = 0;  // server time; only differences count
    InputKind kind = InputKind::motion;
    // Pointer position at the event (buttons always, motion when paths are recorded).
    int x = 0, y = 0;
    PointerButton button = PointerButton::left;
    // Keys: the key's number, to pair presses with releases and spot a held key.
    int key = 0;
    bool repeat = false;  // a press made by auto-repeat
    // The character the press typed with the keyboard's layout and the modifiers held (UTF-8),
    // and the one it types without AltGr; empty for keys without a character.
    std::string text, plain;
    // Keys without a character, in the notation's words: "ENTER", "TAB", "F5"...
    std::string name;
    bool shift = false, ctrl = false, alt = false, altgr = false;
    // The character is not on the keyboard's own map (a typing tool mapped it for the moment):
    // typing it again maps it first.
    bool off_keymap = false;
};

class InputRecorder {
  public:
    virtual ~InputRecorder() = default;
    // Moves the input seen since the last call into `out`; true once the stop key was tapped.
    // The stop key's own press and release are never reported.
    virtual bool take(std::vector<RecordedInput>& out) = 0;
};

// A recorder whose own thread sees the input: what it saw waits here for the caller's take().
class QueuedRecorder : public InputRecorder {
  public:
    bool take(std::vector<RecordedInput>& out) override {
        std::lock_guard lock(mutex_);
        out.insert(out.end(), seen_.begin(), seen_.end());
        seen_.clear();
        return stopped_;
    }

  protected:
    // From the recorder's thread: input after the stop is dropped.
    void add(const RecordedInput& e) {
        std::lock_guard lock(mutex_);
        if (!stopped_) seen_.push_back(e);
    }
    void set_stopped() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }

  private:
    std::mutex mutex_;
    std::vector<RecordedInput> seen_;
    bool stopped_ = false;
};

struct RecorderRequest {
    int stop_vk = 0x1B;      // a virtual-key code of the hot-key list
    bool positions = false;  // report pointer motion with its position
};

// Makes a recorder, or nullptr with the reason why recording is not possible here.
using RecorderFactory =
    std::function<std::unique_ptr<InputRecorder>(const RecorderRequest&, std::string& reason)>;

}  // namespace mavorin
