// A started window with helpers to put a record under the editor the way the program does.
#pragma once

#include <set>
#include <sstream>
#include <stdexcept>
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

    // The panel text box called `name`.
    TextBox& field(const std::string& name) {
        for (form::Control* c : w->panels.hide_order())
            if (c->name() == name) return dynamic_cast<TextBox&>(*c);
        throw std::invalid_argument("no field " + name);
    }
    // Checks panel fields against "name=text;name=text".
    void expect_fields(const std::string& spec) {
        std::istringstream in(spec);
        for (std::string item, name; std::getline(std::getline(in, name, '='), item, ';');)
            EXPECT_EQ(field(name).text(), item) << name;
    }
    std::set<std::string> visible_panel_controls() {
        std::set<std::string> v;
        for (form::Control* c : w->panels.hide_order())
            if (c->visible()) v.insert(c->name());
        return v;
    }
};

}  // namespace mavorin::testing
