// Stand-ins for broken or old zip libraries: one without ZPackExec, one without GetZPackVersion,
// and one of version 1.50 that says it added 99 files.
#include <cstdint>

#define EXPORT extern "C" __attribute__((visibility("default")))

#ifndef WITHOUT_VERSION
EXPORT std::int32_t GetZPackVersion() { return FAKE_VERSION; }
#endif

#ifndef WITHOUT_EXEC
EXPORT std::int32_t ZPackExec(const void*) { return 99; }
#endif
