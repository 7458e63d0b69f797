#include "platform/desktop/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace desktop {

void ReturnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace desktop
