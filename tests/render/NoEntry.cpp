// A shared library that loads but exports no plug-in entry point.
extern "C" __attribute__((visibility("default"))) int notAPlugin() { return 0; }
