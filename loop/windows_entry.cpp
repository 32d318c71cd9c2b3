// The DLL's side of Windows: `main`, exported under that plain name by KestruneVSTi.def, and the
// load hook that the C runtime's DLL entry routine calls.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <type_traits>

#include "loop/loop_entry.h"

extern "C" {

AEffect* VST_CALL pluginMain(audioMasterCallback host) { return openLoopEffect(host); }

// Hosts call `main` as they call the record's functions: cdecl on 32-bit Windows.
static_assert(std::is_same_v<decltype(&pluginMain), AEffect*(__cdecl*)(audioMasterCallback)>);

// Process and thread attach and detach need no work: every effect is made by `main`.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

}  // extern "C"
