#pragma once

// What the link may see and touch of the window. The main window implements it; tests put a
// recording fake in its place.

#include <string>

namespace stripmixer {

enum class StatusCode : short { NotConnected = 0, Ready = 1, Busy = 2 };

enum class MessageIcon { None, Critical, Information };

class LinkHost {
public:
    virtual ~LinkHost() = default;

    // Status indicator. Takes any number: only 0, 1 and 2 change it.
    virtual void SetStatus(int code) = 0;
    virtual bool isReadyVisible() const = 0;
    virtual bool isBusyVisible() const = 0;

    // Appends old text + CR + entry + CR to the log. The entry's bytes are characters one to one.
    virtual void appendToLog(const std::string &entry) = 0;

    // A modal message box; an empty title means the application's title.
    virtual void messageBox(const std::string &text, MessageIcon icon = MessageIcon::None,
                            const std::string &title = {}) = 0;

    // The search window.
    virtual void showSearchWindow() = 0;
    virtual void hideSearchWindow() = 0;
    virtual void unloadSearchWindow() = 0;

    // Controls the link reads.
    virtual std::string portComboText() const = 0;
    virtual std::string baudComboText() const = 0;
    virtual int redPosition() const = 0;
    virtual int greenPosition() const = 0;
    virtual int bluePosition() const = 0;
    virtual int waitValue() const = 0;

    // Controls the link writes.
    virtual void showNumPixels(const std::string &count) = 0;  // Label_NumPixels
    virtual void clearEffectInfo() = 0;                        // Label_Info back to "-"
    virtual void showConnected() = 0;                          // Label_Status_Connected
    // Connect button back to "Connect", status "Not connected", baud list enabled.
    virtual void showDisconnected() = 0;
    // The device went away under an open port (the link has closed it already).
    virtual void connectionLost() = 0;
};

}  // namespace stripmixer
