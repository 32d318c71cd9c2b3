// A test library that loads but exports no plug-in entry point.
extern "C" __attribute__((visibility("default"))) int notAPluginEntry() {
    return 0;
}
