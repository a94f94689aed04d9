#pragma once

// A LinkHost that records what the link did to the window, for tests of the link alone.

#include "link_host.h"

#include <string>
#include <vector>

namespace stripmixer::test {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    std::string title;
};

class FakeHost : public LinkHost {
public:
    // What the window would show.
    int status = 0;
    std::string log;  // exactly the text of the log: old text, CR, entry, CR
    std::vector<RecordedMessage> messages;
    std::string numPixels = "-";
    std::string info = "-";
    bool connected = false;
    int searchShown = 0, searchHidden = 0, searchUnloaded = 0;
    int disconnectedShown = 0;
    int connectionsLost = 0;

    // What the controls hold.
    std::string portCombo = "Com 7";
    std::string baudCombo = "Baud Rate";
    int red = 205, green = 205, blue = 205;
    int wait = 50;

    void SetStatus(int code) override
    {
        if (code >= 0 && code <= 2)
            status = code;
    }
    bool isReadyVisible() const override { return status == 1; }
    bool isBusyVisible() const override { return status == 2; }
    void appendToLog(const std::string &entry) override { log += '\r' + entry + '\r'; }
    void messageBox(const std::string &text, MessageIcon icon, const std::string &title) override
    {
        messages.push_back({text, icon, title});
    }
    void showSearchWindow() override { ++searchShown; }
    void hideSearchWindow() override { ++searchHidden; }
    void unloadSearchWindow() override { ++searchUnloaded; }
    std::string portComboText() const override { return portCombo; }
    std::string baudComboText() const override { return baudCombo; }
    int redPosition() const override { return red; }
    int greenPosition() const override { return green; }
    int bluePosition() const override { return blue; }
    int waitValue() const override { return wait; }
    void showNumPixels(const std::string &count) override { numPixels = count; }
    void clearEffectInfo() override { info.assign(1, '-'); }
    void showConnected() override { connected = true; }
    void showDisconnected() override
    {
        ++disconnectedShown;
        connected = false;
        SetStatus(0);
    }
    void connectionLost() override
    {
        ++connectionsLost;
        showDisconnected();
    }
};

}  // namespace stripmixer::test
