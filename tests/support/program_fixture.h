#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/vt_haltward_main.h"
#include "dialogs/vt_haltward_about.h"
#include "dialogs/vt_haltward_message_settings.h"
#include "platform/headless/headless_console.h"
#include "platform/headless/headless_event_loop.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"

namespace vt::testing {

using headless::HeadlessConsole;
using headless::HeadlessEventLoop;
using headless::MemoryStore;
using headless::NullViewFactory;
using headless::TypedKeys;
using headless::WindowId;

// The whole program on headless backends: a virtual clock, a store in memory,
// simulated console windows and no views. Reports go to a list, not stderr.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
        : console([this] { return loop.nowMs(); }), services{loop, store, console, views, [this] { return exeName; }}
    {
        loop.reports().writeLine = [this](const std::string& line) { stderrLines.push_back(line); };
    }

    // Starts the program: a new main window, loaded and shown.
    VT_HALTWARD_MAIN& start()
    {
        main = std::make_unique<VT_HALTWARD_MAIN>(services);
        main->load();
        main->show();
        return *main;
    }

    void storeValue(const std::string& key, const std::string& text) { store.put(exeName, key, text); }
    std::string stored(const std::string& key) const { return store.get(exeName, key); }

    // The messages and title of a typical set-up, stored before start().
    void storeTexts(const std::string& title = "SPIGOT-SERVER")
    {
        storeValue("WINDOW_NAME_TEXTBOX", title);
        storeValue("SERVER_NAME_TEXTBOX", "Survival");
        storeValue("THREE_MIN_MESSAGE_TEXTBOX", "three");
        storeValue("TWO_MIN_MESSAGE_TEXTBOX", "two");
        storeValue("ONE_MIN_MESSAGE_TEXTBOX", "one");
        storeValue("SHUTDOWN_RESTART_MESSAGE_TEXTBOX", "bye");
    }

    // Each keystroke string the console received, as "keys|W" (sent with
    // Wait) or "keys|-", led by the whole seconds it arrived at when asked.
    std::vector<std::string> sentStrings(bool withSeconds = false) const
    {
        std::vector<std::string> out;
        for (const TypedKeys& entry : console.transcript())
            out.push_back((withSeconds ? std::to_string(entry.atMs / 1000) + "|" : std::string()) + entry.keys +
                          (entry.wait ? "|W" : "|-"));
        return out;
    }

    // The failure shown now, if any; news of a watched step is not one.
    std::string currentReport() const
    {
        const auto& current = loop.reports().current();
        return current && current->kind == Report::Kind::Failure ? current->message : std::string();
    }

    HeadlessEventLoop loop;
    MemoryStore store;
    HeadlessConsole console;
    NullViewFactory views;
    std::string exeName = "vt-haltward";
    Services services;
    std::unique_ptr<VT_HALTWARD_MAIN> main;
    std::vector<std::string> stderrLines;
};

} // namespace vt::testing
