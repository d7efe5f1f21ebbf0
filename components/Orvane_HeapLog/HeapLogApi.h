#pragma once

// Calling contract between the program and the run-log sink module "Orvane_HeapLog".
//
// The module exports CreateHeapLog, which returns one sink object for the life of the process,
// writing "log/log.txt" beside the module, and CreateHeapLogIn, which names the folder of
// "log.txt" instead (an installed program logs into the user's folders). Whichever is called
// first makes the sink; later calls of either return that same sink.
// The program calls only the third virtual operation, Append (slot index 2), so the order of
// the three operations below is the contract: never reorder them, never add a virtual
// destructor (it would take slots of its own), and add new operations only after Append.
// The object is never released by the program.

#if defined(__GNUC__)
#define ORVANE_HEAPLOG_EXPORT __attribute__((visibility("default")))
#else
#define ORVANE_HEAPLOG_EXPORT
#endif

class ORVANE_HEAPLOG_EXPORT IHeapLog
{
public:
    // Slot 0: the version of this contract that the sink implements.
    virtual int ContractVersion() const noexcept = 0;

    // Slot 1: the full path of the log file as UTF-8, valid for the life of the sink.
    virtual const char* FilePath() const noexcept = 0;

    // Slot 2: appends one entry given as a zero-terminated UTF-16 string. Safe to call from
    // several threads and several processes at once; every entry lands whole. Never fails
    // towards the caller.
    virtual void Append(const char16_t* text) noexcept = 0;

protected:
    ~IHeapLog() = default;
};

inline constexpr int kHeapLogContractVersion = 1;
inline constexpr char kCreateHeapLogSymbol[] = "CreateHeapLog";
inline constexpr char kCreateHeapLogInSymbol[] = "CreateHeapLogIn";

using CreateHeapLogFunction = IHeapLog* (*)();
// The folder as UTF-8, with or without a trailing "/"; it is made, with its parents, when
// an entry finds it missing.
using CreateHeapLogInFunction = IHeapLog* (*)(const char* logFolder);

extern "C" ORVANE_HEAPLOG_EXPORT IHeapLog* CreateHeapLog();
extern "C" ORVANE_HEAPLOG_EXPORT IHeapLog* CreateHeapLogIn(const char* logFolder);
