#include "fuzz/machine_checks.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "core/execution.h"
#include "toolkit/headless/headless.h"

namespace lumvexor::fuzz {

namespace {

constexpr std::int32_t PictureSize = FrameBuffer::MaxColumns * FrameBuffer::MaxRows;

constexpr std::string_view ModeSwitchCaption = "VuzeZizezer";
constexpr std::string_view LoadFailureCaption = "Lumvexor issue detected";

bool isMode(const FrameBuffer& fb, std::int32_t columns, std::int32_t rows, std::int32_t width,
            std::int32_t height)
{
    return fb.columns == columns && fb.rows == rows && fb.modeWidth == width &&
           fb.modeHeight == height;
}

// Runs after every step over all 8192 elements, so it is kept to one branch-free
// pass that the compiler can vectorise, outside the sanitizers' instrumentation
// (it reads only the frame buffer's own array); the rule broken is found after.
__attribute__((no_sanitize("address", "undefined"))) bool pixelsWellFormed(const FrameBuffer& fb)
{
    const std::int32_t* pixels = fb.pixels.data();
    const std::int32_t inPicture = std::clamp(fb.columns * fb.rows, 0, PictureSize);
    unsigned bad = 0;
    for (std::int32_t index = 0; index < inPicture; ++index) {
        bad |= static_cast<unsigned>(pixels[index] != PixelDark && pixels[index] != PixelLit);
    }
    for (std::int32_t index = inPicture; index < PictureSize; ++index) {
        bad |= static_cast<unsigned>(pixels[index]);
    }
    return bad == 0;
}

void checkPixels(const FrameBuffer& fb)
{
    if (pixelsWellFormed(fb)) {
        return;
    }
    const std::int32_t inPicture = fb.columns * fb.rows;
    for (std::int32_t index = 0; index < PictureSize; ++index) {
        const std::int32_t pixel = fb.pixels[static_cast<std::size_t>(index)];
        if (index < inPicture) {
            if (pixel != PixelDark && pixel != PixelLit) {
                fail("pixel (%d, %d) holds 0x%X", index / fb.rows, index % fb.rows,
                     static_cast<unsigned>(pixel));
            }
        } else if (pixel != PixelDark) {
            fail("element %d, outside the %d x %d picture, holds 0x%X", index, fb.columns,
                 fb.rows, static_cast<unsigned>(pixel));
        }
    }
}

void checkPictureDark(const FrameBuffer& fb)
{
    for (std::int32_t index = 0; index < PictureSize; ++index) {
        if (fb.pixels[static_cast<std::size_t>(index)] != PixelDark) {
            fail("element %d of the picture is not dark after a load", index);
        }
    }
}

struct Snapshot {
    std::int32_t PC;
    std::int32_t I;
    std::int32_t SP;
    std::array<std::uint8_t, 16> V;
    double delayTimer;
    std::int32_t soundTimer;
    std::int32_t bootMode;
    DisplayMode mode;
    std::size_t toneRequests;
    std::size_t messageBoxes;
    std::uint8_t high;
    std::uint8_t low;
};

Snapshot takeSnapshot(const Machine& m)
{
    const MachineState& s = m.machine;
    return {s.PC,
            s.I,
            s.SP,
            s.V,
            s.delayTimer,
            s.soundTimer,
            m.host.bootMode,
            displayModeOf(m.frameBuffer),
            headless::toneRequests().size(),
            headless::messageBoxes().size(),
            readByte(s, s.PC),
            readByte(s, addressPlus(s.PC, 1))};
}

void checkDelayStep(const Machine& m, const Snapshot& before)
{
    const MachineState& s = m.machine;
    if (s.delayTimer != before.delayTimer + -0.1) {
        fail("a pause step took the delay timer from %.17g to %.17g", before.delayTimer,
             s.delayTimer);
    }
    if (s.PC != before.PC || s.I != before.I || s.SP != before.SP || s.V != before.V) {
        fail("a pause step changed PC, I, SP or V (PC 0x%X -> 0x%X)",
             static_cast<unsigned>(before.PC), static_cast<unsigned>(s.PC));
    }
    if (s.soundTimer != before.soundTimer ||
        headless::toneRequests().size() != before.toneRequests) {
        fail("a pause step ran the sound timer (%d -> %d)", before.soundTimer, s.soundTimer);
    }
    if (headless::messageBoxes().size() != before.messageBoxes) {
        fail("a pause step showed a message box");
    }
}

bool isFX(const Snapshot& before, std::uint8_t low)
{
    return (before.high >> 4) == 0xF && before.low == low;
}

bool isRestart(const Snapshot& before)
{
    return before.high == 0x00 && before.low == 0xFD;
}

// An executed step ends with the sound timer's count-down: one tone request, at
// the rate the lowered timer gives, whenever the timer was above 0 after the
// instruction. Only FX18 and 00FD (the reset) give it a new value.
void checkSound(const Machine& m, const Snapshot& before)
{
    std::int32_t afterInstruction = before.soundTimer;
    if (isFX(before, 0x18)) {
        afterInstruction = m.machine.V[before.high & 0xF];
    } else if (isRestart(before)) {
        afterInstruction = 0;
    }
    const bool runs = afterInstruction > 0;
    const std::int32_t expected = runs ? afterInstruction - 1 : afterInstruction;
    if (m.machine.soundTimer != expected) {
        fail("the sound timer is %d after a step that found it at %d, expected %d",
             m.machine.soundTimer, before.soundTimer, expected);
    }
    const auto& requests = headless::toneRequests();
    const std::size_t made = requests.size() - before.toneRequests;
    if (made != (runs ? 1u : 0u)) {
        fail("%zu tone requests in a step with the sound timer at %d", made, afterInstruction);
    }
    if (runs && (requests.back().rate != expected * 100 + 45000 || requests.back().volume != 25)) {
        fail("tone request at rate %d volume %d with the sound timer at %d",
             requests.back().rate, requests.back().volume, expected);
    }
}

// An executed step changes the delay timer only by FX15 and by the reset of 00FD.
void checkDelayUnchanged(const Machine& m, const Snapshot& before)
{
    if (!isFX(before, 0x15) && !isRestart(before) && m.machine.delayTimer != before.delayTimer) {
        fail("instruction %02X%02X changed the delay timer from %.17g to %.17g", before.high,
             before.low, before.delayTimer, m.machine.delayTimer);
    }
}

void checkMessageBoxes(const Snapshot& before)
{
    const auto& boxes = headless::messageBoxes();
    const std::size_t shown = boxes.size() - before.messageBoxes;
    if (shown > 1) {
        fail("one step showed %zu message boxes", shown);
    }
    if (shown == 1 && boxes.back().caption != ModeSwitchCaption &&
        boxes.back().caption != LoadFailureCaption) {
        fail("a message box with the caption \"%s\"", boxes.back().caption.c_str());
    }
}

} // namespace

void fail(const char* format, ...)
{
    std::fputs("machine check failed: ", stderr);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    __builtin_trap();
}

DisplayMode displayModeOf(const FrameBuffer& fb)
{
    if (isMode(fb, 64, 32, 256, 150)) {
        return DisplayMode::LowRes;
    }
    if (isMode(fb, 128, 64, 512, 280)) {
        return DisplayMode::HighRes;
    }
    fail("the frame buffer is %d x %d (%d, %d), no display mode", fb.columns, fb.rows,
         fb.modeWidth, fb.modeHeight);
}

void checkBetweenSteps(const Machine& m)
{
    const MachineState& s = m.machine;
    displayModeOf(m.frameBuffer);
    checkPixels(m.frameBuffer);
    if (s.SP < 0 || s.SP > StackDepth) {
        fail("SP is %d", s.SP);
    }
    if (s.jumped != 0) {
        fail("jumped is %d between steps", s.jumped);
    }
    // FX15 sets at most 255 and the pause never takes it below -0.1.
    if (!(s.delayTimer >= -0.1 && s.delayTimer <= 255.0)) {
        fail("the delay timer is %.17g", s.delayTimer);
    }
    if (s.soundTimer < 0 || s.soundTimer > 255) {
        fail("the sound timer is %d", s.soundTimer);
    }
    if (m.host.bootMode != 0 && m.host.bootMode != 1) {
        fail("bootMode is %d", m.host.bootMode);
    }
}

void checkFreshLoad(const Machine& m, const std::optional<std::vector<std::uint8_t>>& image,
                    DisplayMode modeBefore)
{
    const MachineState& s = m.machine;
    if (!std::equal(SmallFont.begin(), SmallFont.end(), s.memory.begin())) {
        fail("the small font is not at 0x000 after a load");
    }
    if (!std::equal(LargeFont.begin(), LargeFont.end(), s.memory.begin() + LargeFontStart)) {
        fail("the large font is not at 0x050 after a load");
    }
    const auto zero = [](std::uint8_t byte) { return byte == 0; };
    if (!std::all_of(s.memory.begin() + RegisterStore, s.memory.begin() + ProgramStart, zero)) {
        fail("0x0F0 .. 0x1FF are not zero after a load");
    }
    const std::size_t loaded =
        image ? std::min<std::size_t>(image->size(), MaxRomImageSize) : std::size_t{0};
    if (image && !std::equal(image->begin(), image->begin() + static_cast<std::ptrdiff_t>(loaded),
                             s.memory.begin() + ProgramStart)) {
        fail("memory from 0x200 does not hold the %zu bytes of the file", loaded);
    }
    const auto rest = s.memory.begin() + ProgramStart + static_cast<std::ptrdiff_t>(loaded);
    if (const auto nonZero = std::find_if_not(rest, s.memory.end(), zero); nonZero != s.memory.end()) {
        fail("memory at 0x%zX is 0x%02X behind a %zu-byte image",
             static_cast<std::size_t>(nonZero - s.memory.begin()), *nonZero, loaded);
    }
    const bool zeroStack = std::all_of(s.stack.begin(), s.stack.end(), [](std::int32_t e) { return e == 0; });
    const bool zeroV = std::all_of(s.V.begin(), s.V.end(), zero);
    if (s.PC != ProgramStart || s.I != 0 || s.SP != 0 || !zeroStack || !zeroV ||
        s.jumped != 0 || s.soundTimer != 0 || s.delayTimer != 20.0) {
        fail("registers not reset by a load: PC 0x%X I 0x%X SP %d delay %.17g sound %d",
             static_cast<unsigned>(s.PC), static_cast<unsigned>(s.I), s.SP, s.delayTimer,
             s.soundTimer);
    }
    if (m.host.bootMode != 0) {
        fail("bootMode is %d after loading a ROM image", m.host.bootMode);
    }
    const DisplayMode expectedMode = image ? DisplayMode::LowRes : modeBefore;
    if (displayModeOf(m.frameBuffer) != expectedMode) {
        fail("the display mode after a load is %s",
             displayModeOf(m.frameBuffer) == DisplayMode::LowRes ? "LowRes" : "HighRes");
    }
    checkPictureDark(m.frameBuffer);
}

void stepAndCheck(Machine& m, const Surroundings& surroundings)
{
    const Snapshot before = takeSnapshot(m);
    const bool pause = before.delayTimer > 0.0;

    executeStep(m.machine, m.frameBuffer, m.host);

    checkBetweenSteps(m);
    checkMessageBoxes(before);
    if (pause) {
        checkDelayStep(m, before);
        return;
    }
    checkSound(m, before);
    checkDelayUnchanged(m, before);
    const std::int32_t speed = m.host.speed;
    if (speed != surroundings.startSpeed && speed != NormalSpeed && speed != HighResSpeed) {
        fail("speed is %d", speed);
    }
    if (m.host.bootMode != before.bootMode && m.host.bootMode != 0) {
        fail("a step set bootMode to %d", m.host.bootMode);
    }
    if (isRestart(before)) {
        checkFreshLoad(m, surroundings.romImage, before.mode);
        const std::size_t shown = headless::messageBoxes().size() - before.messageBoxes;
        if (shown != (surroundings.romImage ? 0u : 1u)) {
            fail("00FD showed %zu message boxes", shown);
        }
    }
}

} // namespace lumvexor::fuzz
