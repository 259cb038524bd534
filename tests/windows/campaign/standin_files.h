#pragma once
// The stand-in's files read back after a run, and the stand-in started once more so that it
// replays whatever a killed run journalled but never checkpointed.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "touch_oracle.h"

namespace quorvel::campaign {

std::vector<SavedSubject> JournalledSaves(const std::wstring& store_path);

// Subject by id as the store file holds it; nothing when it cannot be read.
std::optional<std::map<std::string, std::wstring>> StoredSubjects(const std::wstring& store_path);

// Creates "Outlook.Application" in this process and lets it go: the stand-in opens the
// store (replaying its journal) and checkpoints it. False when it could not be created.
// `local`: the stand-in runs as Outlook.exe and its last one was killed.
bool RestartStandin(bool local);

}  // namespace quorvel::campaign

namespace quorvel::campaign {

// Closes the out-of-process stand-in's explorer windows as a user closes Outlook: a server
// that a shell start gave an explorer stays up until then. Returns the windows asked to close.
int CloseStandinExplorers();

// Ends every stand-in Outlook.exe at once, as a crash would; the number ended.
int TerminateStandinServers();

}  // namespace quorvel::campaign
