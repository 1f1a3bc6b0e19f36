// Replacing files: modes kept, symlinks written through, failures reported, nothing left behind.
// Root ignores permissions: the ctest "unit_saves_as_nobody" runs these again as nobody.
#include "platform/file_save.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <set>

#include "fixture.hpp"

namespace mavorin {
namespace {

namespace fs = std::filesystem;

// Every entry below the folder, with its kind, so that a stray file shows up.
std::set<std::string> listing(const std::string& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        out.insert(e.path().lexically_relative(folder).string() + (e.is_symlink() ? "@" : ""));
    return out;
}

unsigned mode_of(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

struct Case {
    const char* what;
    const char* save_to;  // the path given to the save
    const char* written;  // the file that then holds the bytes ("" when the save fails)
    unsigned old_mode;    // mode of the old file `written` or `keep` (0: none)
    SaveError error;
    const char* reason;
    bool binds_root;  // false: root is not held back, so the case needs an unprivileged user
};

TEST(SafeSave, ReplacesOrFailsWithoutLosingTheOldFile) {
    const bool root = geteuid() == 0;
    const mode_t mask = umask(022);
    umask(mask);
    const Case cases[] = {
        {"new file", "neu.bmp", "neu.bmp", 0, SaveError::none, "", true},
        {"private file keeps its mode", "privat.mvn", "privat.mvn", 0600, SaveError::none, "",
         true},
        {"script keeps its mode", "lauf.mvn", "lauf.mvn", 0750, SaveError::none, "", true},
        {"symlink written through", "link.mvn", "ziel/echt.mvn", 0640, SaveError::none, "", true},
        {"dangling symlink creates its target", "lose.mvn", "ziel/neu.mvn", 0, SaveError::none, "",
         true},
        {"read-only file untouched", "fest.bmp", "", 0444, SaveError::write_protected,
         "Datei ist schreibgeschützt", true},
        {"missing folder", "fehlt/x.bmp", "", 0, SaveError::no_folder, "Ordner existiert nicht",
         true},
        {"folder as target", "ziel", "", 0, SaveError::is_folder, "Ziel ist ein Ordner", true},
        {"folder without write permission", "zu/alt.mvn", "", 0644, SaveError::no_permission,
         "Keine Schreibrechte", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (root && !c.binds_root) {
            std::cout << "as root, skipped: " << c.what << "\n";
            continue;
        }
        testing::TempFolder dir;
        fs::create_directory(dir.file("ziel"));
        fs::create_directory(dir.file("zu"));
        const std::string old = std::string("alt ") + c.what;
        const std::string target = *c.written ? c.written : c.save_to;
        if (c.old_mode) {
            dir.write(target, old);
            chmod(dir.file(target).c_str(), c.old_mode);
            // A second name for the old file: a replaced file leaves it the old bytes.
            fs::create_hard_link(dir.file(target), dir.file("alt.hard"));
        }
        fs::create_symlink("ziel/echt.mvn", dir.file("link.mvn"));
        fs::create_symlink("ziel/neu.mvn", dir.file("lose.mvn"));
        chmod(dir.file("zu").c_str(), 0555);
        const auto before = listing(dir.path());

        const SaveResult r = save_file(dir.file(c.save_to), "neu", Durability::synced);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.reason, c.reason);
        auto expected = before;
        if (*c.written) {
            expected.insert(c.written);
            EXPECT_EQ(dir.read(c.written), "neu");
            EXPECT_EQ(mode_of(dir.file(c.written)), c.old_mode ? c.old_mode : 0666 & ~mask);
        } else if (c.old_mode) {
            EXPECT_EQ(dir.read(target), old);
            EXPECT_EQ(mode_of(dir.file(target)), c.old_mode);
        }
        if (c.old_mode) EXPECT_EQ(dir.read("alt.hard"), old);
        EXPECT_EQ(listing(dir.path()), expected);  // links stay links, no temporary file stays
        chmod(dir.file("zu").c_str(), 0755);
    }
}

}  // namespace
}  // namespace mavorin
