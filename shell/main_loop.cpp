#include <cstdio>
#include <memory>
#include <string>

#include "core/execution.h"
#include "core/timers.h"
#include "shell/shell.h"
#include "toolkit/toolkit.h"

namespace lumvexor {

bool startUp(Shell& shell)
{
    toolkit::startScreen();
    toolkit::startKeyboard();
    toolkit::startSound();
    toolkit::loadTone(ToneSample);

    if (!toolkit::openMainWindow(WindowTitle, ScreenWidth, ScreenHeight, 100, 100)) {
        return false;
    }
    if (toolkit::createMenuBar()) {
        buildMenuBar();
    }
    toolkit::openScreen(ScreenWidth, ScreenHeight);
    toolkit::setFrameRate(FrameRate);
    shell.sprites = createSprites();

    shell.nextTime = toolkit::milliseconds();
    shell.sliceCount = 0;

    loadBootProgramSequence(shell.machine, shell.frameBuffer, shell.host);
    shell.host.speed = NormalSpeed;
    return true;
}

void runSlice(Shell& shell)
{
    // The clock is 64-bit, so the test that it has passed its start-up reading
    // cannot wrap. The clock is read afresh before every step.
    shell.sliceCount = 0;
    while (toolkit::milliseconds() > shell.nextTime && shell.sliceCount < shell.host.speed) {
        executeStep(shell.machine, shell.frameBuffer, shell.host);
        ++shell.sliceCount;
    }
}

Outcome runPass(Shell& shell)
{
    const toolkit::Event event = toolkit::pollEvent();
    if (event == toolkit::Event::CloseRequest) {
        return Outcome::Exit;
    }
    if (event == toolkit::Event::Menu &&
        carryOutCommand(shell, toolkit::menuItemId()) == Outcome::Exit) {
        return Outcome::Exit;
    }
    if (event != toolkit::Event::None) {
        return Outcome::Continue; // the queue is drained before a slice runs
    }
    runSlice(shell);
    drawFrame(shell.sprites, shell.frameBuffer, shell.host);
    return Outcome::Continue;
}

int runEmulator()
{
    const std::string failure = toolkit::startServices();
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    // The record holds the machine's memory: on the heap, made once, kept to the end.
    const auto shell = std::make_unique<Shell>();
    if (!startUp(*shell)) {
        std::fprintf(stderr, "Lumvexor: the main window could not be opened.\n");
        toolkit::shutDownServices();
        return 1;
    }
    while (runPass(*shell) == Outcome::Continue) {
    }
    toolkit::shutDownServices();
    return 0;
}

} // namespace lumvexor
