// The host's answers to a plug-in's calls. Each loaded effect has a HostContext with the sample
// rate and block size the host gave it; the one callback finds it through the effect's record.
#pragma once

#include <cstdint>

#include "frame/vst2.h"

struct HostContext {
    float sampleRate = 44100.0f;
    int32_t blockSize = 512;
};

inline constexpr intptr_t kHostVersion = 2400;

// Answers audioMasterVersion (2400), the sample rate and block size, MIDI requests, the host's
// names; 0 for everything else.
intptr_t VST_CALL hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                               void* ptr, float opt);

// Ties a context to an effect's record for as long as the object lives.
class HostContextBinding {
public:
    HostContextBinding(const AEffect* effect, HostContext& context);
    ~HostContextBinding();
    HostContextBinding(const HostContextBinding&) = delete;
    HostContextBinding& operator=(const HostContextBinding&) = delete;

    // Changes the bound context; plug-in threads may be reading it.
    void update(const HostContext& values);

private:
    const AEffect* effect;
    HostContext& context;
};

// While a plug-in's entry point runs, its record is not known yet: calls made then (and calls
// with a record the host never saw) use this context on this thread.
class PendingHostContext {
public:
    explicit PendingHostContext(HostContext& context);
    ~PendingHostContext();
    PendingHostContext(const PendingHostContext&) = delete;
    PendingHostContext& operator=(const PendingHostContext&) = delete;

private:
    HostContext* previous;
};
