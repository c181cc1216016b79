#include "platform/sound/Sound.h"

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/sound/SdlSoundSink.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace {

// Larger files are not sounds a program plays as a notice.
constexpr std::streamoff kMaxFileBytes = 64 << 20;
constexpr size_t kMaxMemoryImage = 64u << 20;
constexpr UINT kSimpleBeep = 0xFFFFFFFF;

struct Player {
    std::mutex mutex;
    std::shared_ptr<SoundSink> sink;
    SoundResourceResolver resolver;
};

Player& ThePlayer() {
    static Player* player = new Player; // outlives static destructors
    return *player;
}

std::shared_ptr<SoundSink> CurrentSink() {
    Player& p = ThePlayer();
    std::lock_guard lock(p.mutex);
    if (!p.sink) {
        p.sink = std::make_shared<SdlSoundSink>();
    }
    return p.sink;
}

bool IsIntResource(LPCWSTR name) {
    return reinterpret_cast<ULONG_PTR>(name) >> 16 == 0;
}

std::u16string NameOf(LPCWSTR name) {
    if (IsIntResource(name)) {
        return u"#" + Utf8ToUtf16(std::to_string(reinterpret_cast<ULONG_PTR>(name)));
    }
    return name;
}

double BeepPitch(UINT type) {
    switch (type & 0xF0u) {
    case 0x10: // hand
        return 330.0;
    case 0x20: // question
        return 660.0;
    case 0x30: // exclamation
        return 523.0;
    case 0x40: // asterisk
        return 1046.0;
    default:
        return type == kSimpleBeep ? 750.0 : 880.0;
    }
}

SoundClip BeepClip(UINT type, std::u16string name) {
    return SoundClip{std::move(name), ToneSound(BeepPitch(type), 150), false};
}

std::optional<UINT> AliasBeep(LPCWSTR name) {
    if (IsIntResource(name)) {
        return std::nullopt;
    }
    static const std::array<std::pair<std::u16string_view, UINT>, 7> aliases = {{
        {u"SystemDefault", 0},
        {u"SystemAsterisk", 0x40},
        {u"SystemExclamation", 0x30},
        {u"SystemHand", 0x10},
        {u"SystemQuestion", 0x20},
        {u"SystemStart", 0},
        {u"SystemExit", 0},
    }};
    std::u16string_view wanted(name);
    for (const auto& [alias, type] : aliases) {
        if (alias.size() == wanted.size() &&
            std::equal(alias.begin(), alias.end(), wanted.begin(), [](char16_t a, char16_t b) {
                auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
                return lower(a) == lower(b);
            })) {
            return type;
        }
    }
    return std::nullopt;
}

bool ReadFile(LPCWSTR name, std::vector<BYTE>& bytes) {
    if (IsIntResource(name)) {
        return false;
    }
    std::ifstream in(Utf16ToUtf8(name), std::ios::binary | std::ios::ate);
    if (!in) {
        return false;
    }
    std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

BOOL Start(SoundSink& sink, SoundClip clip, DWORD flags) {
    std::uint64_t ticket = sink.Play(std::move(clip));
    if (!ticket) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    if (!(flags & SND_ASYNC)) {
        sink.Wait(ticket);
    }
    return TRUE;
}

BOOL NotFound(SoundSink& sink, DWORD flags, DWORD error) {
    if (!(flags & SND_NODEFAULT)) {
        Start(sink, BeepClip(0, u"SystemDefault"), flags & SND_ASYNC);
    }
    SetLastError(error);
    return FALSE;
}

} // namespace

BOOL PlaySoundW(LPCWSTR name, HMODULE, DWORD flags) {
    std::shared_ptr<SoundSink> sink = CurrentSink();
    if (!name || (flags & SND_PURGE)) {
        sink->Stop();
        return TRUE;
    }
    if ((flags & SND_LOOP) && !(flags & SND_ASYNC)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((flags & SND_NOSTOP) && sink->IsPlaying()) {
        return FALSE;
    }
    bool loop = (flags & SND_LOOP) != 0;
    std::vector<BYTE> image;
    const BYTE* bytes = nullptr;
    size_t size = 0;
    if (flags & (SND_RESOURCE & ~SND_MEMORY)) { // SND_RESOURCE includes the SND_MEMORY bit
        SoundResourceResolver resolver;
        {
            Player& p = ThePlayer();
            std::lock_guard lock(p.mutex);
            resolver = p.resolver;
        }
        if (!resolver || !resolver(name, image)) {
            return NotFound(*sink, flags, ERROR_RESOURCE_NAME_NOT_FOUND);
        }
        bytes = image.data();
        size = image.size();
    } else if (flags & SND_MEMORY) {
        bytes = reinterpret_cast<const BYTE*>(name);
        size = RiffImageSize(bytes);
        if (size == 0 || size > kMaxMemoryImage) {
            SetLastError(ERROR_BAD_FORMAT);
            return FALSE;
        }
    } else if (std::optional<UINT> beep = (flags & SND_FILENAME) ? std::nullopt : AliasBeep(name)) {
        SoundClip clip = BeepClip(*beep, NameOf(name));
        clip.loop = loop;
        return Start(*sink, std::move(clip), flags);
    } else if (flags & SND_ALIAS) {
        return NotFound(*sink, flags, ERROR_FILE_NOT_FOUND);
    } else {
        if (!ReadFile(name, image)) {
            return NotFound(*sink, flags, ERROR_FILE_NOT_FOUND);
        }
        bytes = image.data();
        size = image.size();
    }
    SoundClip clip;
    if (!ParseWave(bytes, size, clip.sound)) {
        SetLastError(ERROR_BAD_FORMAT);
        return FALSE;
    }
    if (bytes != reinterpret_cast<const BYTE*>(name)) { // an image in memory has no name
        clip.name = NameOf(name);
    }
    clip.loop = loop;
    return Start(*sink, std::move(clip), flags);
}

BOOL SoundMessageBeep(UINT type) {
    std::shared_ptr<SoundSink> sink = CurrentSink();
    if (!sink->IsPlaying()) {
        sink->Play(BeepClip(type, u"MessageBeep"));
    }
    return TRUE;
}

SoundResourceResolver SoundSetResourceResolver(SoundResourceResolver resolver) {
    Player& p = ThePlayer();
    std::lock_guard lock(p.mutex);
    std::swap(p.resolver, resolver);
    return resolver;
}

std::shared_ptr<SoundSink> SoundSetSink(std::shared_ptr<SoundSink> sink) {
    Player& p = ThePlayer();
    std::shared_ptr<SoundSink> old;
    {
        std::lock_guard lock(p.mutex);
        old = std::exchange(p.sink, std::move(sink));
    }
    if (old) {
        old->Stop();
    }
    return old;
}
