#include "psl_resources.h"

namespace {

// The exports run on the host's GUI thread only, so a plain flag is enough.
bool resourcesRegistered = false;

} // namespace

void ensureResources() {
    if (!resourcesRegistered) {
        registerResources();
        resourcesRegistered = true;
    }
}
