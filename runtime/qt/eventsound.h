// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Event sounds played as the Linux desktop plays its own: a sound of the user's XDG sound theme,
// named by its event id, through libcanberra and the sound server (PulseAudio, or PipeWire in its
// place), with the "event" media role, so that the desktop's event-sound volume and settings apply.
//
// The sound server is another program, and one that hangs must not hang ours: every call into
// libcanberra and the settings runs on a thread of its own, and play() never waits for it.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace tavoro {

class EventSound {
public:
    // `applicationName` is what the sound server's stream list shows for the program's sounds.
    // `unheard` runs, on the sound's own thread, for each sound that no sound server took (none
    // answers, or the theme has no such sound); never for one the user silenced.
    EventSound(std::string applicationName, std::function<void()> unheard);
    // Waits a moment for a sound being handed over, never for a sound server that does not answer.
    ~EventSound();
    EventSound(const EventSound&) = delete;
    EventSound& operator=(const EventSound&) = delete;

    // Starts the sound theme's `eventId` sound ("bell-window-system"; libcanberra falls back to
    // "bell-window", then "bell") in the theme GNOME's settings name, or the default theme, and
    // returns at once. Nothing is played where the user switched event sounds off (GNOME's
    // org.gnome.desktop.sound event-sounds). Sounds started in quick succession overlap; none cuts
    // another short. Where the sound server has not taken an earlier sound within `patience`, it
    // is taken for one that does not answer: this sound is unheard at once rather than queued
    // behind it.
    void play(const char* eventId, const char* description,
              std::chrono::milliseconds patience = std::chrono::milliseconds(1000));

private:
    struct Shared;
    std::shared_ptr<Shared> d;
};

} // namespace tavoro
