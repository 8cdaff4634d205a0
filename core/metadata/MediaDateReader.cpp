#include "MediaDateReader.h"

#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <mutex>

namespace quorvane::core {

namespace {

// A file that takes longer than this is given up: a damaged file must not hold a whole listing.
constexpr GstClockTime discoveryTimeout = 5 * GST_SECOND;

bool gstreamerReady()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = gst_init_check(nullptr, nullptr, nullptr); });
    return ready;
}

template <class T, void (*release)(T*)>
struct Owned
{
    T* pointer;
    explicit Owned(T* owned) : pointer(owned) {}
    ~Owned()
    {
        if (pointer) {
            release(pointer);
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
};

void unrefObject(GstDiscoverer* object)
{
    g_object_unref(object);
}
void unrefInfo(GstDiscovererInfo* info)
{
    g_object_unref(info);
}
void freeText(gchar* text)
{
    g_free(text);
}
void freeError(GError* error)
{
    g_error_free(error);
}
void freeStreams(GList* streams)
{
    gst_discoverer_stream_info_list_free(streams);
}

std::optional<DateTaken> dateOfTags(const GstTagList* tags)
{
    GstDateTime* found = nullptr;
    if (!tags || !gst_tag_list_get_date_time(tags, GST_TAG_DATE_TIME, &found) || !found) {
        return std::nullopt;
    }
    std::optional<DateTaken> taken;
    // A date without a time of day tells nothing a name or an order could use.
    if (gst_date_time_has_second(found)) {
        DateTaken stated;
        stated.local = {gst_date_time_get_year(found),   gst_date_time_get_month(found),
                        gst_date_time_get_day(found),    gst_date_time_get_hour(found),
                        gst_date_time_get_minute(found), gst_date_time_get_second(found)};
        stated.offsetMinutes = static_cast<int>(gst_date_time_get_time_zone_offset(found) * 60.0f);
        if (const std::optional<platform::FileTime> instant = instantOf(stated)) {
            taken = dateTakenOf(*instant);
        }
    }
    gst_date_time_unref(found);
    return taken;
}

} // namespace

MediaDateReader::MediaDateReader()
{
    gstreamerReady();
}

std::optional<DateTaken> MediaDateReader::read(const std::string& path) const
{
    if (!gstreamerReady()) {
        return std::nullopt;
    }
    Owned<GError, freeError> error(nullptr);
    const Owned<gchar, freeText> uri(g_filename_to_uri(path.c_str(), nullptr, &error.pointer));
    if (!uri.pointer) {
        return std::nullopt;
    }
    const Owned<GstDiscoverer, unrefObject> discoverer(gst_discoverer_new(discoveryTimeout, &error.pointer));
    if (!discoverer.pointer) {
        return std::nullopt;
    }
    const Owned<GstDiscovererInfo, unrefInfo> info(
        gst_discoverer_discover_uri(discoverer.pointer, uri.pointer, &error.pointer));
    if (!info.pointer || gst_discoverer_info_get_result(info.pointer) != GST_DISCOVERER_OK) {
        return std::nullopt;
    }
    const Owned<GList, freeStreams> streams(gst_discoverer_info_get_stream_list(info.pointer));
    for (GList* item = streams.pointer; item; item = item->next) {
        auto* stream = static_cast<GstDiscovererStreamInfo*>(item->data);
        if (auto taken = dateOfTags(gst_discoverer_stream_info_get_tags(stream))) {
            return taken;
        }
    }
    if (GstDiscovererStreamInfo* top = gst_discoverer_info_get_stream_info(info.pointer)) {
        std::optional<DateTaken> taken;
        if (GST_IS_DISCOVERER_CONTAINER_INFO(top)) {
            taken = dateOfTags(gst_discoverer_container_info_get_tags(GST_DISCOVERER_CONTAINER_INFO(top)));
        }
        if (!taken) {
            taken = dateOfTags(gst_discoverer_stream_info_get_tags(top));
        }
        gst_discoverer_stream_info_unref(top);
        return taken;
    }
    return std::nullopt;
}

} // namespace quorvane::core
