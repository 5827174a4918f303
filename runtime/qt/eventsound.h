// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Event sounds played as the Linux desktop plays its own: a sound of the user's XDG sound theme,
// named by its event id, through libcanberra and the sound server (PulseAudio, or PipeWire in its
// place), with the "event" media role, so that the desktop's event-sound volume and settings apply.

#include <memory>
#include <string>

namespace tavoro {

class EventSound {
public:
    // `applicationName` is what the sound server's stream list shows for the program's sounds.
    explicit EventSound(std::string applicationName);
    ~EventSound();
    EventSound(const EventSound&) = delete;
    EventSound& operator=(const EventSound&) = delete;

    enum class Result {
        Played,   // the sound server took the sound
        Silenced, // the user switched event sounds off (GNOME's org.gnome.desktop.sound event-sounds)
        Failed,   // no sound server answered, or the theme has no such sound
    };
    // Starts the sound theme's `eventId` sound ("bell-window-system"; libcanberra falls back to
    // "bell-window", then "bell") in the theme GNOME's settings name, or the default theme, and
    // returns without waiting for it to end. Sounds started in quick succession overlap; none
    // cuts another short. `description` says what the sound means, for the sound server.
    Result play(const char* eventId, const char* description);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace tavoro
