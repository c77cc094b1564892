// The finished download, held against change: opened for reading only and shared for
// reading only, so that no other process can write, rename or delete the file while the
// handle is held.
#pragma once
#include <string>

#include "download/win32/ContentDigest.h"
#include "framework/win32/UniqueHandle.h"

// Opens the file at `path` that way and reads it through; the handle when its content is
// still the one whose digest is `written`, else no handle. A process that held the file
// open for writing or deleting, or changed it after the writer closed it, makes it fail.
FileHandle SealWrittenFile(const std::u16string& path, const TDigest& written);
