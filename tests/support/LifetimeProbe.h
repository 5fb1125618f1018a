#pragma once
// Watches one heap object for use after its deletion. A test program that
// links LifetimeProbe.cpp gets its own operator delete: the next delete of
// the watched address does not free the block but fills it with a pattern
// and keeps it, so that any later write into the object (a handler
// returning into a deleted window object, say) shows as a changed byte.
// Wine's heap does not catch such writes by itself.

namespace LifetimeProbe {

// The next delete of object is kept and watched (one object at a time).
void Watch(const void* object);
// Whether the watched object has been deleted.
bool WasDeleted();
// Whether anything wrote into the object after it was deleted.
bool WasTouchedAfterDeletion();
// Frees the kept block and forgets the object.
void Reset();

} // namespace LifetimeProbe
