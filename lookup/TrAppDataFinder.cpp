// TrAppDataFinder.cpp - which application record is bound to an event.
//
// One finder serves one lookup: it loads the data files it is asked for,
// answers, and drops them again. Records it returns belong to the databases
// and die with CloseDataBases.
#include "include/TrCommonClasses.h"

#include "base/TrGuard.h"
#include "base/TrHandle.h"
#include "lookup/TrDeviceKeys.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kNumeralSlots = 5;
constexpr int kStringSlots = 3;

// Data files of the numeral slots (open bits 0x08 << slot) and of the string
// slots 1 and 2 (bits 0x02, 0x04). Slot 2 reads the Flashpod file as a
// string-key file; no event asks for it.
constexpr const char* kNumeralFiles[kNumeralSlots] = {"FPData.dat", "SKeyData.dat", "PPKData.dat", "TimrData.dat",
                                                      "JPPKData.dat"};
constexpr const char* kStringFiles[kStringSlots] = {nullptr, "USBData.dat", "FPData.dat"};

constexpr int kPathDataFolder = 3;
constexpr int kPathLaunchIni = 8;
// The IEEE 1394 pair: TrComGetPath indexes 15 and 16 are these names in the
// data folder.
constexpr char kXbusDataFile[] = "XbusData.dat";
constexpr char kXbusCategoryFile[] = "XbusCtg.dat";

constexpr UINT kProductKeyString = 4000;
constexpr char kProductKeyFallback[] = "Software\\Kalvor Corporation\\Trelvane";

// Selector table of Find: a byte value 0..3 gives 0, 5, 4, 3.
constexpr int kSelector[4] = {0, 5, 4, 3};

bool IndexPath(int index, std::string& path) {
    char buf[MAX_PATH] = "";
    if (!TrComGetPath(index, buf)) return false;
    buf[MAX_PATH - 1] = '\0';
    path = buf;
    return true;
}

// The data folder, asked for once per open, however many data files the
// open loads: each of them lies in it.
class DataFolder {
public:
    // The folder and the file name formatted with "%s\%s", as the slots'
    // files are named.
    bool File(const char* fileName, std::string& path) {
        if (!Ask()) return false;
        path.assign(m_folder).append("\\").append(fileName);
        return path.size() < MAX_PATH;
    }
    // The folder joined with the file name as TrComGetPath joins its
    // indexes 15 and 16 (the IEEE 1394 pair) to the data folder.
    bool Indexed(const char* fileName, std::string& path) {
        if (!Ask()) return false;
        char joined[MAX_PATH];
        std::memcpy(joined, m_folder, MAX_PATH);
        if (!TrComPathAppend(joined, fileName)) return false;
        path = joined;
        return true;
    }

private:
    bool Ask() {
        if (m_state == kNotAsked) m_state = TrComGetPath(kPathDataFolder, m_folder) ? kHave : kFailed;
        return m_state == kHave;
    }

    enum { kNotAsked, kHave, kFailed } m_state = kNotAsked;
    char m_folder[MAX_PATH] = "";
};

bool StringLoadAccepted(int result) { return result == 0 || result == 6; }

// A copy of a caller's text, then 'release' of the caller's memory, which
// the call took over: it is released even when the copy runs out of memory.
template <class Release>
std::string CopyThenRelease(const char* text, Release&& release) {
    const tr::ScopeExit released(std::forward<Release>(release));
    return text;
}

// Caller's pointers that may be anything are checked by asking the memory
// manager, never by touching them: a probing read (IsBadReadPtr) that lands
// on another thread's stack guard page swallows that thread's growth.
bool IsReadableRegion(const MEMORY_BASIC_INFORMATION& region) {
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return region.State == MEM_COMMIT && (region.Protect & readable) && !(region.Protect & PAGE_GUARD);
}

// Calls 'inRegion' with each readable region from 'at' on, as the bytes from
// 'at' to the region's end, until it returns true (then true); false at the
// first byte that cannot be read.
template <class Visit>
bool WalkReadable(const char* at, Visit&& inRegion) {
    for (;;) {
        MEMORY_BASIC_INFORMATION region;
        if (!at || !::VirtualQuery(at, &region, sizeof(region)) || !IsReadableRegion(region)) return false;
        const char* end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (inRegion(at, static_cast<std::size_t>(end - at))) return true;
        at = end;
    }
}

// Readable for 'size' bytes.
bool IsReadable(const void* p, std::size_t size) {
    return WalkReadable(static_cast<const char*>(p), [&size](const char*, std::size_t n) {
        if (n >= size) return true;
        size -= n;
        return false;
    });
}

// Readable up to and including its terminator.
bool IsReadableText(const char* text) {
    return WalkReadable(text, [](const char* at, std::size_t n) { return std::memchr(at, '\0', n) != nullptr; });
}

}  // namespace

CTrAppDataFinder::CTrAppDataFinder() : m_bWin2K(FALSE), m_hLocale(nullptr), m_wOpenMask(0) {
    // Loaded by bare name so the normal library search applies; the resource
    // handle of the host is not switched.
    m_hLocale = ::LoadLibraryA("TrLocale.DLL");

    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    if (::GetVersionExA(&version))
        m_bWin2K = version.dwMajorVersion == 5 && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

CTrAppDataFinder::~CTrAppDataFinder() {
    CloseDataBases();
    if (m_hLocale) ::FreeLibrary(m_hLocale);
}

// Out of memory part way closes everything again and gives 0xFFFF, as
// when nothing could be opened at all.
int CTrAppDataFinder::OpenDataBases(WORD wOpenMask) {
    if (!m_hLocale) return 0xFFFF;
    CloseDataBases();  // a second open must not strand the first one's databases
    const auto open = [&] {
        m_wOpenMask = wOpenMask;
        m_ppNumeralDB = std::make_unique<std::unique_ptr<CTrNumeralKeyDB>[]>(kNumeralSlots);
        m_ppStringDB = std::make_unique<std::unique_ptr<CTrStringKeyDB>[]>(kStringSlots);
        m_ppXbusDB = std::make_unique<CTrStringKeyDB*[]>(2);  // value-initialised: both NULL
        int failed = 0;
        DataFolder folder;

        for (int slot = 0; slot < kStringSlots; ++slot) {
            const int bit = 1 << slot;
            if (!(wOpenMask & bit)) continue;
            if (slot == 0) {
                // The IEEE 1394 pair is all or nothing.
                auto devices = std::make_unique<CTrStringKeyDB>();
                auto categories = std::make_unique<CTrStringKeyDB>();
                std::string path;
                const bool ok = folder.Indexed(kXbusDataFile, path) && StringLoadAccepted(devices->Load(path)) &&
                                folder.Indexed(kXbusCategoryFile, path) && StringLoadAccepted(categories->Load(path));
                if (!ok) {
                    failed |= bit;
                    continue;
                }
                m_ppStringDB[0] = std::move(devices);
                m_pXbusCategoryDB = std::move(categories);
                m_ppXbusDB[0] = m_ppStringDB[0].get();
                m_ppXbusDB[1] = m_pXbusCategoryDB.get();
                continue;
            }
            // A failed load keeps its (empty) database in the slot.
            m_ppStringDB[slot] = std::make_unique<CTrStringKeyDB>();
            std::string path;
            if (!folder.File(kStringFiles[slot], path) || !StringLoadAccepted(m_ppStringDB[slot]->Load(path)))
                failed |= bit;
        }

        for (int slot = 0; slot < kNumeralSlots; ++slot) {
            const int bit = 0x08 << slot;
            if (!(wOpenMask & bit)) continue;
            m_ppNumeralDB[slot] = std::make_unique<CTrNumeralKeyDB>();
            std::string path;
            if (!folder.File(kNumeralFiles[slot], path) || m_ppNumeralDB[slot]->Load(path) != 0) failed |= bit;
        }
        return failed;
    };
    return tr::GuardedElse(open, [&] { return CloseDataBases(), 0xFFFF; });
}

int CTrAppDataFinder::CloseDataBases() {
    if (m_ppXbusDB) m_ppXbusDB[0] = m_ppXbusDB[1] = nullptr;
    m_pXbusCategoryDB.reset();
    m_ppStringDB.reset();
    m_ppNumeralDB.reset();
    m_ppXbusDB.reset();
    return TRUE;
}

int CTrAppDataFinder::Reload() { return TRUE; }

// Out of memory finds nothing (NULL); a device text the call took over is
// released all the same once the lookup has reached it.
const CTrBaseData* CTrAppDataFinder::Find(DWORD dwCategory, DWORD_PTR dwKey, DWORD dwType, int bNoCategory,
                                          int bForceCategory, int bFreeKey) {
    return tr::Guarded(static_cast<const CTrBaseData*>(nullptr), [&]() -> const CTrBaseData* {
        if (!m_ppNumeralDB) return nullptr;  // not open
        switch (dwCategory) {
        case 0: {
            const DWORD value = (static_cast<DWORD>(dwKey) >> 8) & 0xFF;
            if (value > 3 || kSelector[value] == 0) return nullptr;
            const DWORD slot = static_cast<DWORD>(kSelector[value] - 3);
            CTrBaseData* found = GetNumeralDBAppData(slot, static_cast<DWORD>(dwKey), 0);
            // While the jukebox runs it owns the card: the record is handed out
            // with empty texts (in memory only; the file is not touched).
            if (found && slot == 0 && IsLyraneEnable()) found->AllClear();
            return found;
        }
        case 1: {
            const DWORD value = (dwType >> 8) & 0xFF;
            if (value > 3) return nullptr;
            switch (kSelector[value]) {
            case 0:
                if (!m_ppStringDB[0]) return nullptr;
                return m_bWin2K ? GetWin2kXbusDBAppData(dwKey, bNoCategory, bForceCategory, bFreeKey)
                                : GetXbusDBAppData(dwKey, bNoCategory, bForceCategory, bFreeKey);
            case 5:
            case 4: {
                const DWORD slot = dwType & 0xFF;
                if (slot >= static_cast<DWORD>(kStringSlots) || !m_ppStringDB[slot]) return nullptr;
                return m_bWin2K ? GetWin2kStringDBAppData(static_cast<int>(slot), dwKey)
                                : GetStringDBAppData(static_cast<int>(slot), dwKey, bFreeKey);
            }
            default: {  // 3: Flashpod media
                if (!m_ppNumeralDB[0]) return nullptr;
                CTrBaseData* found = GetNumeralDBAppData(0, dwType & 0xFFFF, FlashpodHighPart(dwKey));
                if (found && IsLyraneEnable()) found->AllClear();
                return found;
            }
            }
        }
        case 2:
            return GetNumeralDBAppData(3, static_cast<DWORD>(dwKey), 2);
        case 3:
            return GetNumeralDBAppData(4, static_cast<DWORD>(dwKey), 3);
        default:
            return nullptr;
        }
    });
}

int CTrAppDataFinder::FlashpodHighPart(DWORD_PTR dwKey) {
    // "Flashpod=5" in the launch profile forces the high part 1; otherwise a
    // key with a drive in its upper bits gives 0, a bare key 1.
    std::string ini;
    if (IndexPath(kPathLaunchIni, ini) && ::GetPrivateProfileIntA("TrConfig", "Flashpod", 0, ini.c_str()) == 5)
        return 1;
    return (static_cast<DWORD>(dwKey) >> 16) != 0 ? 0 : 1;
}

CTrBaseData* CTrAppDataFinder::GetNumeralDBAppData(DWORD dwSlot, DWORD dwKey, DWORD dwHigh) {
    if (!m_ppNumeralDB || dwSlot >= static_cast<DWORD>(kNumeralSlots) || !m_ppNumeralDB[dwSlot]) return nullptr;
    return m_ppNumeralDB[dwSlot]->Find(dwHigh, dwKey);
}

CTrBaseData* CTrAppDataFinder::GetStringDBAppData(int nSlot, DWORD_PTR dwDevice, int bFreeKey) {
    auto* info = reinterpret_cast<TR_REG_INFO_STRUC*>(dwDevice);
    if (!IsReadable(info, sizeof(*info)) || !IsReadableText(info->pszRegPath)) return nullptr;
    const std::string path = CopyThenRelease(info->pszRegPath, [&] { if (bFreeKey) FreeRegInfoStructure(info); });
    std::string second;
    if (!ExtractSecondKey(path, second)) return nullptr;
    return m_ppStringDB[nSlot]->Find(second);
}

CTrBaseData* CTrAppDataFinder::GetWin2kStringDBAppData(int nSlot, DWORD_PTR dwDevice) {
    // The caller's text is never released on this path, whatever it asked.
    const char* text = reinterpret_cast<const char*>(dwDevice);
    if (!IsReadableText(text)) return nullptr;
    std::string second;
    if (!ExtractSecondKey(text, second)) return nullptr;
    return m_ppStringDB[nSlot]->Find(second);
}

CTrBaseData* CTrAppDataFinder::GetXbusDBAppData(DWORD_PTR dwDevice, int bNoCategory, int bForceCategory,
                                                int bFreeKey) {
    auto* info = reinterpret_cast<TR_REG_INFO_STRUC*>(dwDevice);
    if (!IsReadable(info, sizeof(*info)) || !IsReadableText(info->pszRegPath)) return nullptr;
    const std::string path = CopyThenRelease(info->pszRegPath, [&] { if (bFreeKey) FreeRegInfoStructure(info); });
    std::string unique, type;
    if (!ExtractLastKey(path, unique) || !ExtractSecondKey(path, type)) return nullptr;
    return XbusAnswer(unique, type, bNoCategory, bForceCategory);
}

CTrBaseData* CTrAppDataFinder::GetWin2kXbusDBAppData(DWORD_PTR dwDevice, int bNoCategory, int bForceCategory,
                                                     int bFreeKey) {
    char* text = reinterpret_cast<char*>(dwDevice);
    if (!IsReadableText(text)) return nullptr;
    const std::string device = CopyThenRelease(text, [&] { if (bFreeKey) ::operator delete(text); });

    // The device must be known to the system: its enumeration key needs a
    // "DeviceDesc" value (its content does not matter).
    const std::string keyPath = "SYSTEM\\CurrentControlSet\\Enum\\1394\\" + device;
    {
        tr::RegKey key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
            return nullptr;
        BYTE description[1024];
        DWORD size = sizeof(description);
        if (::RegQueryValueExA(key.Get(), "DeviceDesc", nullptr, nullptr, description, &size) != ERROR_SUCCESS)
            return nullptr;
    }

    std::string unique, type;
    tr::lookup::Win2kXbusKeys(device, unique, type);
    return XbusAnswer(unique, type, bNoCategory, bForceCategory);
}

// The device's own record, or its category's: the fall-back is made when the
// device has no usable record and the user allows it; forceCategory always
// takes the category's answer, NULL included.
CTrBaseData* CTrAppDataFinder::XbusAnswer(const std::string& strUniqueKey, const std::string& strTypeKey,
                                          int bNoCategory, int bForceCategory) {
    CTrBaseData* found = m_ppXbusDB[0]->Find(strUniqueKey);
    const bool fallBack = !bNoCategory && (!found || found->GetPath().empty()) && IsEnableCategoryApply();
    if (fallBack || bForceCategory) return m_ppXbusDB[1]->Find(strTypeKey);
    return found;
}

int CTrAppDataFinder::ExtractLastKey(const std::string& strSource, std::string& strResult) {
    return tr::Guarded(FALSE, [&] { return tr::lookup::LastKey(strSource, strResult) ? TRUE : FALSE; });
}

int CTrAppDataFinder::ExtractSecondKey(const std::string& strSource, std::string& strResult) {
    return tr::Guarded(FALSE, [&] { return tr::lookup::SecondKey(strSource, strResult) ? TRUE : FALSE; });
}

int CTrAppDataFinder::IsEnableCategoryApply() {
    char productKey[MAX_PATH] = "";
    if (!m_hLocale || ::LoadStringA(m_hLocale, kProductKeyString, productKey, MAX_PATH) <= 0)
        std::snprintf(productKey, sizeof(productKey), "%s", kProductKeyFallback);
    const std::string key = std::string(productKey) + "\\XbusConfig";
    DWORD enable = 0, newDevice = 0, category = 0, smartConnect = 0, infoDialog = 0;
    TrXbusCfgRead(HKEY_CURRENT_USER, key.c_str(), &enable, &newDevice, &category, &smartConnect, &infoDialog);
    return static_cast<int>(category);
}

int CTrAppDataFinder::IsLyraneEnable() {
    BOOL running = FALSE;
    return TrComExistLyraneJukebox(&running) && running;
}

int CTrAppDataFinder::FreeRegInfoStructure(TR_REG_INFO_STRUC* pInfo) {
    // Both pieces come from operator new, as the caller promises.
    TrComFreeRegInfo(pInfo);
    return TRUE;
}
