// A started window on the virtual clock with the recording platform, in its own temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/frm_mavorin.hpp"
#include "form/event_loop.hpp"
#include "platform/recording/recording_platform.hpp"

namespace mavorin::testing {

// A fresh temporary folder, removed at the end of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes bytes verbatim (no conversion of line ends or code page).
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

  private:
    std::string path_;
};

// A window whose Form_Load has not run yet: script the platform first, then call start().
class WindowTest : public ::testing::Test {
  protected:
    WindowTest();
    // Runs Form_Load.
    void start();
    // Writes a macro file: header line, then the records, each ended by CR LF.
    void write_macro(const std::string& name, const std::string& header,
                     const std::vector<std::string>& records);
    // Approves the file as it is now, as `mavorin --trust` does.
    void trust(const std::string& name);

    TempFolder dir;
    form::VirtualClock clock;
    RecordingPlatform platform{clock, dir.path()};
    std::unique_ptr<frm_mavorin> w;
};

}  // namespace mavorin::testing
