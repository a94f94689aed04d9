#pragma once

// The main window on the simulated board and virtual time, with its message boxes recorded and
// its end action counted: the base of the window tests.

#include "board_model.h"
#include "memory_port.h"
#include "strip_mixer.h"
#include "virtual_clock.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

namespace stripmixer::test {

// The colour a control shows behind its content.
inline QColor backOf(const QWidget *widget)
{
    return widget->palette().color(widget->backgroundRole());
}

struct RecordedBox {
    QString text;
    MessageIcon icon;
    QString title;
};

class WindowRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        StripMixer::setMessageBoxHook(
            [this](const QString &text, MessageIcon icon, const QString &title) {
                boxes.push_back({text, icon, title});
                if (onMessageBox)
                    onMessageBox();
            });
        // Waits with events let the window's own queued events run too.
        clock.setEventHook([] { QCoreApplication::processEvents(); });
    }
    void TearDown() override
    {
        window.reset();
        StripMixer::setMessageBoxHook({});
    }

    // A board behind Com `number`.
    BoardModel &addBoard(int number, BoardOptions options = {})
    {
        BoardModel &board = boards.emplace_back(options);
        port.attach(number, board);
        return board;
    }

    StripMixer &open()
    {
        window = std::make_unique<StripMixer>(port, clock);
        window->setEndAction([this] { ++ends; });
        return *window;
    }

    template <class T = QWidget>
    T *control(const char *name) const
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    VirtualClock clock;
    MemoryPort port{clock};
    std::deque<BoardModel> boards;
    std::unique_ptr<StripMixer> window;
    std::vector<RecordedBox> boxes;
    std::function<void()> onMessageBox;  // runs while a recorded box would be open
    int ends = 0;
};

}  // namespace stripmixer::test
