// The library's only export: the host calls `main` with its callback and gets the effect's record.
#include "loop/loop_entry.h"

extern "C" {

// C++ reserves the name `main` for programs, so the function gets that symbol through an asm label.
__attribute__((visibility("default"))) AEffect* VST_CALL pluginMain(audioMasterCallback host)
    __asm__("main");

AEffect* VST_CALL pluginMain(audioMasterCallback host) { return openLoopEffect(host); }

}  // extern "C"
