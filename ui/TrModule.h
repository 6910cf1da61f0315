// TrModule.h - this library's own module handle and the process-wide
// resource handle that the resource-library pair switches.
#ifndef TR_UI_MODULE_H
#define TR_UI_MODULE_H

#include <windows.h>

namespace tr {

// Called once from DllMain on process attach.
void InitModule(HINSTANCE hInstance);

// TrCommon.dll's own instance, as DllMain received it.
HINSTANCE ThisModule();

// The module in which dialogs, strings, icons and bitmaps are looked up.
// It starts as this library and is TrLocale.DLL while a LocaleModule (or a
// LoadLocaleModule/FreeLocaleModule pair) is in use. Shared by all threads of
// the process: callers keep resource users on one thread at a time.
HINSTANCE GetResourceHandle();
void SetResourceHandle(HINSTANCE hInstance);

// The first module along the resource chain that holds resource 'id' of
// 'type': hFirst (the resource library), then the host program's own module,
// then this library. NULL when none of them has it.
HINSTANCE FindAlongChain(HINSTANCE hFirst, UINT id, LPCSTR type);

}  // namespace tr

#endif  // TR_UI_MODULE_H
