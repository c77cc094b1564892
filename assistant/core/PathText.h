// Text rules for paths and addresses that need no file system: trimming and file names.
#pragma once
#include <string>
#include <string_view>

// Removes leading and trailing characters with codes 0 to 32 (spaces and control codes).
std::u16string TrimControlAndSpace(std::u16string_view text);

// The text after the last "/" of an address (all of it when there is none).
std::string FileNameFromUrl(std::string_view url);

// Appends "\" unless the text already ends with one.
std::u16string WithTrailingBackslash(std::u16string path);
