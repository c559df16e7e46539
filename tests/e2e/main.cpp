// One virtual desktop for the whole run; every scenario starts its own emulator on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "tests/e2e/desktop.h"

#ifndef LUMVEXOR_E2E_ARTIFACTS
#error "LUMVEXOR_E2E_ARTIFACTS must name the folder for the scenarios' files"
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    try {
        e2e::Desktop::start(LUMVEXOR_E2E_ARTIFACTS);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "The desktop for the end-to-end tests could not be started: %s\n", failure.what());
        return 1;
    }
    std::printf("[ desktop  ] X server on %s with openbox\n", e2e::Desktop::display().c_str());
    const int result = RUN_ALL_TESTS();
    e2e::Desktop::stop();
    if (result == 0) {
        // The server's and window manager's log is kept only for a failing run.
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(LUMVEXOR_E2E_ARTIFACTS) / "desktop.log", ignored);
        std::filesystem::remove(LUMVEXOR_E2E_ARTIFACTS, ignored); // only when empty
    }
    return result;
}
