#pragma once
// The hidden names of files staged but not yet in place
// (".<target>.qrsmith-XXXXXX", made where a file system has no unnamed
// files), kept so that an interrupt removes them all, and the removal of
// such names that a killed process left behind.
//
// A name is made, renamed and removed only while StagedNamesLock() is held,
// so an interrupt never sees a name half made or already gone.

#include <cstddef>
#include <mutex>
#include <string>

namespace qrsmith::platform {

std::unique_lock<std::mutex> StagedNamesLock();
// Both with the lock held: `path` is a staged name, or no longer one.
void AddStagedName(const std::string& path);
void DropStagedName(const std::string& path);

// One more file put in place (or written in place) by this process.
void CountFinishedFile();

// Whether `name` has the form of a staged name.
bool IsStagedName(const std::string& name);

// Removes, once per folder and process, the staged names in `folder` that
// are older than this process and that no running process holds (each
// staging process holds a lock on its file): the leftovers of a killed run.
// Only names of the staged form are ever touched.
void RemoveStaleStagedNames(const std::string& folder);

// From now on SIGINT, SIGTERM and SIGHUP (each unless ignored) remove every
// staged name, call `report` with the signal and the number of finished
// files, and then end the process by that signal. Call it before any thread
// starts: the signals are blocked in every thread and taken by one of its own.
void RemoveStagedNamesOnInterrupt(void (*report)(int signal, std::size_t finished));

}  // namespace qrsmith::platform
