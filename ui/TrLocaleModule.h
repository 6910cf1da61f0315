// TrLocaleModule.h - bringing the resource library "TrLocale.DLL" in and out
// of use around each use of its dialogs, strings, icons and bitmaps.
#ifndef TR_UI_LOCALEMODULE_H
#define TR_UI_LOCALEMODULE_H

#include <windows.h>

namespace tr {

constexpr char kLocaleLibrary[] = "TrLocale.DLL";

// Loads TrLocale.DLL by bare name (the normal search order applies), stores
// its handle in *phLocale and, on success only, the current resource handle
// in *phPrevious before making the resource library current.
BOOL LoadLocaleModule(HINSTANCE* phLocale, HINSTANCE* phPrevious);

// Frees the library and restores the saved resource handle; with a NULL
// library handle it does nothing. Always TRUE.
BOOL FreeLocaleModule(HINSTANCE hLocale, HINSTANCE hPrevious);

// One bracketed use: loads on construction, frees on destruction. Uses nest,
// because each restores exactly the handle it saved.
class LocaleModule {
public:
    LocaleModule() { LoadLocaleModule(&m_hLocale, &m_hPrevious); }
    ~LocaleModule() { FreeLocaleModule(m_hLocale, m_hPrevious); }
    LocaleModule(const LocaleModule&) = delete;
    LocaleModule& operator=(const LocaleModule&) = delete;

    bool Loaded() const { return m_hLocale != nullptr; }
    HINSTANCE Handle() const { return m_hLocale; }

private:
    HINSTANCE m_hLocale = nullptr;
    HINSTANCE m_hPrevious = nullptr;
};

}  // namespace tr

#endif  // TR_UI_LOCALEMODULE_H
