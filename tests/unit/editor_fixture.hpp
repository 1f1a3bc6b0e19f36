// A started window with helpers to put a record under the editor the way the program does.
#pragma once

#include <string>

#include "fixture.hpp"

namespace mavorin::testing {

class EditorFixture : public WindowTest {
  protected:
    void SetUp() override { start(); }

    // Stores the record in slot i and navigates there, as the scroll bar does (laden is set
    // while the panel is filled, so nothing is written back).
    void show(int i, const std::string& record) {
        w->befehl[i] = record;
        w->hsc_befehle.set_value(i == 1 ? 2 : 1);
        w->hsc_befehle.set_value(i);
    }
    // Shows the panel of `code` over whatever record is current, without writing it back.
    void panel(double code) {
        w->laden = true;
        w->code_aktuell = code;
        w->panels.codesichtbar();
        w->laden = false;
    }
    // Chooses a command type in the code combo, as the user does once the combo has settled.
    void choose(const std::string& code_name) {
        clock.advance(20);
        w->com_code.set_text(code_name);
    }
    const std::string& record() const { return w->befehl[w->befehl_aktuell]; }
};

}  // namespace mavorin::testing
