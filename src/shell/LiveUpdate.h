#pragma once

// The update check. This build has no update service: it accepts the automatic check after
// the main window first shows and the interactive check from the help menu, and does nothing.
class TLiveUpdate
{
public:
    // Whether this build can check for updates; the help menu offers no update without it.
    static constexpr bool Available() { return false; }

    void StartAutomaticCheck() {}
    void StartInteractiveCheck() {}
};
