#pragma once
// The system's key store for the service password: Secret Service through qtkeychain on Linux,
// the Credential Manager on Windows. Both calls wait for the store (at start-up, before the
// first request).
#include <memory>

#include "core/KeyStore.h"

namespace lumora {

// The store of this system; nothing when the build has none.
std::unique_ptr<KeyStore> SystemKeyStore();

}  // namespace lumora
