// SPDX-License-Identifier: GPL-3.0-or-later
#include "eventsound.h"

#include <canberra.h>
#include <gio/gio.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace tavoro {

namespace {

using Clock = std::chrono::steady_clock;

// GNOME's sound settings, where its schema is installed with both keys; otherwise null.
// (g_settings_new() would end the program on a schema that is not installed.)
GSettings* gnomeSoundSettings()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, "org.gnome.desktop.sound", TRUE);
    if (!schema)
        return nullptr;
    GSettings* settings = nullptr;
    if (g_settings_schema_has_key(schema, "event-sounds") && g_settings_schema_has_key(schema, "theme-name"))
        settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return settings;
}

struct Request {
    std::string eventId;
    std::string description;
};

// libcanberra's context and the settings, made, used and destroyed on the sound's own thread.
class Player {
public:
    explicit Player(const std::string& applicationName) : m_applicationName(applicationName) {}
    ~Player()
    {
        if (m_context)
            ca_context_destroy(m_context);
        if (m_settings)
            g_object_unref(m_settings);
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // False where no sound server took the sound; true where it did, or the user silenced it.
    bool play(const Request& request)
    {
        if (!m_started) {
            m_started = true;
            m_settings = gnomeSoundSettings();
        }
        // The settings are read at each sound: the user may change them while the program runs.
        gchar* theme = nullptr;
        if (m_settings) {
            if (!g_settings_get_boolean(m_settings, "event-sounds"))
                return true;
            theme = g_settings_get_string(m_settings, "theme-name");
        }
        ca_proplist* properties = nullptr;
        if (ca_proplist_create(&properties) != CA_SUCCESS) {
            g_free(theme);
            return false;
        }
        ca_proplist_sets(properties, CA_PROP_EVENT_ID, request.eventId.c_str());
        ca_proplist_sets(properties, CA_PROP_EVENT_DESCRIPTION, request.description.c_str());
        ca_proplist_sets(properties, CA_PROP_MEDIA_ROLE, "event");
        // Kept in the sound server's sample cache after the first time, as the desktop keeps its
        // own bell: later sounds start without reading or sending the file again.
        ca_proplist_sets(properties, CA_PROP_CANBERRA_CACHE_CONTROL, "permanent");
        if (theme && *theme)
            ca_proplist_sets(properties, CA_PROP_CANBERRA_XDG_THEME_NAME, theme);
        g_free(theme);

        int status = playOnce(properties);
        // A context whose sound server went away (restarted, or started after us) stays broken:
        // a new one connects afresh. A theme without the sound fails the same way every time.
        if (status != CA_SUCCESS && status != CA_ERROR_NOTFOUND) {
            if (m_context)
                ca_context_destroy(m_context);
            m_context = nullptr;
            status = playOnce(properties);
        }
        ca_proplist_destroy(properties);
        return status == CA_SUCCESS;
    }

private:
    int playOnce(ca_proplist* properties)
    {
        if (!m_context) {
            if (ca_context_create(&m_context) != CA_SUCCESS) {
                m_context = nullptr;
                return CA_ERROR_OOM;
            }
            ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, m_applicationName.c_str(), nullptr);
        }
        // Opens the context (connects to the sound server) when it is not open yet. Id 0: no
        // sound is ever cancelled.
        return ca_context_play_full(m_context, 0, properties, nullptr, nullptr);
    }

    std::string m_applicationName;
    bool m_started = false;
    ca_context* m_context = nullptr;
    GSettings* m_settings = nullptr;
};

} // namespace

struct EventSound::Shared {
    std::string applicationName;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Request> queue;
    std::function<void()> unheard;
    // Since when the thread has been handing a sound to the sound server, while it is.
    std::optional<Clock::time_point> handingOverSince;
    bool stopping = false;
    bool finished = false;
    std::thread thread;

    static void run(const std::shared_ptr<Shared>& shared)
    {
        {
            Player player(shared->applicationName);
            std::unique_lock lock(shared->mutex);
            for (;;) {
                shared->changed.wait(lock, [&] { return shared->stopping || !shared->queue.empty(); });
                if (shared->stopping)
                    break;
                const Request request = std::move(shared->queue.front());
                shared->queue.pop_front();
                shared->handingOverSince = Clock::now();
                lock.unlock();
                const bool heard = player.play(request);
                lock.lock();
                shared->handingOverSince.reset();
                if (!heard && shared->unheard)
                    shared->unheard();
            }
        }
        const std::lock_guard lock(shared->mutex);
        shared->finished = true;
        shared->changed.notify_all();
    }
};

EventSound::EventSound(std::string applicationName, std::function<void()> unheard)
    : d(std::make_shared<Shared>())
{
    d->applicationName = std::move(applicationName);
    d->unheard = std::move(unheard);
}

EventSound::~EventSound()
{
    std::unique_lock lock(d->mutex);
    d->stopping = true;
    d->unheard = nullptr;
    d->changed.notify_all();
    if (!d->thread.joinable())
        return;
    // A thread stuck in a sound server that does not answer is left to end with the process; it
    // holds its own share of the state.
    const bool finished = d->changed.wait_for(lock, std::chrono::milliseconds(500), [&] { return d->finished; });
    lock.unlock();
    if (finished)
        d->thread.join();
    else
        d->thread.detach();
}

void EventSound::play(const char* eventId, const char* description, std::chrono::milliseconds patience)
{
    std::unique_lock lock(d->mutex);
    if (d->handingOverSince && Clock::now() - *d->handingOverSince > patience) {
        if (d->unheard)
            d->unheard();
        return;
    }
    d->queue.push_back({eventId, description});
    // Made at the first sound, so that a program that plays none never reaches the sound server.
    if (!d->thread.joinable())
        d->thread = std::thread(&Shared::run, d);
    d->changed.notify_all();
}

} // namespace tavoro
