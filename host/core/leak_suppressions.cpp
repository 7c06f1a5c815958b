// The leak checker of sanitizer builds reads these at exit. Fontconfig keeps
// parts of its parsed configuration, and of the patterns cairo's font cache
// hands it, in memory it no longer points at: one-off allocations of the
// library, not ours, so any leak with fontconfig on its stack is its own.
// Every program built with the host's objects carries the list.
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
