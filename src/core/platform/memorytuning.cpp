#include "core/platform/memorytuning.h"

#include <cstdlib> // defines __GLIBC__ where it applies

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void keepLargeBuffersInProcess()
{
#if defined(__GLIBC__)
    // Blocks up to 32 MB come from the heap and are reused; up to 64 MB of
    // free heap stays mapped.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
