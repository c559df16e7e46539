// The emulator writes nothing to disk: a whole session of opening a ROM image,
// resetting it, changing the speed and leaving leaves its current folder, its home
// folder and the configuration folders as they were, down to the times of change.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>

#include "tests/e2e/emulator.h"
#include "tests/e2e/picture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Every entry under the folders, the folders themselves included: its kind, size
// and time of last change, by path.
std::map<std::string, std::string> snapshot(const std::vector<fs::path>& folders)
{
    std::map<std::string, std::string> entries;
    const auto note = [&entries](const fs::path& path) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        std::ostringstream entry;
        entry << static_cast<int>(status.type());
        if (status.type() == fs::file_type::regular) {
            entry << " " << fs::file_size(path, error);
        }
        if (status.type() != fs::file_type::symlink) {
            entry << " " << fs::last_write_time(path, error).time_since_epoch().count();
        }
        entries[path.string()] = entry.str();
    };
    for (const fs::path& folder : folders) {
        std::error_code error;
        if (!fs::exists(folder, error)) {
            continue;
        }
        note(folder);
        for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
             it != fs::recursive_directory_iterator(); it.increment(error)) {
            note(it->path());
        }
    }
    return entries;
}

// What changed between two snapshots, one line an entry.
std::string differences(const std::map<std::string, std::string>& before,
                        const std::map<std::string, std::string>& after)
{
    std::string text;
    for (const auto& [path, entry] : after) {
        const auto was = before.find(path);
        if (was == before.end()) {
            text += "made: " + path + "\n";
        } else if (was->second != entry) {
            text += "changed: " + path + "\n";
        }
    }
    for (const auto& [path, entry] : before) {
        if (after.count(path) == 0) {
            text += "removed: " + path + "\n";
        }
    }
    return text;
}

class NothingWritten : public Scenario {};

TEST_F(NothingWritten, ASessionLeavesTheCurrentHomeAndConfigurationFoldersAsTheyWere)
{
    // A home as a desktop user has one, with the usual folders already there.
    const fs::path home = folder() / "home";
    for (const char* sub : {".config", ".cache", ".local/share", ".local/state"}) {
        fs::create_directories(home / sub);
    }
    fs::create_directories(cwd() / "games");
    fs::copy_file(ibmLogoRom(), cwd() / "games" / "ibm.ch8");
    const Cells logo = cellsOf(machinePictureOfRom(cwd() / "games" / "ibm.ch8", 1000));
    const std::vector<fs::path> watched = {cwd(), home, "/etc/xdg"};
    const auto before = snapshot(watched);

    Emulator& emulator = startEmulator({"HOME=" + home.string(), "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                                        "XDG_DATA_HOME", "XDG_STATE_HOME"});
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(waitForRequester());
    ASSERT_TRUE(chooseInRequester("ibm.ch8"));
    EXPECT_EQ(waitForPicture(emulator, "ibm-logo", logo), "");
    emulator.resetGame();
    emulator.chooseSpeed(12); // "+8"
    emulator.chooseSpeed(0);  // "-4"
    EXPECT_EQ(waitForPicture(emulator, "ibm-logo-again", logo), "") << "the session went on";
    emulator.exitByKeys();
    ASSERT_TRUE(emulator.process().waitForExit(Seconds(5))) << "Exit did not end the emulator";
    const int status = *emulator.process().status();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_EQ(differences(before, snapshot(watched)), "");
}

} // namespace
} // namespace e2e
