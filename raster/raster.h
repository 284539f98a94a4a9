// The whole raster library surface in one include.
#pragma once

#include "raster/blend_mode.h"
#include "raster/blit.h"
#include "raster/cached_font.h"
#include "raster/circle.h"
#include "raster/fill.h"
#include "raster/image_file_loader.h"
#include "raster/line.h"
#include "raster/memory_bitmap.h"
#include "raster/platform_font.h"
#include "raster/png_decode.h"
#include "raster/raster_bitmap.h"
#include "raster/system_bitmap.h"
#include "raster/text_flags.h"
#include "raster/wrapper_bitmap.h"
