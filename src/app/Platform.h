#pragma once

// The few things the program asks of the operating system directly.
namespace Platform {
// True when the program runs with the super-user's rights (never on Windows).
bool runningAsRoot();
} // namespace Platform
