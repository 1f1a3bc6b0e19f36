// The command codes, one row each: caption, prompt, record, panel, filling and the step's action.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace mavorin {

class frm_mavorin;
namespace form {
class Control;
}

struct CommandRow {
    // Entry of the code combo (the settings row's is the one entry of com_code0).
    const char* caption;
    // What lbl_info asks while the panel shows.
    const char* prompt;
    // The record's pairs after "code:|NNN|", built from the panel's fields.
    std::string (*record)(frm_mavorin&);
    // The panel's controls in the order they are made visible.
    std::vector<form::Control*> (*panel)(frm_mavorin&);
    // Fills the fields from the values parsed at slot i; `own` when that record has this code.
    void (*fill)(frm_mavorin&, int i, bool own);
    // What a step of a run does; none for the settings record.
    void (*action)(frm_mavorin&);
    // The panel shows the live cursor position, and Enter takes it.
    bool follows_cursor;
    // Starts something outside the program: an untrusted macro asks first.
    bool launches;
};

// Codes that a procedure treats on their own; the table checks them against its captions.
inline constexpr int kSettingsCode = 0;
inline constexpr int kMousePositionCode = 2;
inline constexpr int kTypingCode = 4;
inline constexpr int kPcCommandCode = 7;
inline constexpr int kCdDriveCode = 8;
inline constexpr int kPixelWatchCode = 10;

// Row k is code k; the settings record is row 0.
std::span<const CommandRow> command_rows();
// The highest code there is.
int last_code();
// The row of `code`, or nullptr when it is no whole number in 0..last_code().
const CommandRow* command_row(double code);
// A code as the three digits records and messages show ("007").
std::string code_text(int code);

}  // namespace mavorin
