// TrJogSound.cpp - the jog dial's two sounds: stored paths, the defaults of a
// profile file, and the wave-file test both are checked with.
#include "include/TrCommon.h"
#include "env/TrSettingsKey.h"

#include "base/TrGuard.h"
#include "base/TrHandle.h"
#include "base/TrText.h"

#include <cstring>
#include <string>

namespace {

constexpr DWORD kSoundBuffer = 512;

// A profile entry, empty when missing.
std::string ReadProfile(const char* pszProfile, const char* pszKey) {
    char text[kSoundBuffer] = {};
    ::GetPrivateProfileStringA("JogSound", pszKey, "", text, sizeof(text), pszProfile);
    return text;
}

// A sound path into a caller's buffer when it fits with its terminator.
bool Fits(const std::string& sound, DWORD size) { return sound.size() < size; }
void Put(char* buffer, const std::string& sound) { std::memcpy(buffer, sound.c_str(), sound.size() + 1); }

// The two outputs of a failed call: emptied, as the calls empty them first.
int Emptied(std::string& roll, std::string& push) { return roll.clear(), push.clear(), 0; }

}  // namespace

// The extension is compared in upper case; out of memory gives 0.
extern "C" int TRCOMAPI TrJogCfgIsWaveFile(const char* pszPath) {
    if (!pszPath || !*pszPath) return 0;
    const std::string_view path(pszPath);
    const std::size_t slash = tr::FindLastChar(path, '\\');
    const std::string_view fileName = slash == tr::kNotFound ? path : path.substr(slash + 1);
    const std::size_t dot = tr::FindLastChar(fileName, '.');
    if (dot == tr::kNotFound || !tr::Guarded(false, [&] { return tr::ToUpper(fileName.substr(dot)) == ".WAV"; }))
        return 0;
    WIN32_FIND_DATAA fd;
    const tr::FindHandle find(::FindFirstFileA(pszPath, &fd));
    return find.Valid() ? 1 : 0;
}

// Each output takes its stored path only when that names an existing wave
// file; a value that cannot be read counts as empty. Out of memory gives 0
// with both outputs empty.
int TRCOMAPI TrJogCfgReadSound(HKEY hRoot, const char* pszKey, std::string& rollSound, std::string& pushSound) {
    rollSound.clear();
    pushSound.clear();
    const auto read = [&] {
        const tr::SettingsKey key = tr::SettingsKey::ForRead(hRoot, pszKey);
        if (!key.Valid()) return 0;
        std::string roll, push;
        const bool haveRoll = key.ReadText("RollSound", kSoundBuffer, roll);
        const bool havePush = key.ReadText("PushSound", kSoundBuffer, push);
        const bool rollOk = TrJogCfgIsWaveFile(roll.c_str()) != 0;
        const bool pushOk = TrJogCfgIsWaveFile(push.c_str()) != 0;
        if (rollOk) rollSound = roll;
        if (pushOk) pushSound = push;
        return haveRoll && havePush && rollOk && pushOk ? 1 : 0;
    };
    return tr::GuardedElse(read, [&] { return Emptied(rollSound, pushSound); });
}

extern "C" int TRCOMAPI TrJogCfgReadSoundA(HKEY hRoot, const char* pszKey, char* pszRollSound, DWORD dwRollSize,
                                           char* pszPushSound, DWORD dwPushSize) {
    if (!pszRollSound || !dwRollSize || !pszPushSound || !dwPushSize) return 0;
    pszRollSound[0] = pszPushSound[0] = '\0';
    return tr::Guarded(0, [&] {
        std::string roll, push;
        const int result = TrJogCfgReadSound(hRoot, pszKey, roll, push);
        // Each output alone: a path that does not fit is one that could not be read.
        if (Fits(roll, dwRollSize)) Put(pszRollSound, roll);
        if (Fits(push, dwPushSize)) Put(pszPushSound, push);
        return result && Fits(roll, dwRollSize) && Fits(push, dwPushSize) ? 1 : 0;
    });
}

extern "C" int TRCOMAPI TrJogCfgWriteSound(HKEY hRoot, const char* pszKey, const char* pszRollSound,
                                           const char* pszPushSound) {
    if (!pszRollSound || !pszPushSound) return 0;
    const tr::SettingsKey key = tr::SettingsKey::ForWrite(hRoot, pszKey);
    if (!key.Valid()) return 0;
    return key.WriteText("RollSound", pszRollSound) && key.WriteText("PushSound", pszPushSound) ? 1 : 0;
}

// Both outputs are set, or both stay empty (also when memory runs out).
int TRCOMAPI TrJogCfgGetDefaultSound(DWORD /*dwUnused*/, const char* pszProfile, std::string& rollSound,
                                     std::string& pushSound) {
    rollSound.clear();
    pushSound.clear();
    if (!pszProfile) return 0;
    const auto read = [&] {
        std::string roll = ReadProfile(pszProfile, "Roll");
        if (roll.empty()) return 0;
        std::string push = ReadProfile(pszProfile, "Push");
        if (push.empty()) return 0;
        rollSound = std::move(roll);
        pushSound = std::move(push);
        return 1;
    };
    return tr::GuardedElse(read, [&] { return Emptied(rollSound, pushSound); });
}

extern "C" int TRCOMAPI TrJogCfgGetDefaultSoundA(DWORD dwUnused, const char* pszProfile, char* pszRollSound,
                                                 DWORD dwRollSize, char* pszPushSound, DWORD dwPushSize) {
    if (!pszRollSound || !dwRollSize || !pszPushSound || !dwPushSize) return 0;
    pszRollSound[0] = pszPushSound[0] = '\0';
    return tr::Guarded(0, [&] {
        std::string roll, push;
        // A path that does not fit is one that could not be read: both stay empty.
        if (!TrJogCfgGetDefaultSound(dwUnused, pszProfile, roll, push) || !Fits(roll, dwRollSize) ||
            !Fits(push, dwPushSize))
            return 0;
        Put(pszRollSound, roll);
        Put(pszPushSound, push);
        return 1;
    });
}
