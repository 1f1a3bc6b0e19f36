// The window fixture shared by the unit tests.
#include "fixture.hpp"

#include <random>
#include <sstream>

#include "document/macro_text.hpp"

namespace mavorin::testing {

TempFolder::TempFolder() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path() /
                ("mavorin-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(base);
    path_ = base.string();
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

WindowTest::WindowTest() {
    w = std::make_unique<frm_mavorin>(platform, clock);
}

void WindowTest::start() {
    w->startup.Form_Load();
}

void WindowTest::write_macro(const std::string& name, const std::string& header,
                             const std::vector<std::string>& records) {
    std::string bytes = header + "\r\n";
    for (const auto& r : records) bytes += r + "\r\n";
    dir.write(name, bytes);
}

void WindowTest::trust(const std::string& name) {
    MacroText text;
    ASSERT_EQ(read_macro_file(dir.file(name), text), ReadResult::ok);
    ASSERT_TRUE(TrustStore(platform.data_folder).approve(text.sha256()));
}

}  // namespace mavorin::testing
