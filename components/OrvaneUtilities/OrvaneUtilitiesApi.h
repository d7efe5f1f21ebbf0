#pragma once

// Calling contract of the customization module "OrvaneUtilities", loaded by the program from
// its own folder. Texts cross as zero-terminated UTF-16 strings.

#if defined(_WIN32)
#define ORVANE_UTILITIES_EXPORT extern "C" __declspec(dllexport)
#else
#define ORVANE_UTILITIES_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Loads the customization file; non-zero on success. A later load replaces the values.
using LoadCustomizeXMLFileWFunc = int (*)(const char16_t* path);

// Copies the value of `key` for the language `languageCode` (for example "ENG") into `buffer`
// as a zero-terminated string cut to `bufferLength` - 1 characters; non-zero when the key has
// a value for that language or for every language. `extra` is a second buffer that some keys
// fill; it may be null.
using ReadCustomizeInfoWFunc = int (*)(const char16_t* key, const char16_t* languageCode,
                                       char16_t* buffer, int bufferLength, char16_t* extra,
                                       int extraLength);

// Opens a web address in the user's browser; `flag` is reserved (0). Non-zero when started.
// This module has no way to the desktop and answers 0: the program opens addresses itself.
using OrvaneOpenURLWFunc = int (*)(const char16_t* address, int flag);

// The module's exports; the program resolves them by name at run time.
ORVANE_UTILITIES_EXPORT int LoadCustomizeXMLFileW(const char16_t* path);
ORVANE_UTILITIES_EXPORT int ReadCustomizeInfoW(const char16_t* key, const char16_t* languageCode,
                                               char16_t* buffer, int bufferLength, char16_t* extra,
                                               int extraLength);
ORVANE_UTILITIES_EXPORT int OrvaneOpenURLW(const char16_t* address, int flag);
