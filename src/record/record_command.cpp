// The command-line recorder: options, the recording loop, the file and its approval.
#include "record/record_command.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <thread>

#include "document/macro_file.hpp"
#include "document/macro_text.hpp"
#include "document/trust.hpp"
#include "platform/file_save.hpp"

namespace mavorin {

namespace {

bool whole_number(const std::string& text, int& value) {
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && p == text.data() + text.size() && value >= 0;
}

}  // namespace

std::optional<RecordRequest> parse_record_args(const std::vector<std::string>& args,
                                               std::string& error) {
    RecordRequest r;
    bool file_seen = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--record") continue;
        const bool takes_value = a == "--stop" || a == "--jitter" || a == "--moves";
        if (takes_value && i + 1 >= args.size()) {
            error = a + " needs a value";
            return std::nullopt;
        }
        if (a == "--stop") {
            r.options.stop = args[++i];
            if (!abort_key_vk(r.options.stop)) {
                error = "--stop takes ESC or F1 to F12, not \"" + r.options.stop + "\"";
                return std::nullopt;
            }
        } else if (a == "--jitter" || a == "--moves") {
            int& v = a == "--jitter" ? r.options.jitter_pct : r.options.moves_ms;
            if (!whole_number(args[++i], v) || (a == "--jitter" && v > 100) ||
                (a == "--moves" && v == 0)) {
                error = a + (a == "--jitter" ? " takes a percentage from 0 to 100"
                                             : " takes a number of milliseconds above 0");
                return std::nullopt;
            }
        } else if (a == "--no-waits") {
            r.options.waits = false;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "--record does not know the option " + a;
            return std::nullopt;
        } else if (file_seen) {
            error = "--record writes one file, not both " + r.file + " and " + a;
            return std::nullopt;
        } else {
            r.file = a;
            file_seen = true;
        }
    }
    if (!file_seen) {
        error = "--record needs a file to write: mavorin --record FILE";
        return std::nullopt;
    }
    return r;
}

int record_command(const RecordRequest& request, const RecorderFactory& make_recorder,
                   const std::string& data_folder, std::ostream& out, std::ostream& err) {
    const RecordOptions& o = request.options;
    std::string reason = "this build has no recorder";
    auto recorder =
        make_recorder ? make_recorder({abort_key_vk(o.stop), o.moves_ms > 0}, reason) : nullptr;
    if (!recorder) {
        err << "mavorin: recording is not possible here: " << reason << "\n";
        return 1;
    }
    err << "mavorin: recording; tap " << o.stop << " to stop\n" << std::flush;
    std::vector<RecordedInput> input;
    while (!recorder->take(input)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    recorder.reset();

    const Recording r = convert_recording(input, o);
    std::vector<std::string> records{recorded_settings(o)};
    records.insert(records.end(), r.records.begin(), r.records.end());
    std::error_code ec;
    const std::string path = std::filesystem::absolute(request.file, ec).string();
    const SaveResult saved = save_file(path, macro_file_bytes(records), Durability::synced);
    if (!saved.ok()) {
        err << "mavorin: " << request.file << " was not written: " << saved.reason << "\n";
        return 1;
    }
    // What the user recorded is theirs, as if Speichern had written it.
    MacroText text;
    if (read_macro_file(path, text) == ReadResult::ok)
        TrustStore(data_folder).approve(text.sha256());
    out << recording_summary(r) << "\n";
    return 0;
}

std::optional<int> record_from_command_line(const std::vector<std::string>& args,
                                            const RecorderFactory& make_recorder,
                                            const std::string& data_folder) {
    if (std::find(args.begin(), args.end(), "--record") == args.end()) return std::nullopt;
    std::string error;
    const auto request = parse_record_args(args, error);
    if (!request) {
        std::cerr << "mavorin: " << error << " (see mavorin --help)\n";
        return 2;
    }
    return record_command(*request, make_recorder, data_folder, std::cout, std::cerr);
}

}  // namespace mavorin
