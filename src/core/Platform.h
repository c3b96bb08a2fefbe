#pragma once

#include <functional>
#include <thread>

// What the core asks of the operating system directly; the code for each system is in Platform.cpp, with
// the identity of a file (FileIdentity.h).
namespace Platform {

// Runs `work` on a new thread that starts on a core other than the caller's, where there is one, and may
// move anywhere once it runs. Linux places a new thread beside the one that made it, and a busy maker keeps
// it waiting there for milliseconds, sharing one core between the two, until the next balancing moves one
// away; other systems start a ready thread on an idle core of their own accord.
std::jthread startThread(std::function<void()> work);

} // namespace Platform
