#pragma once

// The document engine's interfaces, records and codes, shared by the program and the engine
// module "OrvaneBusDocs". The program loads the module (EngineLoader.h), asks its class
// factory for the class EnumCtrl and talks to the objects below only through these
// interfaces.
//
// Texts: every text crosses as zero-terminated UTF-16 (char16_t).
// - Texts the program hands in (file names, passwords, folders) stay owned by the program and
//   are only read during the call; a null pointer counts as the empty text.
// - Texts the engine hands out are copied into fixed buffers inside the records (FileType,
//   Version, Description, Title). They are always zero-terminated; a longer text is cut at a
//   character boundary. Records can therefore be copied freely, and nothing is freed.

#include "engine/ComBase.h"

#include <cstdint>

// {0E2071A3-84F8-4202-97DE-4EF8F1A47013}
inline constexpr CLSID CLSID_EnumCtrl = {0x0E2071A3, 0x84F8, 0x4202,
                                         {0x97, 0xDE, 0x4E, 0xF8, 0xF1, 0xA4, 0x70, 0x13}};
// {49865331-96B6-4D82-8F71-2775EA0438E6}
inline constexpr IID IID_IEnumCtrl = {0x49865331, 0x96B6, 0x4D82,
                                      {0x8F, 0x71, 0x27, 0x75, 0xEA, 0x04, 0x38, 0xE6}};
// {C7A892D8-9798-4A19-A63D-E413EE1B3EB8}
inline constexpr IID IID_IDocObject = {0xC7A892D8, 0x9798, 0x4A19,
                                       {0xA6, 0x3D, 0xE4, 0x13, 0xEE, 0x1B, 0x3E, 0xB8}};
// {D1976728-3913-4C77-A3C2-E16D5A757942}
inline constexpr IID IID_IOperationCtrl = {0xD1976728, 0x3913, 0x4C77,
                                           {0xA3, 0xC2, 0xE1, 0x6D, 0x5A, 0x75, 0x79, 0x42}};
// {6C995273-58D2-48DF-9DD3-DE0DFA175A4C}
inline constexpr IID IID_IOperationNotify = {0x6C995273, 0x58D2, 0x48DF,
                                             {0x9D, 0xD3, 0xDE, 0x0D, 0xFA, 0x17, 0x5A, 0x4C}};
// {8F3B6C21-5D47-4E0A-9C1E-7A2D4B6E9F35}
inline constexpr IID IID_IOperationThreading = {0x8F3B6C21, 0x5D47, 0x4E0A,
                                                {0x9C, 0x1E, 0x7A, 0x2D, 0x4B, 0x6E, 0x9F, 0x35}};
// {2A2179D1-2CD6-4D87-97F0-1500F9ECEEBD}
inline constexpr IID IID_IEnumAdapterKeys = {0x2A2179D1, 0x2CD6, 0x4D87,
                                             {0x97, 0xF0, 0x15, 0x00, 0xF9, 0xEC, 0xEE, 0xBD}};

// ---------------------------------------------------------------------------------------------
// Records

inline constexpr int kInfoTextCapacity = 64;
inline constexpr int kTitleCapacity = 512;

// Adapter description (GetAdapterInfo). Capabilities is a set of kAdapterCan* bits.
struct TFileObjectInfo
{
    char16_t Description[kInfoTextCapacity];
    char16_t FileType[kInfoTextCapacity]; // extension with its dot, ".pdf"
    char16_t Version[kInfoTextCapacity];  // format version name, "1.7"
    std::int32_t Capabilities;
    std::int32_t Key;
};

inline constexpr std::int32_t kAdapterCanRead = 1;
inline constexpr std::int32_t kAdapterCanWrite = 2;

// Control(kControlEncryption): the engine fills EncryptType with a kEncrypt* value.
struct TEncrypteInfo
{
    const char16_t* FileName;
    std::int32_t EncryptType;
};

inline constexpr std::int32_t kEncryptUnreadable = -1; // missing, not a PDF, or beyond repair
inline constexpr std::int32_t kEncryptNone = 0;        // not encrypted
inline constexpr std::int32_t kEncryptNoOpenPassword = 1; // encrypted; opens without a password
inline constexpr std::int32_t kEncryptOpenPassword = 4; // cannot be opened without a password

// Control(kControlPageCount): the engine fills PageCount with the number of pages when the
// document opens with one of the passwords (or needs none), else -1.
struct TPasswdInfo
{
    const char16_t* FileName;
    const char16_t* OwnerPassword;
    const char16_t* UserPassword;
    std::int32_t PageCount;
};

// Control(kControlOutlineNode): one bookmark, or the root of the outline tree.
//
// Request: NodeRef 0 with ChildCount other than 1 asks for the root; NodeRef 0 with
// ChildCount 1 asks for the top-level bookmark number ChildIndex (from 0); any other NodeRef
// asks for child number ChildIndex of that node. A request made by copying an answer and
// setting ChildIndex (and ChildCount = 1 for a copy of the root) therefore fetches a child.
//
// Answer: ChildCount = the node's children, NodeRef = its handle (0 for the root),
// ChildIndex unchanged, Level (0 root, 1 top level, ...), Title, and its section:
// - FirstPage: the 1-based page of the bookmark's destination; 0 when it has none that
//   resolves to a page of this document (then LastPage = LastPageBoth = -1).
// - The section ends where the next bookmark in outline order (pre-order) whose Level is the
//   same or lower and whose destination resolves to a page begins, on page P:
//   LastPage = P - 1; LastPageBoth = P when that bookmark points clearly below the top of P
//   (so P also holds the end of this section), else P - 1. Without such a bookmark both are
//   the last page of the document. LastPage < FirstPage means the section has no page of its
//   own (the next one starts on the same page or earlier).
// The root has FirstPage 0 and LastPage = LastPageBoth = -1.
struct TOutlineNode
{
    std::int32_t ChildCount;
    std::int32_t NodeRef;
    std::int32_t ChildIndex;
    std::int32_t FirstPage;
    std::int32_t LastPage;
    std::int32_t LastPageBoth;
    std::int32_t Level;
    char16_t Title[kTitleCapacity];
};

// Control(kControlWarning) on an output after its Close wrote it: warning number Index (from
// 0) that the PDF library gave while the output was put together and written, damage of its
// input included (a repaired cross-reference table, an unreadable object or stream). Each
// warning met in an input is told by the first output written after it was met. Kept until
// the object is opened again. S_OK with Text filled; S_FALSE when there is no warning of that
// number (always on an input or an unopened object).
struct TDocWarning
{
    std::int32_t Index;
    char16_t Text[kTitleCapacity];
};

// Control(kControlPageMap) on the input of a run, once it is open and before the first of its
// pages is copied: every output of the run that takes pages of this input, with the input
// pages it takes (1-based, in the output's order). The engine keeps a copy; the texts and
// arrays are only read during the call. With kRunOptionNavigation an output resolves links
// and bookmarks with it: a target page in the output itself is linked there, a target page
// that went to another output of the map becomes a link to that file (the first output that
// holds it), and a target page in no output loses its link.
struct TPageMapOutput
{
    const char16_t* FileName; // as given to Open(kOpenCreate) for that output
    const std::int32_t* Pages;
    std::int32_t PageCount;
    // For the section of a bookmark split: the bookmark's NodeRef (TOutlineNode), so that it
    // is the output's first bookmark after its ancestors (bookmarks of the section before,
    // which ends on the same page, are left out); 0 otherwise.
    std::int32_t LeadBookmark;
};

struct TPageMap
{
    const TPageMapOutput* Outputs;
    std::int32_t OutputCount;
};

// ---------------------------------------------------------------------------------------------
// Codes

// IDocObject::Open modes.
inline constexpr std::int32_t kOpenRead = 1;
inline constexpr std::int32_t kOpenCreate = 2;

// IDocObject::Control codes and what their argument is.
inline constexpr std::int32_t kControlEncryption = 101;   // TEncrypteInfo*
inline constexpr std::int32_t kControlPageCount = 103;    // TPasswdInfo*
inline constexpr std::int32_t kControlRunOptions = 2001;  // a plain value: kRunOption* bits
inline constexpr std::int32_t kControlOutlineNode = 2002; // TOutlineNode*
inline constexpr std::int32_t kControlOutlineDepth = 2003; // std::int32_t*: levels, 0 = none
inline constexpr std::int32_t kControlWarning = 2004;     // TDocWarning*
inline constexpr std::int32_t kControlPageMap = 2005;     // const TPageMap*
inline constexpr std::int32_t kControlJobs = 2006;        // a plain value, 1..kMaxJobs

// Control(kControlJobs, n) on the input of a run, before its kControlPageMap: how many outputs
// the engine may make at once (1, the default: each as the run copies its pages). With more,
// workers of the engine, each with a reading of the input of its own, make the outputs of the
// page map ahead of the run, in its order; the run's requests (Open, CopyPages, Close) and
// the notifications stay exactly as they are, an output's Close puts the file a worker wrote
// into place, and Pause, Resume and Stop of the run's operation reach the workers too. The
// first worker reads with the input document itself: until the input is closed, it answers no
// outline query (E_UNEXPECTED), and another document object opening the same file reads it
// anew. Outputs are the same bytes whatever the number of jobs. A larger value counts as
// kMaxJobs.
inline constexpr std::int32_t kMaxJobs = 64;

// Control(kControlRunOptions, bits) on a document object of a run: what outputs written by
// this object carry besides their pages. The program passes kRunOptionsOfRun, without
// kRunOptionNavigation when the user wants bare copies. Without it an output holds its pages
// only.
inline constexpr std::int32_t kRunOptionPageLabels = 1;  // the page labels ("iv", "A-3") of its pages
inline constexpr std::int32_t kRunOptionDocumentInfo = 2; // the title, author, ... of the first input
// Navigation: the bookmarks whose targets it holds (trimmed, with their nesting, view and
// look), links and named destinations resolved through the page map (kControlPageMap), an
// opening view on one of its pages, and the input's XMP metadata, language, viewer
// preferences and page mode.
inline constexpr std::int32_t kRunOptionNavigation = 4;
inline constexpr std::int32_t kRunOptionsOfRun =
    kRunOptionPageLabels | kRunOptionDocumentInfo | kRunOptionNavigation;

// IOperationNotify::OnNotify kinds; data points to two 32-bit values.
inline constexpr std::int32_t kNotifyLibraryError = 1; // data: PDF library's error code, error
inline constexpr std::int32_t kNotifyError = 2;        // data: page concerned or 0, error
inline constexpr std::int32_t kNotifyEvent = 3;        // data: 0, event
inline constexpr std::int32_t kNotifyProgress = 4;     // data: percent of the CopyPages call, 0

// Events (kind kNotifyEvent).
inline constexpr std::int32_t kEventPageDone = 0x240; // a CopyPages call is complete
inline constexpr std::int32_t kEventStopped = 0x250;  // a Stop has taken effect

// Errors (kinds kNotifyLibraryError and kNotifyError).
inline constexpr std::int32_t kErrorInputUnreadable = 608;  // the input cannot be analysed
inline constexpr std::int32_t kErrorPageUnreadable = 864;   // a page cannot be read
inline constexpr std::int32_t kErrorOutputUnwritable = 896; // the output cannot be written

// ---------------------------------------------------------------------------------------------
// Interfaces. Every operation returns a status; a failure status means the call did nothing.

// Enumerates adapter keys, one 32-bit key per item.
struct IEnumAdapterKeys : IUnknown
{
    virtual HRESULT ENGINE_CALL Next(ULONG count, std::int32_t* keys, ULONG* fetched) = 0;
    virtual HRESULT ENGINE_CALL Skip(ULONG count) = 0;
    virtual HRESULT ENGINE_CALL Reset() = 0;
    virtual HRESULT ENGINE_CALL Clone(IEnumAdapterKeys** copy) = 0;

protected:
    ~IEnumAdapterKeys() = default;
};

// One document, unopened, opened for reading, or being written.
struct IDocObject : IUnknown
{
    // Pages of the open document: those of the input, or those appended to the output so far
    // (the page copies still under way are not counted); -1 when nothing is open.
    virtual HRESULT ENGINE_CALL GetPageCount(std::int32_t* count) = 0;

    // mode kOpenRead: result > 0 is the page count; -1 = an open password is needed and the
    //   passwords given to the last Control(kControlPageCount) for this file do not open it;
    //   0 = any other failure (missing, not a PDF, beyond repair, no pages).
    // mode kOpenCreate: starts an empty output. result = 1, or -1 when no file can be
    //   created in that folder (missing folder, no permission).
    // An object that is open is closed first.
    virtual HRESULT ENGINE_CALL Open(const char16_t* fileName, std::int32_t mode,
                                     std::int32_t* result) = 0;

    // Releases an input (the object may keep it for an Open of the same unchanged file until
    // it opens another or is released). Writes an output: to a temporary file in its folder,
    // renamed into place when complete. S_FALSE when nothing was written: the output has no pages, it was
    // abandoned by IOperationCtrl::Stop, or writing failed; a failure is also notified
    // (kNotifyError, kErrorOutputUnwritable) through the operation that filled the output,
    // and leaves no file behind.
    virtual HRESULT ENGINE_CALL Close() = 0;

    // code and argument as listed with the kControl* codes.
    virtual HRESULT ENGINE_CALL Control(std::int32_t code, std::intptr_t argument) = 0;

protected:
    ~IDocObject() = default;
};

struct IOperationNotify : IUnknown
{
    // Called on the engine's worker thread (with kThreadingCaller, from the event loop of the
    // application's thread), never from inside a call the program made into the engine.
    // The program may call the engine from here. Returns S_OK.
    virtual HRESULT ENGINE_CALL OnNotify(std::int32_t kind, const std::int32_t* data) = 0;

protected:
    ~IOperationNotify() = default;
};

// Copies pages from an input document to an output document on a worker thread of its own
// (see kThreadingCaller for the other choice). No operation waits for the program; Pause,
// Resume and Stop return at once.
struct IOperationCtrl : IUnknown
{
    virtual HRESULT ENGINE_CALL Advise(IOperationNotify* sink, std::int32_t* cookie) = 0;

    // A notification already under way may still reach the sink once.
    virtual HRESULT ENGINE_CALL Unadvise(std::int32_t cookie) = 0;

    // Appends input pages first..last (1-based) to the output and returns at once. The
    // worker then notifies progress (kNotifyProgress), any error, and kEventPageDone, which
    // also follows a failed copy. Pages that cannot be copied are left out.
    virtual HRESULT ENGINE_CALL CopyPages(std::int32_t first, std::int32_t last) = 0;

    // Holds the worker before its next step (a page or a notification).
    virtual HRESULT ENGINE_CALL Pause() = 0;
    virtual HRESULT ENGINE_CALL Resume() = 0;

    // Abandons the copies under way and queued, releases a pause, marks the current output
    // abandoned (its Close writes nothing), and notifies kEventStopped.
    virtual HRESULT ENGINE_CALL Stop() = 0;

    // Not used; answers E_NOTIMPL.
    virtual HRESULT ENGINE_CALL Reserved() = 0;

    // The documents of the following CopyPages calls.
    virtual HRESULT ENGINE_CALL SetDocuments(IDocObject* input, IDocObject* output) = 0;

protected:
    ~IOperationCtrl() = default;
};

// Where an operation does its work, chosen once before its first request
// (IOperationThreading::SetThreading).
inline constexpr std::int32_t kThreadingWorker = 0; // a worker thread of its own (the default)
// The thread of the Qt application object (which must be the one that asks for it), one step
// (a CopyPages call or a notification) per turn of its event loop. A program without a window keeps to one thread this
// way, which spares the PDF library the cost of thread-safe reference counts and allocation.
// Notifications still never come from inside a call into the engine, only from the event
// loop; a Pause asked for inside a notification holds the operation after its current step.
inline constexpr std::int32_t kThreadingCaller = 1;

// An optional interface of an operation (QueryInterface on IOperationCtrl).
struct IOperationThreading : IUnknown
{
    // model is a kThreading* value. E_INVALIDARG for another value; E_FAIL once the operation
    // has had a request (CopyPages, Stop, Pause, Resume), or for kThreadingCaller on a thread
    // other than that of the Qt application object (or without one).
    virtual HRESULT ENGINE_CALL SetThreading(std::int32_t model) = 0;

protected:
    ~IOperationThreading() = default;
};

// The engine's root object.
struct IEnumCtrl : IUnknown
{
    // Reads the adapter descriptions of the folder (replacing those read before); count =
    // how many adapters are usable.
    virtual HRESULT ENGINE_CALL EnumAdapters(const char16_t* pluginsFolder,
                                             std::int32_t* count) = 0;
    virtual HRESULT ENGINE_CALL GetAdapterEnum(IEnumAdapterKeys** keys) = 0;
    virtual HRESULT ENGINE_CALL GetAdapterInfo(std::int32_t key, TFileObjectInfo* info) = 0;
    virtual HRESULT ENGINE_CALL CreateDocObject(std::int32_t key, IDocObject** document) = 0;
    virtual HRESULT ENGINE_CALL CreateOperation(IDocObject* input, IDocObject* output,
                                                IOperationCtrl** operation) = 0;

protected:
    ~IEnumCtrl() = default;
};

ENGINE_INTERFACE_ID(IEnumAdapterKeys, IID_IEnumAdapterKeys);
ENGINE_INTERFACE_ID(IDocObject, IID_IDocObject);
ENGINE_INTERFACE_ID(IOperationNotify, IID_IOperationNotify);
ENGINE_INTERFACE_ID(IOperationCtrl, IID_IOperationCtrl);
ENGINE_INTERFACE_ID(IOperationThreading, IID_IOperationThreading);
ENGINE_INTERFACE_ID(IEnumCtrl, IID_IEnumCtrl);

// Passes a record's address to IDocObject::Control.
template <class Record>
HRESULT ControlRecord(IDocObject& document, std::int32_t code, Record* record)
{
    return document.Control(code, reinterpret_cast<std::intptr_t>(record));
}
