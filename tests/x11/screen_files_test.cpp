// Screen capture of a known picture, BMP and JPEG files checked with ImageMagick, and the file
// and start-up facts of the backend.
#include "x11_test_support.hpp"
// After gtest: Xlib defines None and Bool.
#include <fstream>
#include <sstream>

namespace mavorin::x11test {
namespace {

namespace fs = std::filesystem;

std::string bgr_at(const Bitmap& b, int x, int y) {
    const uint8_t* p = &b.bgr[(static_cast<size_t>(y) * b.width + x) * 3];
    char text[8];
    snprintf(text, sizeof text, "%02X%02X%02X", p[2], p[1], p[0]);
    return text;
}

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class X11Screen : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display_available()) GTEST_SKIP() << "no X server";
        dev = make_devices();
        ASSERT_TRUE(dev);
    }
    std::unique_ptr<DeviceServices> dev;
    TempFolder folder;
};

TEST_F(X11Screen, CaptureHoldsTheScreenPixelForPixel) {
    ColourPatch red(100, 120, 40, 30, 0xFF0000);
    ColourPatch green(140, 120, 40, 30, 0x00FF00);
    ColourPatch blue(100, 150, 80, 10, 0x123456);
    const Bitmap shot = dev->capture_screen();
    const std::string size = shell("xdpyinfo | awk '/dimensions:/ {print $2}'");
    EXPECT_EQ(std::to_string(shot.width) + "x" + std::to_string(shot.height), size);
    EXPECT_EQ(shot.left, 0);
    EXPECT_EQ(shot.top, 0);
    EXPECT_EQ(shot.right, shot.width);
    EXPECT_EQ(shot.bottom, shot.height);
    ASSERT_EQ(shot.bgr.size(), static_cast<size_t>(shot.width) * shot.height * 3);
    EXPECT_EQ(bgr_at(shot, 100, 120), "FF0000");
    EXPECT_EQ(bgr_at(shot, 139, 149), "FF0000");
    EXPECT_EQ(bgr_at(shot, 140, 120), "00FF00");
    EXPECT_EQ(bgr_at(shot, 179, 149), "00FF00");
    EXPECT_EQ(bgr_at(shot, 100, 150), "123456");
    EXPECT_EQ(bgr_at(shot, 179, 159), "123456");
    EXPECT_NE(bgr_at(shot, 99, 120), "FF0000");
    EXPECT_NE(bgr_at(shot, 100, 160), "123456");
}

TEST_F(X11Screen, BitmapFilesKeepSizeColoursAndRowOrder) {
    ColourPatch top(10, 10, 3, 1, 0xFF0000);
    ColourPatch bottom(10, 11, 3, 1, 0x0000FF);
    const Bitmap shot = dev->capture_screen();
    ASSERT_TRUE(dev->save_bmp(shot, "full.bmp"));  // relative to the current folder
    EXPECT_EQ(shell("identify -format '%m %w %h' full.bmp"),
              "BMP3 " + std::to_string(shot.width) + " " + std::to_string(shot.height));

    ASSERT_TRUE(dev->save_bmp(shot.crop(10, 10, 3, 2), (folder.path() / "block.bmp").string()));
    EXPECT_EQ(shell("convert block.bmp -depth 8 txt:- | grep -o '#[0-9A-F]\\{6\\}' | tr '\\n' ' '"),
              "#FF0000 #FF0000 #FF0000 #0000FF #0000FF #0000FF ");
}

TEST_F(X11Screen, JpegFilesCarryTheirQuality) {
    const Bitmap shot = dev->capture_screen();
    for (int q : {10, 40, 75, 100}) {
        const std::string name = "q" + std::to_string(q) + ".jpg";
        ASSERT_EQ(dev->save_jpeg(shot, name, q), 0) << q;
        EXPECT_EQ(shell("identify -format '%m %w %h %Q' " + name),
                  "JPEG " + std::to_string(shot.width) + " " + std::to_string(shot.height) + " " +
                      std::to_string(q));
    }
}

TEST_F(X11Screen, FailedSavesReportAndLeaveOldFilesAlone) {
    const Bitmap shot = dev->capture_screen();
    EXPECT_NE(dev->save_jpeg(shot, "no-such-folder/a.jpg", 80), 0);
    EXPECT_FALSE(dev->save_bmp(shot, "no-such-folder/a.bmp"));
    EXPECT_FALSE(fs::exists("no-such-folder"));

    std::ofstream("old.jpg") << "precious";
    EXPECT_NE(dev->save_jpeg(Bitmap{}, "old.jpg", 80), 0);
    EXPECT_EQ(read_file("old.jpg"), "precious");
    fs::create_directory("folder.bmp");
    EXPECT_FALSE(dev->save_bmp(shot, "folder.bmp"));
    EXPECT_TRUE(fs::is_directory("folder.bmp"));
    // Nothing half-written is left beside the targets.
    int entries = 0;
    for (auto& e : fs::directory_iterator(folder.path())) entries += e.exists() ? 1 : 0;
    EXPECT_EQ(entries, 2);
}

TEST_F(X11Screen, FilesAreFoundAndReadRelativeToTheCurrentFolder) {
    EXPECT_EQ(dev->current_folder(), fs::current_path().string());
    EXPECT_EQ(dev->path_separator(), "/");
    const char raw[] = "BM\x01\x00zz,rest\r\nmore";
    const std::string bytes(raw, sizeof raw - 1);
    std::ofstream("field.txt", std::ios::binary).write(bytes.data(), bytes.size());
    EXPECT_TRUE(dev->file_exists("field.txt"));
    EXPECT_TRUE(dev->file_exists((folder.path() / "field.txt").string()));
    EXPECT_FALSE(dev->file_exists("missing.txt"));
    EXPECT_FALSE(dev->file_exists(""));
    fs::create_directory("sub");
    EXPECT_FALSE(dev->file_exists("sub"));

    std::string field = "stale";
    ASSERT_TRUE(dev->read_first_field("field.txt", field));
    EXPECT_EQ(field, std::string("BM\x01\x00zz", 6));
    std::ofstream("line.txt") << "no comma\nsecond";
    ASSERT_TRUE(dev->read_first_field("line.txt", field));
    EXPECT_EQ(field, "no comma");
    EXPECT_FALSE(dev->read_first_field("missing.txt", field));

    // The pixel watch's snapshot round trip: a saved block reads back as the same field.
    ColourPatch patch(600, 500, 5, 5, 0x2C2C2C);  // 44 = a comma in every byte
    ASSERT_TRUE(dev->save_bmp(dev->capture_screen().crop(600, 500, 5, 5), "code10.bmp"));
    ASSERT_TRUE(dev->read_first_field("code10.bmp", field));
    EXPECT_EQ(field, read_file("code10.bmp").substr(0, field.size()));
    EXPECT_EQ(read_file("code10.bmp")[field.size()], ',');
}

TEST(X11Facts, CommandLineQuotesEveryArgument) {
    REQUIRE_DISPLAY();
    EXPECT_EQ(make_devices({})->command_line(), "");
    EXPECT_EQ(make_devices({"/tmp/mein makro.mvn"})->command_line(), "\"/tmp/mein makro.mvn\"");
    EXPECT_EQ(make_devices({"a", "b c"})->command_line(), "\"a\" \"b c\"");
}

TEST(X11Facts, RandomFractionsAreUniformInTheHalfOpenUnitInterval) {
    REQUIRE_DISPLAY();
    auto dev = make_devices();
    dev->seed_random_from_clock();
    int below_half = 0;
    double lo = 1, hi = 0;
    for (int i = 0; i < 10000; ++i) {
        const double r = dev->random_fraction();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        below_half += r < 0.5;
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_NEAR(below_half, 5000, 400);
    EXPECT_LT(lo, 0.01);
    EXPECT_GT(hi, 0.99);
}

}  // namespace
}  // namespace mavorin::x11test
