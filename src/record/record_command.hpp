// mavorin --record FILE [--stop KEY] [--jitter PCT] [--no-waits] [--moves MS]
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/input_recorder.hpp"
#include "record/recording.hpp"

namespace mavorin {

struct RecordRequest {
    std::string file;
    RecordOptions options;
};

// The request in `args` (the program's arguments after its name, "--record" among them);
// nullopt with `error` set when they are misused.
std::optional<RecordRequest> parse_record_args(const std::vector<std::string>& args,
                                               std::string& error);

// Records until the stop key is tapped, writes the file as Speichern does, approves it, and
// prints the summary. 1 when recording is not possible here or the file cannot be written.
int record_command(const RecordRequest& request, const RecorderFactory& make_recorder,
                   const std::string& data_folder, std::ostream& out, std::ostream& err);

// For the window's start: runs `--record ...` with the desktop's recorder (none: not possible
// here) and gives its exit status; nullopt for any other command line.
std::optional<int> record_from_command_line(const std::vector<std::string>& args,
                                            const RecorderFactory& make_recorder,
                                            const std::string& data_folder);

}  // namespace mavorin
