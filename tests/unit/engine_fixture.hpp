// A macro run on the virtual clock, and the desktop operations it produced with their times.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "fixture.hpp"

namespace mavorin::testing {

class MacroRun : public WindowTest {
  protected:
    // Loads the records as a macro file named on the command line: loaded and started at t = 0.
    void run(const std::vector<std::string>& records) {
        write_macro("m.mvn", ".mvn 0000", records);
        platform.cmdline = "\"" + dir.file("m.mvn") + "\"";
        start();
    }
    // Starts the default macro without running it, then puts `records` into slots 0.. and
    // refreshes the list, as if the user had built them.
    void build(const std::vector<std::string>& records) {
        start();
        for (size_t i = 0; i < records.size(); ++i) w->befehl[i] = records[i];
        w->befehl_anzahl = static_cast<int>(records.size()) - 1;
        w->liste.befehlsliste();
    }
    // Types into a box the way loading does, without rebuilding the record.
    void show(form::TextBox& box, const std::string& text) {
        w->laden = true;
        box.set_text(text);
        w->laden = false;
    }
    static std::string settings(int wait, int loop, const std::string& stop = "ESC") {
        return "code:|000|wait:|" + std::to_string(wait) + "|loop:|" + std::to_string(loop) +
               "|start:|no|stop:|" + stop + "|";
    }
    // Desktop operations as "<ms> <op> <args>", the way the dry run prints them; times count
    // from `origin`.
    std::vector<std::string> trace(int64_t origin = 0) const {
        std::vector<std::string> out;
        for (const auto& c : platform.calls) {
            if (!is_desktop_operation(c.op)) continue;
            out.push_back(std::to_string(c.ms - origin) + " " + c.op + (c.args.empty() ? "" : " ") +
                          c.args);
        }
        return out;
    }
    std::vector<int64_t> times(const std::string& op) const {
        std::vector<int64_t> t;
        for (const auto& c : platform.calls_of(op)) t.push_back(c.ms);
        return t;
    }
    std::vector<std::string> args(const std::string& op) const {
        std::vector<std::string> a;
        for (const auto& c : platform.calls_of(op)) a.push_back(c.args);
        return a;
    }
    // A fresh window on the same platform and clock, for a second scenario in one test.
    void restart_window() {
        platform.clear_calls();
        w = std::make_unique<frm_mavorin>(platform, clock);
    }
};

// Collects what the view would be told: "name:0"/"name:1" for enabled changes, or captions.
class ChangeLog : public form::ControlObserver {
  public:
    void control_changed(form::Control& c) override {
        if (auto* l = dynamic_cast<form::Label*>(&c)) {
            entries.push_back(l->caption());
        } else if (c.enabled() != last_enabled(c)) {
            entries.push_back(c.name() + (c.enabled() ? ":1" : ":0"));
            enabled_[&c] = c.enabled();
        }
    }
    void watch(form::Control& c) {
        c.set_observer(this);
        enabled_[&c] = c.enabled();
    }
    std::vector<std::string> entries;

  private:
    bool last_enabled(form::Control& c) {
        auto it = enabled_.find(&c);
        return it == enabled_.end() ? c.enabled() : it->second;
    }
    std::map<form::Control*, bool> enabled_;
};

}  // namespace mavorin::testing
