#include "host/host_callback.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

constexpr const char* kVendorName = "Kestrune";
constexpr const char* kProductName = "kestrune";
constexpr size_t kHostTextSize = 64;  // the host's name buffers hold 64 bytes

std::mutex& bindingsLock() {
    static std::mutex lock;
    return lock;
}

std::map<const AEffect*, HostContext*>& bindings() {
    static std::map<const AEffect*, HostContext*> contexts;
    return contexts;
}

thread_local HostContext* pendingContext = nullptr;

HostContext contextFor(const AEffect* effect) {
    {
        const std::lock_guard<std::mutex> guard(bindingsLock());
        const auto found = bindings().find(effect);
        if (found != bindings().end()) {
            return *found->second;
        }
    }
    return pendingContext != nullptr ? *pendingContext : HostContext{};
}

intptr_t copyName(void* ptr, const char* name) {
    if (ptr == nullptr) {
        return 0;
    }
    std::strncpy(static_cast<char*>(ptr), name, kHostTextSize - 1);
    static_cast<char*>(ptr)[kHostTextSize - 1] = '\0';
    return 1;
}

intptr_t canDo(const void* ptr) {
    if (ptr == nullptr) {
        return 0;
    }
    const char* text = static_cast<const char*>(ptr);
    return std::strcmp(text, "sendVstEvents") == 0 || std::strcmp(text, "sendVstMidiEvent") == 0
               ? 1
               : 0;
}

}  // namespace

intptr_t VST_CALL hostCallback(AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr,
                               float) {
    switch (opcode) {
        case audioMasterVersion: return kHostVersion;
        case audioMasterGetSampleRate:
            return static_cast<intptr_t>(contextFor(effect).sampleRate);
        case audioMasterGetBlockSize: return contextFor(effect).blockSize;
        case audioMasterWantMidi: return 1;
        case audioMasterGetVendorString: return copyName(ptr, kVendorName);
        case audioMasterGetProductString: return copyName(ptr, kProductName);
        case audioMasterGetVendorVersion: return 1;
        case audioMasterCanDo: return canDo(ptr);
        default: return 0;
    }
}

HostContextBinding::HostContextBinding(const AEffect* boundEffect, HostContext& boundContext)
    : effect(boundEffect), context(boundContext) {
    const std::lock_guard<std::mutex> guard(bindingsLock());
    bindings()[effect] = &context;
}

HostContextBinding::~HostContextBinding() {
    const std::lock_guard<std::mutex> guard(bindingsLock());
    bindings().erase(effect);
}

void HostContextBinding::update(const HostContext& values) {
    const std::lock_guard<std::mutex> guard(bindingsLock());
    context = values;
}

PendingHostContext::PendingHostContext(HostContext& context) : previous(pendingContext) {
    pendingContext = &context;
}

PendingHostContext::~PendingHostContext() {
    pendingContext = previous;
}
