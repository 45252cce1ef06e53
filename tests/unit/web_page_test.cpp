#include "editor/web_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Points PATH at a folder of our own for the length of a test.
class PathOverride {
public:
    explicit PathOverride(const fs::path& folder) : saved(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", folder.c_str(), 1);
    }
    ~PathOverride() { setenv("PATH", saved.c_str(), 1); }

private:
    std::string saved;
};

} // namespace

TEST(WebPage, AddressReachesTheOpenerAsOneArgumentWithoutAShell)
{
    const fs::path folder = fs::temp_directory_path() / ("tessaphon-web-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path record = folder / "args";
    const fs::path opener = folder / "xdg-open";
    {
        std::ofstream script(opener);
        // Only shell built-ins: PATH holds nothing but this folder.
        script << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > " << record << "\n";
    }
    fs::permissions(opener, fs::perms::owner_all);
    const std::string address = "https://example.invalid/a b;touch " + (folder / "pwned").string() + "$(id)";
    {
        PathOverride path(folder);
        EXPECT_TRUE(OpenWebAddress(address.c_str()));
    }
    std::stringstream got;
    for (int i = 0; i < 300 && got.str().find(address) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        got.str("");
        got << std::ifstream(record).rdbuf();
    }
    EXPECT_EQ(got.str(), "1|" + address + "|");
    EXPECT_FALSE(fs::exists(folder / "pwned"));

    fs::remove(opener);
    {
        PathOverride path(folder);
        EXPECT_FALSE(OpenWebAddress(address.c_str())); // no opener to start
    }
    EXPECT_FALSE(OpenWebAddress(""));
    fs::remove_all(folder);
}
