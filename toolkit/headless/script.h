#pragma once

// The one scripted state behind the headless toolkit.

#include <array>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "toolkit/headless/headless.h"

namespace headless {

struct Script {
    // Keyboard.
    std::array<bool, 256> held{};     // scan codes held by the script
    std::array<bool, 256> snapshot{}; // the state the last poll saw
    bool windowActive = true;
    long long keyboardPolls = 0;
    // Random source.
    std::mt19937 random{1};
    int lastRandomByte = -1;
    long randomDraws = 0;
    // Dialogs and sound.
    bool keepRecords = true;
    std::vector<MessageBox> messageBoxes;
    long long messageBoxCount = 0;
    bool echoMessageBoxes = false;
    int toneRate = 44100;
    std::vector<ToneRequest> toneRequests;
    long long toneRequestCount = 0;
    ToneRequest lastToneRequest{44100, 0};
    // Start-up, window and events.
    std::string startFailure;
    bool windowOpens = true;
    bool windowOpen = false;
    std::vector<std::string> calls;
    std::deque<toolkit::Event> events;
    std::deque<int> menuIds;
    int menuItemId = 0;
    std::int64_t clock = 0;
    std::deque<std::string> fileAnswers;
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> webAddresses;
    int flips = 0;
    toolkit::raster::Image presented;
};

Script& script();

} // namespace headless
