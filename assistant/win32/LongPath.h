// Paths on disk: the long, disk-spelled form of a path, file and folder existence, and the
// user's temporary folder.
#pragma once
#include <string>

// The absolute path with every component that exists on disk spelled as stored there
// (8.3 aliases long, letter case of the disk, wildcards replaced by the first match).
std::u16string ExpandLongPath(const std::u16string& path);

// True for an existing folder (a linked folder only when it can be opened); a failure
// other than "not found"/"invalid name" counts as existing.
bool FolderExists(const std::u16string& path);

// True when a file (not a folder) is at the path; for a link, its target must open for
// reading or be locked by another program. An unreadable path other than "not found" or
// "invalid name" exists when a directory search finds a file there.
bool FileExistsAt(const std::u16string& path);

// The temporary folder for an unexpanded value such as "%temp%": trimmed, made long,
// ending in "\"; "C:\" when it does not exist or does not fit in 260 characters.
std::u16string TempDirFrom(const std::u16string& unexpanded);
