// SPDX-License-Identifier: GPL-3.0-or-later
#include "eventsound.h"

#include <canberra.h>
#include <gio/gio.h>

#include <utility>

namespace tavoro {

namespace {

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

} // namespace

struct EventSound::Private {
    std::string applicationName;
    // Both made at the first sound, so that a program that plays none never reaches the sound
    // server or the settings; kept for the program's life.
    bool started = false;
    ca_context* context = nullptr;
    GSettings* settings = nullptr;

    ~Private()
    {
        if (context)
            ca_context_destroy(context);
        if (settings)
            g_object_unref(settings);
    }

    void start()
    {
        started = true;
        settings = gnomeSoundSettings();
        if (ca_context_create(&context) != CA_SUCCESS) {
            context = nullptr;
            return;
        }
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, applicationName.c_str(), nullptr);
    }
};

EventSound::EventSound(std::string applicationName) : d(std::make_unique<Private>())
{
    d->applicationName = std::move(applicationName);
}

EventSound::~EventSound() = default;

EventSound::Result EventSound::play(const char* eventId, const char* description)
{
    if (!d->started)
        d->start();
    // The settings are read at each sound: the user may change them while the program runs.
    gchar* theme = nullptr;
    if (d->settings) {
        if (!g_settings_get_boolean(d->settings, "event-sounds"))
            return Result::Silenced;
        theme = g_settings_get_string(d->settings, "theme-name");
    }
    if (!d->context) {
        g_free(theme);
        return Result::Failed;
    }

    ca_proplist* properties = nullptr;
    if (ca_proplist_create(&properties) != CA_SUCCESS) {
        g_free(theme);
        return Result::Failed;
    }
    ca_proplist_sets(properties, CA_PROP_EVENT_ID, eventId);
    ca_proplist_sets(properties, CA_PROP_EVENT_DESCRIPTION, description);
    ca_proplist_sets(properties, CA_PROP_MEDIA_ROLE, "event");
    // Kept in the sound server's sample cache after the first time, as the desktop keeps its own
    // bell: later sounds start without reading or sending the file again.
    ca_proplist_sets(properties, CA_PROP_CANBERRA_CACHE_CONTROL, "permanent");
    if (theme && *theme)
        ca_proplist_sets(properties, CA_PROP_CANBERRA_XDG_THEME_NAME, theme);
    g_free(theme);

    // Opens the context (connects to the sound server) when it is not open yet, so a server that
    // starts later is found at the next sound. Id 0: no sound is ever cancelled.
    const int status = ca_context_play_full(d->context, 0, properties, nullptr, nullptr);
    ca_proplist_destroy(properties);
    return status == CA_SUCCESS ? Result::Played : Result::Failed;
}

} // namespace tavoro
