// A shared library for the loader tests.
extern "C" int TabrixPluginAnswer() { return 42; }
