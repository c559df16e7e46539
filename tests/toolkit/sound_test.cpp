// The tone: its wave image read, and played on OpenAL Soft's null device, which mixes
// like a sound card but sends the result nowhere.
#include <AL/al.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/timers.h"
#include "qt_test_support.h"
#include "toolkit/qt/qt_inspect.h"
#include "toolkit/qt/wave.h"
#include "toolkit/toolkit.h"

namespace {

namespace inspect = toolkit::qt_inspect;
using toolkit::qt::readWave;

// --- Reading the wave image -------------------------------------------------------

void putText(std::vector<std::uint8_t>& bytes, const std::string& text)
{
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void put16(std::vector<std::uint8_t>& bytes, int value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    put16(bytes, static_cast<int>(value & 0xFFFF));
    put16(bytes, static_cast<int>(value >> 16));
}

struct Chunk {
    std::string tag;
    std::vector<std::uint8_t> body;
    std::uint32_t statedSize = 0; // 0: the body's own size
};

Chunk format(int formatTag, int channels, int rate, int bits)
{
    Chunk chunk{"fmt ", {}};
    put16(chunk.body, formatTag);
    put16(chunk.body, channels);
    put32(chunk.body, static_cast<std::uint32_t>(rate));
    put32(chunk.body, static_cast<std::uint32_t>(rate * channels * bits / 8));
    put16(chunk.body, channels * bits / 8);
    put16(chunk.body, bits);
    return chunk;
}

Chunk samples(std::size_t count)
{
    Chunk chunk{"data", {}};
    for (std::size_t i = 0; i < count; ++i) {
        chunk.body.push_back(static_cast<std::uint8_t>(i + 1));
    }
    return chunk;
}

std::vector<std::uint8_t> wave(const std::vector<Chunk>& chunks, const std::string& form = "WAVE")
{
    std::vector<std::uint8_t> bytes;
    putText(bytes, "RIFF");
    put32(bytes, 0);
    putText(bytes, form);
    for (const Chunk& chunk : chunks) {
        putText(bytes, chunk.tag);
        put32(bytes, chunk.statedSize ? chunk.statedSize : static_cast<std::uint32_t>(chunk.body.size()));
        bytes.insert(bytes.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.body.size() % 2 == 1) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

TEST(WaveImage, ToneSampleIsMonoSixteenBitAt44100WithItsSamplesFromTheDataChunk)
{
    const auto tone = readWave(lumvexor::ToneSample);
    ASSERT_TRUE(tone);
    EXPECT_EQ(tone->channels, 1);
    EXPECT_EQ(tone->bitsPerSample, 16);
    EXPECT_EQ(tone->samplesPerSecond, 44100);
    EXPECT_EQ(tone->samples.data(), lumvexor::ToneSample.data() + 80); // past the LIST chunk
    EXPECT_EQ(tone->samples.size(), 17640u);
}

struct ReadCase {
    const char* name;
    std::vector<std::uint8_t> image;
    std::size_t sampleBytes; // 0: no sound
    std::uint8_t firstSample = 1;
};

void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.name;
}

class WaveImages : public ::testing::TestWithParam<ReadCase> {};

TEST_P(WaveImages, SamplesAreFoundOrTheImageIsRefused)
{
    const ReadCase& c = GetParam();
    const auto sound = readWave(c.image);
    if (c.sampleBytes == 0) {
        EXPECT_FALSE(sound);
        return;
    }
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samples.size(), c.sampleBytes);
    EXPECT_EQ(sound->samples.front(), c.firstSample);
}

std::vector<std::uint8_t> cutShort(std::vector<std::uint8_t> image, std::size_t bytes)
{
    image.resize(image.size() - bytes);
    return image;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaveImages,
    ::testing::Values(
        ReadCase{"odd_chunk_before_format_is_skipped",
                 wave({{"LIST", {9, 9, 9}}, format(1, 1, 44100, 16), {"junk", {7}}, samples(8)}), 8},
        ReadCase{"data_before_format", wave({samples(6), format(1, 2, 22050, 8)}), 6},
        ReadCase{"data_cut_to_whole_frames", wave({format(1, 2, 44100, 16), samples(10)}), 8},
        ReadCase{"data_running_past_the_end_is_cut",
                 cutShort(wave({format(1, 1, 44100, 16), {"data", samples(8).body, 100}}), 2), 6},
        ReadCase{"no_riff", [] { auto image = wave({format(1, 1, 44100, 16), samples(8)}); image[0] = 'X'; return image; }(), 0},
        ReadCase{"no_wave", wave({format(1, 1, 44100, 16), samples(8)}, "AVI "), 0},
        ReadCase{"no_format", wave({samples(8)}), 0},
        ReadCase{"no_data", wave({format(1, 1, 44100, 16)}), 0},
        ReadCase{"empty_data", wave({format(1, 1, 44100, 16), samples(0)}), 0},
        ReadCase{"floating_point", wave({format(3, 1, 44100, 32), samples(8)}), 0},
        ReadCase{"twenty_four_bits", wave({format(1, 1, 44100, 24), samples(9)}), 0},
        ReadCase{"three_channels", wave({format(1, 3, 44100, 16), samples(12)}), 0},
        ReadCase{"short_format", wave({{"fmt ", {1, 0, 1, 0}}, samples(8)}), 0},
        ReadCase{"truncated_header", std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 0, 0}, 0}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// --- Playing the tone ---------------------------------------------------------------

class ToneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // OpenAL Soft's null device is there on every machine, sound card or not.
        setenv("ALSOFT_DRIVERS", "null", 0);
        toolkit::startSound();
        ASSERT_TRUE(inspect::audioDevice()) << "no OpenAL device; ALSOFT_DRIVERS=" << std::getenv("ALSOFT_DRIVERS");
        toolkit::loadTone(lumvexor::ToneSample);
        source = inspect::toneSource();
        ASSERT_NE(source, 0u);
    }
    void TearDown() override { toolkit::shutDownServices(); }

    float sourceFloat(ALenum property) const
    {
        ALfloat value = -1;
        alGetSourcef(source, property, &value);
        return value;
    }
    int sourceInt(ALenum property) const
    {
        ALint value = -1;
        alGetSourcei(source, property, &value);
        return value;
    }

    ALuint source = 0;
};

TEST_F(ToneTest, ToneIsOneBufferOfTheSamplesOnASourceWithoutSpatialEffect)
{
    const ALuint buffer = inspect::toneBuffer();
    ALint frequency = 0, channels = 0, bits = 0, size = 0;
    alGetBufferi(buffer, AL_FREQUENCY, &frequency);
    alGetBufferi(buffer, AL_CHANNELS, &channels);
    alGetBufferi(buffer, AL_BITS, &bits);
    alGetBufferi(buffer, AL_SIZE, &size);
    EXPECT_EQ(frequency, 44100);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(size, 17640);

    EXPECT_EQ(sourceInt(AL_BUFFER), static_cast<ALint>(buffer));
    EXPECT_EQ(sourceInt(AL_SOURCE_RELATIVE), AL_TRUE);
    EXPECT_EQ(sourceInt(AL_LOOPING), AL_FALSE);
    ALfloat x = -1, y = -1, z = -1;
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(z, 0.0f);
}

struct PlayCase {
    int rate;
    int volume;
    float gain;
};

void PrintTo(const PlayCase& c, std::ostream* out)
{
    *out << "rate " << c.rate << ", volume " << c.volume;
}

class TonePlays : public ToneTest, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(TonePlays, RateSetsThePitchAndVolumeTheGain)
{
    toolkit::setToneRate(GetParam().rate);
    toolkit::playTone(GetParam().volume);

    EXPECT_FLOAT_EQ(sourceFloat(AL_PITCH), static_cast<float>(GetParam().rate) / 44100.0f);
    EXPECT_FLOAT_EQ(sourceFloat(AL_GAIN), GetParam().gain);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

INSTANTIATE_TEST_SUITE_P(Requests, TonePlays,
                         ::testing::Values(PlayCase{45000, 25, 0.25f}, PlayCase{70400, 25, 0.25f},
                                           PlayCase{44100, 100, 1.0f}, PlayCase{45100, 0, 0.0f}));

TEST_F(ToneTest, PlayRestartsAPlayingToneAndARateChangeReachesIt)
{
    toolkit::setToneRate(1); // so slow that the tone is still at its start when looked at
    toolkit::playTone(25);
    ASSERT_EQ(sourceInt(AL_SOURCE_STATE), AL_PLAYING);
    alSourcei(source, AL_SAMPLE_OFFSET, 6000);
    ASSERT_GE(sourceInt(AL_SAMPLE_OFFSET), 6000);

    toolkit::playTone(25);
    EXPECT_EQ(sourceInt(AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_LT(sourceInt(AL_SAMPLE_OFFSET), 6000);

    toolkit::setToneRate(70400);
    EXPECT_FLOAT_EQ(sourceFloat(AL_PITCH), 70400.0f / 44100.0f);
}

TEST(ToneWithoutDevice, EveryCallIsWithoutEffect)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "lumvexor-no-such-driver", 1);
            toolkit::startSound();
            toolkit::loadTone(lumvexor::ToneSample);
            toolkit::setToneRate(45000);
            toolkit::playTone(25);
            const bool silent = !inspect::audioDevice() && inspect::toneSource() == 0;
            toolkit::shutDownServices();
            std::_Exit(silent ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
