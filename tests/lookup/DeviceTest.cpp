// Device lookups under the version Wine reports by default and in copies of
// this executable that it reports as Windows 98 (devices as
// TR_REG_INFO_STRUC, as on every system but 2000 and XP) and Windows 2000
// (identifier texts). A spy on TrCommon.dll's import of free counts each
// release of the caller's blocks.
#include "LookupTestData.h"

#include <map>
#include <memory>
#include <new>

namespace {

using trtest::StringRecord;

// Watched blocks are really freed only by RemoveSpy, so no address comes back.
using FreeFn = void(__cdecl*)(void*);
const auto g_free = reinterpret_cast<FreeFn>(
    reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("msvcrt.dll"), "free")));
void** g_slot = nullptr;
std::map<const void*, int> g_releases;  // watched block -> releases

void __cdecl Spy(void* p) {  // must not allocate
    const auto it = g_releases.find(p);
    if (it != g_releases.end()) ++it->second;
    else g_free(p);
}
bool InstallSpy() {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA("TrCommon.dll"));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + rva); rva && imp->Name; ++imp)
        for (auto** slot = reinterpret_cast<void**>(base + imp->FirstThunk); *slot; ++slot)
            if (*slot == reinterpret_cast<void*>(g_free)) g_slot = slot;
    DWORD old = 0;  // the slot stays writable for RemoveSpy
    if (!g_slot || !::VirtualProtect(g_slot, sizeof(void*), PAGE_READWRITE, &old)) return false;
    *g_slot = reinterpret_cast<void*>(&Spy);
    return true;
}
void RemoveSpy() {
    if (g_slot) *g_slot = reinterpret_cast<void*>(g_free);
    g_slot = nullptr;
    for (const auto& watched : g_releases) g_free(const_cast<void*>(watched.first));
    g_releases.clear();
}

constexpr char kEnum1394[] = "SYSTEM\\CurrentControlSet\\Enum\\1394\\KALVOR&CAM";
constexpr char kCam[] = "KALVOR&CAM\\0800460102030405", kBlank[] = "KALVOR&CAM\\0800460102030406",
               kUsb[] = "USB\\VID_1234&PID_5678\\1";

struct Devices : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(InstallSpy());
        // A camera, one bound to nothing, a short identifier, one without
        // "DeviceDesc", a camera category and a scanner.
        ASSERT_TRUE(m_box.Write("XbusData.dat", StringRecord("cam", "0800460102030405") +
                                                    StringRecord("blank", "0800460102030406", "") +
                                                    StringRecord("short id", "0000000000005678") +
                                                    StringRecord("no desc", "0000000000001234")));
        ASSERT_TRUE(m_box.Write("XbusCtg.dat", StringRecord("camera category", "KALVOR&CAM")) &&
                    m_box.Write("USBData.dat", StringRecord("scanner", "VID_1234&PID_5678")));
        for (const char* id : {"0800460102030405", "0800460102030406", "5678", "1234"})
            ASSERT_TRUE(trtest::SetRegValue(HKEY_LOCAL_MACHINE, std::string(kEnum1394) + "\\" + id,
                                            id[0] == '1' ? "Other" : "DeviceDesc", REG_SZ, "Camera", 7));
    }
    void TearDown() override { RemoveSpy(); }
    // The device as this platform hands it over, every piece watched: Win98 a
    // TR_REG_INFO_STRUC of its registry path, Win2K the identifier text.
    DWORD_PTR Device(const std::string& id, DWORD type) {
        const std::string text = m_win98 && type == TR_PNP_XBUS ? "1394\\" + id : id;
        auto* p = static_cast<char*>(std::memcpy(::operator new(text.size() + 1), text.c_str(), text.size() + 1));
        g_releases[p] = 0;
        if (!m_win98) return reinterpret_cast<DWORD_PTR>(p);
        auto* info = new (::operator new(sizeof(TR_REG_INFO_STRUC))) TR_REG_INFO_STRUC{1, 2, 3, p};
        g_releases[info] = 0;
        return reinterpret_cast<DWORD_PTR>(info);
    }
    // Releases of a device; on Win98 both pieces go together.
    int Released(DWORD_PTR device) {
        const int n = g_releases[reinterpret_cast<void*>(device)];
        if (m_win98) { EXPECT_EQ(n, g_releases[reinterpret_cast<TR_REG_INFO_STRUC*>(device)->pszRegPath]); }
        return n;
    }

    trtest::LookupSandbox m_box;
    trtest::RegSandbox m_enum{HKEY_LOCAL_MACHINE, kEnum1394};
    // The Windows 98 rules hold on every system but version 5 of the NT family (2000, XP).
    const bool m_win98 = LOBYTE(::GetVersion()) != 5 || (::GetVersion() & 0x80000000) != 0;
};

TEST_F(Devices, FindReleasesWhenAskedAndFallsBackToTheCategory) {
    // Win2K also needs the device's Enum key with "DeviceDesc".
    constexpr DWORD X = TR_PNP_XBUS, U = TR_PNP_USB;
    const struct { const char* id; DWORD type, category; int noCategory, force, freeKey; const char *t98, *t2k; }
        cases[] = {
        {kCam, X, 0, 0, 0, 1, "cam", "cam"}, {"KALVOR&CAM\\5678", X, 0, 0, 0, 1, "short id", "short id"},
        {"KALVOR&CAM\\1234", X, 1, 0, 0, 1, "no desc", ""}, {"KALVOR&CAM\\9999", X, 1, 0, 0, 1, "camera category", ""},
        {kBlank, X, 1, 0, 0, 1, "camera category", "camera category"}, {kBlank, X, 0, 0, 0, 1, "blank", "blank"},
        {kBlank, X, 1, 1, 0, 1, "blank", "blank"}, {kCam, X, 0, 0, 1, 1, "camera category", "camera category"},
        {"NOSLASH", X, 1, 0, 0, 1, "", ""}, {kCam, X, 0, 0, 0, 0, "cam", "cam"},
        {kUsb, U, 0, 0, 0, 1, "scanner", "scanner"}, {"USB", U, 0, 0, 0, 1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ASSERT_TRUE(trtest::SetUserValue("XbusConfig", "Category", c.category));
        CTrAppDataFinder finder;
        ASSERT_EQ(0, finder.OpenDataBases(CTrAppDataFinder::kXbus | CTrAppDataFinder::kUsb));
        const DWORD_PTR device = Device(c.id, c.type);
        const CTrBaseData* found = finder.Find(1, device, c.type, c.noCategory, c.force, c.freeKey);
        EXPECT_EQ(m_win98 ? c.t98 : c.t2k, found ? found->GetTitle() : "");
        // Released only when asked; a USB text always stays the caller's on Win2K.
        EXPECT_EQ(c.freeKey && (m_win98 || c.type == X), Released(device));
        // Pointers that are not readable, or not to their end: NULL, nothing released.
        EXPECT_EQ(nullptr, finder.Find(1, 0x10, c.type, 0, 0, 1));
        const std::unique_ptr<char, void (*)(char*)> pages(
            static_cast<char*>(::VirtualAlloc(nullptr, 0x2000, MEM_RESERVE, PAGE_NOACCESS)),
            [](char* p) { ::VirtualFree(p, 0, MEM_RELEASE); });
        ASSERT_TRUE(pages && ::VirtualAlloc(pages.get(), 0x1000, MEM_COMMIT, PAGE_READWRITE));
        std::memset(pages.get(), 'x', 0x1000);
        EXPECT_EQ(nullptr, finder.Find(1, reinterpret_cast<DWORD_PTR>(pages.get() + 0x1000 - 8), c.type, 0, 0, 1));
        if (m_win98) {
            auto* info = reinterpret_cast<TR_REG_INFO_STRUC*>(Device("1394\\A\\1", c.type));
            const char* text = info->pszRegPath;
            info->pszRegPath = reinterpret_cast<char*>(static_cast<ULONG_PTR>(0x10));
            EXPECT_EQ(nullptr, finder.Find(1, reinterpret_cast<DWORD_PTR>(info), c.type, 0, 0, 1));
            EXPECT_EQ(0, g_releases[info] + g_releases[text]);
        }
        // Closed, the finder finds nothing more.
        EXPECT_EQ(TRUE, finder.CloseDataBases());
        EXPECT_EQ(nullptr, finder.Find(1, Device(c.id, c.type), c.type, c.noCategory, c.force, 0));
    }
}

TEST_F(Devices, PnpExportReleasesOnlyAfterReachingAnOpenDatabase) {
    // usbFile nullptr: missing, "": without sections; categories: "XbusCtg.dat"
    // present; title nullptr: FALSE.
    const struct { DWORD type; const char* usbFile; bool categories; const char* title; int released98, released2k; }
        cases[] = {
        {TR_PNP_USB, "scanner", true, "scanner", 1, 0}, {TR_PNP_USB, "", true, nullptr, 1, 0},
        {TR_PNP_USB, nullptr, true, nullptr, 0, 0},     {0x0201, "scanner", true, nullptr, 0, 0},
        {TR_PNP_XBUS, "scanner", true, "cam", 1, 1},    {TR_PNP_XBUS, "scanner", false, nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        m_box.Remove("USBData.dat");
        ASSERT_TRUE(!c.usbFile ||
                    m_box.Write("USBData.dat", *c.usbFile ? StringRecord(c.usbFile, "VID_1234&PID_5678") : ";\r\n"));
        if (!c.categories) m_box.Remove("XbusCtg.dat");
        const DWORD_PTR device = Device(c.type == TR_PNP_XBUS ? kCam : kUsb, c.type);
        TR_APP_DATA_STRUC block = trtest::Marked();
        EXPECT_EQ(c.title != nullptr, TrComGetAppDataOfPnPEvent(&block, c.type, device));
        EXPECT_EQ(m_win98 ? c.released98 : c.released2k, Released(device));
        EXPECT_TRUE(c.title ? std::string(c.title) == block.szTitle : trtest::Untouched(block));
    }
}

TEST_F(Devices, RegInfoMadeByTheLibraryIsReleasedOnceByTheLookupOrTheHost) {
    const char path[] = "USB\\VID_1234&PID_5678\\1";
    TR_REG_INFO_STRUC* info = reinterpret_cast<TR_REG_INFO_STRUC*>(0x1);
    ASSERT_EQ(TRUE, TrComNewRegInfo(&info, path));
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(0u, info->dwData1 | info->dwData2 | info->dwData3);
    EXPECT_STREQ(path, info->pszRegPath);
    EXPECT_NE(path, info->pszRegPath);
    g_releases[info] = 0, g_releases[info->pszRegPath] = 0;
    const DWORD_PTR device = reinterpret_cast<DWORD_PTR>(info);
    if (m_win98) {  // the lookup reaches the open USB database and releases it
        TR_APP_DATA_STRUC block = trtest::Marked();
        EXPECT_EQ(TRUE, TrComGetAppDataOfPnPEvent(&block, TR_PNP_USB, device));
        EXPECT_STREQ("scanner", block.szTitle);
    } else {        // Win2K lookups take texts: the host releases it
        EXPECT_EQ(TRUE, TrComFreeRegInfo(info));
    }
    EXPECT_EQ(1, Released(device));

    // Bad input: FALSE, nothing made, the out-pointer cleared when writable.
    EXPECT_EQ(FALSE, TrComNewRegInfo(nullptr, path));
    for (const char* bad : {static_cast<const char*>(nullptr), reinterpret_cast<const char*>(0x10)}) {
        info = reinterpret_cast<TR_REG_INFO_STRUC*>(0x1);
        EXPECT_EQ(FALSE, TrComNewRegInfo(&info, bad));
        EXPECT_EQ(nullptr, info);
    }
    EXPECT_EQ(FALSE, TrComFreeRegInfo(nullptr));
}

TEST(DeviceLookups, UnderWindows98And2000) {
    for (const std::string version : {"win98", "win2k"}) {
        trtest::SelfCopy copy("tr_lookup_" + version + ".exe");
        ASSERT_TRUE(copy.Ok() && trtest::SetWineVersionFor("tr_lookup_" + version + ".exe", version.c_str()));
        const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
        EXPECT_EQ(0, trtest::RunProcess(copy.Path(), "--gtest_filter=Devices.*", out, out)) << version;
        trtest::SetWineVersionFor("tr_lookup_" + version + ".exe", nullptr);
    }
}

}  // namespace
