#pragma once

#include "runtime/StartupOrder.h"

// The database layer's step, the last before the runtime's messaging
// objects; the steps before it are left to the layers above. The database
// name is one of the shared constants. The connection factory is a
// function-local static that the pool's initialiser reaches, so it is built
// just before the pool and outlives it.
#define QX_STEP_CONNECTION_POOL (QX_STEP_MESSAGING_CONTEXT_LOCK - 1)

#if QX_STEP_CONNECTION_POOL <= QX_STEP_SHARED_CONSTANTS
#error "the connection pool's step must come after the shared constants"
#endif
