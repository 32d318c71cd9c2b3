// A test library whose entry point hands back a record that is not a VST 2 record.
#include "frame/vst2.h"

namespace {

AEffect notARecord{};

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VST_CALL
VSTPluginMain(audioMasterCallback) {
    notARecord.magic = fourCharCode('N', 'o', 'p', 'e');
    return &notARecord;
}
