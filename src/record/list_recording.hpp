// "Aufnahme einfügen": records the desktop's input into the command list after the current line.
#pragma once

#include <memory>
#include <vector>

#include "platform/input_recorder.hpp"

namespace mavorin {

class frm_mavorin;

class ListRecording {
  public:
    explicit ListRecording(frm_mavorin& w) : w(w) {}
    // Minimises the window and records until the abort key of the settings.
    void mnurecord_Click();
    // Collects what the recorder saw; after the abort key, inserts and restores the window.
    void Timer_aufnahme_Timer();

  private:
    void insert(const std::vector<std::string>& records);
    frm_mavorin& w;
    std::unique_ptr<InputRecorder> recorder_;
    std::vector<RecordedInput> seen_;
};

}  // namespace mavorin
