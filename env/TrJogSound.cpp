// TrJogSound.cpp - the jog dial's two sounds: stored paths, the defaults of a
// profile file, and the wave-file test both are checked with.
#include "include/TrCommon.h"
#include "env/TrSettingsKey.h"

#include "base/TrHandle.h"
#include "base/TrText.h"

#include <string>

namespace {

constexpr DWORD kSoundBuffer = 512;

// A profile entry, empty when missing.
std::string ReadProfile(const char* pszProfile, const char* pszKey) {
    char text[kSoundBuffer] = {};
    ::GetPrivateProfileStringA("JogSound", pszKey, "", text, sizeof(text), pszProfile);
    return text;
}

}  // namespace

extern "C" int TRCOMAPI TrJogCfgIsWaveFile(const char* pszPath) {
    if (!pszPath || !*pszPath) return 0;
    const std::string_view path(pszPath);
    const std::size_t slash = tr::FindLastChar(path, '\\');
    const std::string_view fileName = slash == tr::kNotFound ? path : path.substr(slash + 1);
    const std::size_t dot = tr::FindLastChar(fileName, '.');
    if (dot == tr::kNotFound || tr::ToUpper(fileName.substr(dot)) != ".WAV") return 0;
    WIN32_FIND_DATAA fd;
    const tr::FindHandle find(::FindFirstFileA(pszPath, &fd));
    return find.Valid() ? 1 : 0;
}

// Each output takes its stored path only when that names an existing wave
// file; a value that cannot be read counts as empty.
extern "C" int TRCOMAPI TrJogCfgReadSound(HKEY hRoot, const char* pszKey, std::string& rollSound,
                                          std::string& pushSound) {
    rollSound.clear();
    pushSound.clear();
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
}

extern "C" int TRCOMAPI TrJogCfgWriteSound(HKEY hRoot, const char* pszKey, const char* pszRollSound,
                                           const char* pszPushSound) {
    if (!pszRollSound || !pszPushSound) return 0;
    const tr::SettingsKey key = tr::SettingsKey::ForWrite(hRoot, pszKey);
    if (!key.Valid()) return 0;
    return key.WriteText("RollSound", pszRollSound) && key.WriteText("PushSound", pszPushSound) ? 1 : 0;
}

// Both outputs are set, or both stay empty.
extern "C" int TRCOMAPI TrJogCfgGetDefaultSound(DWORD /*dwUnused*/, const char* pszProfile, std::string& rollSound,
                                                std::string& pushSound) {
    rollSound.clear();
    pushSound.clear();
    if (!pszProfile) return 0;
    std::string roll = ReadProfile(pszProfile, "Roll");
    if (roll.empty()) return 0;
    std::string push = ReadProfile(pszProfile, "Push");
    if (push.empty()) return 0;
    rollSound = std::move(roll);
    pushSound = std::move(push);
    return 1;
}
