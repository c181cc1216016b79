// PlaySound and the beep.
//
// One sound plays at a time; a new one stops the old. Sounds go to the installed sink; when none is
// installed an SDL2 sink is made on the first sound (tests install a RecordingSoundSink first). Without an
// output device PlaySound answers FALSE with ERROR_DEVICE_NOT_CONNECTED.
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/sound/SoundSink.h"

#include <functional>
#include <memory>
#include <vector>

#define SND_SYNC 0x00000000
#define SND_ASYNC 0x00000001
#define SND_NODEFAULT 0x00000002
#define SND_MEMORY 0x00000004
#define SND_LOOP 0x00000008
#define SND_NOSTOP 0x00000010
#define SND_PURGE 0x00000040
#define SND_APPLICATION 0x00000080
#define SND_NOWAIT 0x00002000
#define SND_ALIAS 0x00010000
#define SND_FILENAME 0x00020000
#define SND_RESOURCE 0x00040004
#define SND_ALIAS_ID 0x00110000
#define SND_SYSTEM 0x00200000

// Where the sound comes from:
// - SND_RESOURCE: a WAVE resource of that name (or MAKEINTRESOURCE id), through the resource resolver; the
//   module handle is not used.
// - SND_MEMORY: the address of a RIFF image, whose size the image's own header gives.
// - SND_ALIAS (or no source flag and a known alias): "SystemDefault", "SystemAsterisk",
//   "SystemExclamation", "SystemHand", "SystemQuestion", "SystemStart", "SystemExit" play the beep.
// - SND_FILENAME (or no source flag otherwise): a .wav file.
// A null name or SND_PURGE stops the sound and answers TRUE. SND_ASYNC returns once the sound starts,
// otherwise the call returns when it has ended (or another call stopped it). SND_LOOP needs SND_ASYNC
// (ERROR_INVALID_PARAMETER). SND_NOSTOP answers FALSE while a sound plays, leaving it alone. A sound that is
// not found plays the beep unless SND_NODEFAULT, and answers FALSE (ERROR_FILE_NOT_FOUND,
// ERROR_RESOURCE_NAME_NOT_FOUND); one that is no PCM WAVE answers FALSE with ERROR_BAD_FORMAT. SND_PURGE
// stops whichever sound plays; SND_NOWAIT, SND_APPLICATION and SND_SYSTEM change nothing.
BOOL PlaySoundW(LPCWSTR name, HMODULE module, DWORD flags);
#define PlaySound PlaySoundW

// The beep of a message-box kind (MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_OK or
// 0xFFFFFFFF): a short tone of its own pitch through the sink. It never cuts off a sound that plays (a tick
// matters more than a beep) and always answers TRUE, device or not. The window core's MessageBeep hands over
// to it once installed as its beep handler.
BOOL SoundMessageBeep(UINT type);

// Finds a WAVE resource by name (or MAKEINTRESOURCE id); installed by the resource layer.
using SoundResourceResolver = std::function<bool(LPCWSTR name, std::vector<BYTE>& wave)>;
// Each answers the previous one. Installing a sink stops the sound of the old one; a null sink returns to
// the SDL2 sink made on demand.
SoundResourceResolver SoundSetResourceResolver(SoundResourceResolver resolver);
std::shared_ptr<SoundSink> SoundSetSink(std::shared_ptr<SoundSink> sink);
