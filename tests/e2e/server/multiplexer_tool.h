#pragma once

#include <cstdio>

#include "platform/failures.h"
#include "platform/link/console_links.h"
#include "platform/multiplexer/multiplexer_links.h"

// Runs body with the tmux and screen links composed as the program without a
// display composes them. Prints a failure and returns 1 (ConsoleNotFound),
// 5 (NoServerRunning: a shell prompt), 3 (ConsoleAmbiguous) or 4 (any other).
template <typename Body>
int withMultiplexerLinks(Body body)
{
    vt::multiplexer::TmuxConsoleLink tmux;
    vt::multiplexer::ScreenConsoleLink screen;
    vt::ConsoleLinks links({{"tmux", tmux}, {"screen", screen}});
    try {
        return body(links);
    } catch (const vt::ConsoleAmbiguous& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 3;
    } catch (const vt::NoServerRunning& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 5;
    } catch (const vt::ConsoleNotFound& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    } catch (const vt::Failure& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 4;
    }
}
