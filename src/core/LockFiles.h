#pragma once

class QLockFile;

// Lock files beside our own files, through QLockFile: a lock left by a process that died is taken over.
namespace LockFiles {
// Takes the lock, waiting up to waitMs while another process holds it. QLockFile takes over a lock whose
// owner is gone, but not one that holds no owner yet: a process killed right after making the file leaves
// it empty, and such a file is taken over once it is a moment old (an owner writes itself in at once).
// False when the lock could not be had; lock.error() says why.
bool take(QLockFile& lock, int waitMs);
} // namespace LockFiles
