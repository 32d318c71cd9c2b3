// Creating the effect for a host: what the exported `main` does.
#pragma once

#include "frame/vst2.h"

// Answers the new effect's record, or null when there is no host, the host reports no version,
// or memory for the effect, its bank or its loop could not be had.
AEffect* openLoopEffect(audioMasterCallback hostCallback);
