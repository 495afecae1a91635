#pragma once
// The decoder's and encoder's messages are dropped: callers report failures in their own words.

#include <openjpeg.h>

inline void QuietJpeg2000Message(const char*, void*)
{
}

inline void SilenceJpeg2000Codec(opj_codec_t* codec)
{
    opj_set_error_handler(codec, &QuietJpeg2000Message, nullptr);
    opj_set_warning_handler(codec, &QuietJpeg2000Message, nullptr);
    opj_set_info_handler(codec, &QuietJpeg2000Message, nullptr);
}
