#pragma once

#include <string>

// Puts the calling process into a network namespace of its own (as root, or in a user
// namespace of its own), before it starts any thread. Empty when it did, else why not, for
// the tests to skip with.
std::string EnterPrivateNetworkNamespace();
