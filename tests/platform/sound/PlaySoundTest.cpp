// PlaySound and the beep through a recording sink: where sounds come from, sync and async, one sound at a
// time, stopping, failures; and the SDL2 sink once over SDL's dummy driver, which has no device behind it.
#include "platform/sound/Sound.h"

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/sound/RecordingSoundSink.h"
#include "platform/sound/SdlSoundSink.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include <unistd.h>

namespace {

std::vector<BYTE> Wave(WORD channels, DWORD rate, WORD bits, size_t frames) {
    WaveFormat format{channels, rate, bits};
    std::vector<BYTE> samples(frames * format.BlockAlign(), 0x80);
    return BuildWave(format, samples.data(), samples.size());
}

LPCWSTR IntResource(ULONG_PTR id) {
    return reinterpret_cast<LPCWSTR>(id);
}

class PlaySoundTest : public ::testing::Test {
protected:
    PlaySoundTest() {
        SoundSetSink(sink);
        SoundSetResourceResolver([this](LPCWSTR name, std::vector<BYTE>& wave) {
            std::u16string key = reinterpret_cast<ULONG_PTR>(name) >> 16
                                     ? std::u16string(name)
                                     : u"#" + Utf8ToUtf16(std::to_string(reinterpret_cast<ULONG_PTR>(name)));
            auto it = resources.find(key);
            if (it == resources.end()) {
                return false;
            }
            wave = it->second;
            return true;
        });
    }
    ~PlaySoundTest() override {
        SoundSetResourceResolver({});
        SoundSetSink(std::make_shared<RecordingSoundSink>());
    }

    std::vector<std::u16string> PlayedNames() const {
        std::vector<std::u16string> names;
        for (const auto& r : sink->Played()) {
            names.push_back(r.name);
        }
        return names;
    }

    std::shared_ptr<RecordingSoundSink> sink = std::make_shared<RecordingSoundSink>();
    std::map<std::u16string, std::vector<BYTE>> resources = {
        {u"SOUND_MIN_TICK", Wave(1, 22050, 16, 441)},
        {u"SOUND_SEC_TICK", Wave(2, 11025, 8, 100)},
        {u"SOUND_WARN_TICK", Wave(1, 44100, 16, 2000)},
        {u"#7", Wave(1, 8000, 8, 80)},
        {u"BROKEN", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
    };
};

TEST_F(PlaySoundTest, SoundsComeFromResourcesMemoryAndFilesAndEachStopsTheOneBefore) {
    const char* scratch = std::getenv("DOLIVA_TEST_SCRATCH");
    std::filesystem::path dir =
        scratch ? std::filesystem::path(scratch) : std::filesystem::temp_directory_path();
    std::filesystem::path file = dir / ("doliva-sound-" + std::to_string(::getpid()) + ".wav");
    {
        std::vector<BYTE> image = Wave(2, 48000, 16, 480);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), image.size());
    }
    std::vector<BYTE> memory = Wave(1, 16000, 16, 160);
    memory.resize(memory.size() + 64, 0xEE); // past the image's own size, never read

    EXPECT_TRUE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE | SND_ASYNC));
    EXPECT_TRUE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT));
    EXPECT_TRUE(PlaySoundW(IntResource(7), nullptr, SND_RESOURCE | SND_ASYNC));
    EXPECT_TRUE(PlaySoundW(reinterpret_cast<LPCWSTR>(memory.data()), nullptr, SND_MEMORY | SND_ASYNC));
    std::u16string path = Utf8ToUtf16(file.string());
    EXPECT_TRUE(PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_TRUE(PlaySoundW(path.c_str(), nullptr, SND_ASYNC)); // no source flag: a file, not an alias
    std::filesystem::remove(file);

    auto played = sink->Played();
    ASSERT_EQ(played.size(), 6u);
    EXPECT_EQ(PlayedNames(),
              (std::vector<std::u16string>{u"SOUND_MIN_TICK", u"SOUND_SEC_TICK", u"#7", u"", path, path}));
    EXPECT_EQ(played[0].format, (WaveFormat{1, 22050, 16}));
    EXPECT_EQ(played[0].frames, 441u);
    EXPECT_EQ(played[1].format, (WaveFormat{2, 11025, 8}));
    EXPECT_EQ(played[2].frames, 80u);
    EXPECT_EQ(played[3].format, (WaveFormat{1, 16000, 16}));
    EXPECT_EQ(played[3].frames, 160u);
    EXPECT_EQ(played[4].format, (WaveFormat{2, 48000, 16}));
    EXPECT_EQ(sink->Current(), path); // only the last one plays
}

TEST_F(PlaySoundTest, SyncReturnsWhenTheSoundEndsOrAnotherCallStopsIt) {
    BOOL result = FALSE;
    std::thread player([&] { result = PlaySoundW(u"SOUND_WARN_TICK", nullptr, SND_RESOURCE | SND_SYNC); });
    ASSERT_TRUE(sink->AwaitWaiters(1));
    sink->Finish();
    player.join();
    EXPECT_TRUE(result);

    std::thread interrupted([&] { result = PlaySoundW(u"SOUND_WARN_TICK", nullptr, SND_RESOURCE); });
    ASSERT_TRUE(sink->AwaitWaiters(1));
    EXPECT_TRUE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_ASYNC)); // replaces it
    interrupted.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(sink->Current(), u"SOUND_SEC_TICK");

    std::thread stopped([&] { result = PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE); });
    ASSERT_TRUE(sink->AwaitWaiters(1));
    EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));
    stopped.join();
    EXPECT_TRUE(result);
    EXPECT_FALSE(sink->IsPlaying());
}

TEST_F(PlaySoundTest, NoStopLoopAndPurge) {
    ASSERT_TRUE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP));
    EXPECT_TRUE(sink->Played().back().loop);
    EXPECT_FALSE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_ASYNC | SND_NOSTOP));
    EXPECT_EQ(sink->Current(), u"SOUND_MIN_TICK");
    EXPECT_EQ(sink->Played().size(), 1u);

    SetLastError(0);
    EXPECT_FALSE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_LOOP)); // a sync loop never ends
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(sink->Current(), u"SOUND_MIN_TICK");

    EXPECT_TRUE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_PURGE));
    EXPECT_EQ(sink->Current(), std::nullopt);
    EXPECT_TRUE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_ASYNC | SND_NOSTOP));
    EXPECT_EQ(sink->Current(), u"SOUND_SEC_TICK");
}

TEST_F(PlaySoundTest, MissingSoundsPlayTheDefaultUnlessToldNotToAndBrokenOnesNothing) {
    struct Case {
        LPCWSTR name;
        DWORD flags;
        DWORD error;
        bool defaultPlays;
    };
    const Case cases[] = {
        {u"SOUND_NONE", SND_RESOURCE | SND_ASYNC, ERROR_RESOURCE_NAME_NOT_FOUND, true},
        {u"SOUND_NONE", SND_RESOURCE | SND_ASYNC | SND_NODEFAULT, ERROR_RESOURCE_NAME_NOT_FOUND, false},
        {u"/nonexistent/tick.wav", SND_FILENAME | SND_ASYNC, ERROR_FILE_NOT_FOUND, true},
        {u"NoSuchAlias", SND_ALIAS | SND_ASYNC | SND_NODEFAULT, ERROR_FILE_NOT_FOUND, false},
        {u"BROKEN", SND_RESOURCE | SND_ASYNC, ERROR_BAD_FORMAT, false},
        {reinterpret_cast<LPCWSTR>("JUNKJUNKJUNK"), SND_MEMORY | SND_ASYNC, ERROR_BAD_FORMAT, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        size_t before = sink->Played().size();
        EXPECT_FALSE(PlaySoundW(c.name, nullptr, c.flags));
        EXPECT_EQ(GetLastError(), c.error);
        auto played = sink->Played();
        ASSERT_EQ(played.size(), before + (c.defaultPlays ? 1 : 0));
        if (c.defaultPlays) {
            EXPECT_EQ(played.back().name, u"SystemDefault");
        }
    }

    // Without a resolver no resource is found.
    SoundSetResourceResolver({});
    EXPECT_FALSE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

    // Known aliases play the beep.
    EXPECT_TRUE(PlaySoundW(u"systemexclamation", nullptr, SND_ALIAS | SND_ASYNC));
    EXPECT_EQ(sink->Current(), u"systemexclamation");
}

TEST_F(PlaySoundTest, WithoutADeviceSoundsFailAndTheBeepStillAnswersTrue) {
    sink->SetDeviceAvailable(false);
    SetLastError(0);
    EXPECT_FALSE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE | SND_ASYNC));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_FALSE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE | SND_SYNC)); // and does not wait
    EXPECT_TRUE(SoundMessageBeep(0x30));
    EXPECT_TRUE(sink->Played().empty());
}

TEST_F(PlaySoundTest, TheBeepHasAPitchPerKindAndNeverCutsOffASound) {
    ASSERT_TRUE(SoundMessageBeep(0x10));
    sink->Finish();
    ASSERT_TRUE(SoundMessageBeep(0x40));
    sink->Finish();
    auto played = sink->Played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].name, u"MessageBeep");
    EXPECT_GT(played[0].frames, 0u);
    EXPECT_NE(played[0].samples, played[1].samples);

    ASSERT_TRUE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_ASYNC));
    EXPECT_TRUE(SoundMessageBeep(0xFFFFFFFF));
    EXPECT_EQ(sink->Current(), u"SOUND_SEC_TICK");
    EXPECT_EQ(sink->Played().size(), 3u);
}

// SDL's dummy driver, picked explicitly, runs the real sink's conversion and callback without any device.
TEST(SdlSoundSink, PlaysThroughTheDummyDriverAndWaitsForTheEnd) {
    SdlSoundSink sdl("dummy");
    std::uint64_t ticket = sdl.Play(SoundClip{u"tone", ToneSound(440.0, 40, 8000), false});
    if (ticket == 0) {
        GTEST_SKIP() << "SDL has no dummy audio driver here: " << SDL_GetError();
    }
    sdl.Wait(ticket);
    EXPECT_FALSE(sdl.IsPlaying());

    ticket = sdl.Play(SoundClip{u"loop", ToneSound(440.0, 10, 22050), true});
    ASSERT_NE(ticket, 0u);
    EXPECT_TRUE(sdl.IsPlaying());
    std::thread stopper([&] { sdl.Stop(); });
    sdl.Wait(ticket);
    stopper.join();
    EXPECT_FALSE(sdl.IsPlaying());
}

} // namespace
