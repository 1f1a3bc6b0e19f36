// Screenshots and their paths, the JPEG error, and the pixel watch's polls.
#include "engine/screen_actions.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine_fixture.hpp"

namespace mavorin {
namespace {

class ScreenActionsTest : public testing::MacroRun {
  protected:
    void paint(int x0, int y0, int size, uint8_t green) {
        for (int y = y0; y < y0 + size; ++y)
            for (int x = x0; x < x0 + size; ++x)
                platform.screen.bgr[(static_cast<size_t>(y) * 1920 + x) * 3 + 1] = green;
    }
    static std::vector<int64_t> every(int64_t step, int64_t from, int64_t to) {
        std::vector<int64_t> t;
        for (int64_t ms = from; ms <= to; ms += step) t.push_back(ms);
        return t;
    }
};

TEST(ScreenshotPath, NameQualityAndFormat) {
    struct Row {
        const char* path;
        bool save;
        const char* file;
        bool jpeg;
        int quality;
    } rows[] = {
        {"/tmp/a.jpg <75%>", true, "/tmp/a.jpg", true, 75},
        {"/tmp/a.jpg <5>", true, "/tmp/a.jpg", true, 10},
        {"/tmp/a.jpg <0>", true, "/tmp/a.jpg", true, 100},
        {"/tmp/a.jpg", true, "/tmp/a.jpg", true, 100},
        {"/tmp/a.jpg <250>", true, "/tmp/a.jpg", true, 100},
        {"/tmp/a.jpg <-5>", true, "/tmp/a.jpg", true, 10},
        {"/tmp/a.jpg < 60%>", true, "/tmp/a.jpg", true, 60},   // blanks read as nothing
        {"/tmp/a.jpg <99.9%>", true, "/tmp/a.jpg", true, 99},  // three characters: "99."
        {"/tmp/a.jpg <1000>", true, "/tmp/a.jpg", true, 100},
        {"/tmp/a.JPG", true, "/tmp/a.JPG", false, 100},
        {"/tmp/a.bmp   ", true, "/tmp/a.bmp", false, 100},
        {"a.jpg <90%> <20%>", true, "a.jpg", true, 90},  // the first "<" counts
        {".jpg", true, ".jpg", true, 100},
        {"a.jp", true, "a.jp", false, 100},
        {"<90%>", true, "", false, 90},
        {"abc", false, "", false, 100},
        {"", false, "", false, 100},
    };
    for (const auto& r : rows) {
        const ScreenshotTarget t = screenshot_ziel(r.path);
        EXPECT_EQ(t.save, r.save) << r.path;
        if (!r.save) continue;
        EXPECT_EQ(t.file, r.file) << r.path;
        EXPECT_EQ(t.jpeg, r.jpeg) << r.path;
        EXPECT_EQ(t.quality, r.quality) << r.path;
    }
}

TEST_F(ScreenActionsTest, ScreenshotStepsSaveWhatThePathSays) {
    platform.jpeg_status = 0;
    run({settings(100, 0), "code:|005|start:|3|step:|1|", "code:|009|pfad:|{CODE5}.bmp|",
         "code:|009|pfad:|shot{code5}.jpg <75%>|", "code:|009|pfad:|s.png   |",
         "code:|009|pfad:|abc|"});
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{
                           "110 clipboard_set 3", "210 capture_screen", "210 save_bmp 3.bmp",
                           "310 capture_screen", "310 save_jpeg shot3.jpg 75", "410 capture_screen",
                           "410 save_bmp s.png", "510 capture_screen", "510 block_input 0"}));
    EXPECT_EQ(w->befehl_wert1[3], "shot3.jpg <75%>");
    EXPECT_EQ(dir.read("3.bmp").substr(0, 2), "BM");
    EXPECT_EQ(dir.read("s.png").substr(0, 2), "BM");  // the extension does not pick the format
    EXPECT_EQ(w->pic_screenshot.width, 1920);
    EXPECT_EQ(w->pic_screenshot.height, 1080);
}

TEST_F(ScreenActionsTest, AFailedJpegRaisesItsStatusAndTheRunGoesOn) {
    platform.jpeg_status = 7;
    run({settings(100, 0), "code:|009|pfad:|x.jpg <50%>|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{"110 capture_screen", "110 save_jpeg x.jpg 50",
                                                 "210 set_cursor_pos 1 1", "210 block_input 0"}));
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "0");
    for (int status : {7, 2, 0}) {
        platform.jpeg_status = status;
        try {
            w->screen.Save_JPG(w->pic_screenshot, "y.jpg", 80);
            EXPECT_EQ(status, 0);
        } catch (const SaveJpgError& e) {
            EXPECT_EQ(std::string(e.what()), "Speicherung des Bildes fehlgeschlagen. GDI+ Error:" +
                                                 std::to_string(status));
            EXPECT_EQ(e.number, 5);
        }
    }
}

TEST_F(ScreenActionsTest, PixelWatchTimesOutAfterTwentyPollsPerUnit) {
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|1|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(1000);
    // The reference at 110, then twenty polls, then the pause. A 10 ms poll ends on the
    // driver's own tick, which comes first, so polls follow every other driver tick.
    std::vector<int64_t> polls = every(20, 120, 500);
    polls.insert(polls.begin(), 110);
    EXPECT_EQ(times("capture_screen"), polls);
    EXPECT_EQ(args("save_bmp"), std::vector<std::string>(21, "code10.bmp"));
    EXPECT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{610}));
    EXPECT_EQ(w->pixel_status, 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("code10.bmp")));

    // Two units: forty polls.
    restart_window();
    const int64_t t0 = clock.now_ms();
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|2|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(2000);
    EXPECT_EQ(times("capture_screen").size(), 41u);
    EXPECT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{t0 + 1010}));
}

TEST_F(ScreenActionsTest, PixelWatchWithoutLimitEndsOnlyOnAChange) {
    run({settings(100, 0), "code:|010|xpos:|10.5|ypos:|9.5|break:|0|",
         "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(30000);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());
    EXPECT_TRUE(w->running());
    EXPECT_EQ(w->pixel_status, 2);

    // A change outside the block goes unnoticed; one inside is seen at the next poll.
    paint(100, 100, 5, 200);
    clock.advance(1000);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());
    clock.advance(5);  // between two polls
    paint(12, 11, 1, 200);
    platform.clear_calls();
    clock.advance(500);
    EXPECT_EQ(times("capture_screen"), (std::vector<int64_t>{31020}));
    EXPECT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{31130}));
    // The block starts at the rounded position (10, 10).
    ASSERT_EQ(w->pic_pixel.width, 5);
    ASSERT_EQ(w->pic_pixel.height, 5);
    EXPECT_EQ(w->pic_pixel.bgr[(1 * 5 + 2) * 3 + 1], 200);
    EXPECT_EQ(w->pic_pixel.bgr[(1 * 5 + 1) * 3 + 1], 0);
}

TEST_F(ScreenActionsTest, PixelWatchRetriesEveryPauseWhileNoSnapshotCanBeWritten) {
    std::filesystem::create_directory(dir.file("code10.bmp"));
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|1|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(450);
    EXPECT_EQ(times("capture_screen"), (std::vector<int64_t>{110, 210, 310, 410}));
    EXPECT_EQ(w->pixel_status, 1);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());

    // Stopping leaves the state; the next start clears it.
    w->cmd_start.click();
    EXPECT_EQ(w->pixel_status, 1);
    std::filesystem::remove(dir.file("code10.bmp"));
    w->cmd_start.click();
    EXPECT_EQ(w->pixel_status, 0);
}

}  // namespace
}  // namespace mavorin
