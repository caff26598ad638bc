// Every test program runs in folders of its own: its home, settings and
// temporary folder lie in one private folder, never in the user's home.
#include "platform/config/config_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool Under(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.rfind(folder + "/", 0) == 0;
}

TEST(PrivateFolders, HomeSettingsAndTemporaryFolderAreTheProgramsOwn) {
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const std::string realHome = user->pw_dir;
    const std::string root = Env("CV_PRIVATE_FOLDERS");
    ASSERT_FALSE(root.empty()) << "no private folders";
    EXPECT_FALSE(Under(root, realHome)) << root;
    EXPECT_TRUE(std::filesystem::is_directory(root));
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Under(Env(name), root)) << Env(name);
        EXPECT_TRUE(std::filesystem::is_directory(Env(name)));
    }
    EXPECT_TRUE(Under(fw::ConfigFolder(), root)) << fw::ConfigFolder();
    EXPECT_TRUE(Under(std::filesystem::temp_directory_path().string(), root));
}

}  // namespace
