// A host callback for tests: records every call and answers from a table set by the test.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "frame/vst2.h"

struct HostCall {
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

class FakeHost {
public:
    FakeHost() { current() = this; }
    ~FakeHost() { current() = nullptr; }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    // The callback has no user pointer of its own, so it reaches the live FakeHost through a static.
    static intptr_t VST_CALL callback(AEffect* effect, int32_t opcode, int32_t index,
                                      intptr_t value, void* ptr, float opt) {
        FakeHost* host = current();
        if (host == nullptr) {
            return 0;
        }
        host->calls.push_back({effect, opcode, index, value, ptr, opt});
        const auto answer = host->answers.find(opcode);
        if (answer != host->answers.end()) {
            return answer->second;
        }
        return opcode == audioMasterVersion ? 2400 : 0;
    }

    std::vector<HostCall> callsOf(int32_t opcode) const {
        std::vector<HostCall> found;
        for (const HostCall& call : calls) {
            if (call.opcode == opcode) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::vector<HostCall> calls;
    std::map<int32_t, intptr_t> answers;

private:
    static FakeHost*& current() {
        static FakeHost* host = nullptr;
        return host;
    }
};
