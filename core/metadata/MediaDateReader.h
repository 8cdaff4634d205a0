#pragma once

#include "DateTaken.h"

#include <optional>
#include <string>

namespace quorvane::core {

// The creation date of a sound or video file as GStreamer's discoverer reports it (MP4, MOV, AVI,
// MTS and whatever else the installed plugins read), each file given at most a few seconds.
// Containers keep that date in UTC; it is given as the local time of that instant.
class MediaDateReader : public DateTakenReader
{
public:
    MediaDateReader();
    std::optional<DateTaken> read(const std::string& path) const override;
};

} // namespace quorvane::core
