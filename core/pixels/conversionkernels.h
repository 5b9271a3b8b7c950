#pragma once

#include <QtGlobal>

// The row kernels of PublicBase's conversions between 32-bit pixels and OSD bytes (B, G, R), in
// the build the processor's level calls for (see CpuFeatures). Private to the core library.
namespace ConversionKernels {

// n pixels from src to dst.
using RunKernel = void (*)(const uchar *src, uchar *dst, qint64 n);

// Pixels to OSD bytes, by the pixels' byte layout.
struct PackKernels
{
    RunKernel rgbWords;  // RGB32, ARGB32, ARGB32_Premultiplied
    RunKernel rgbaBytes; // RGBX8888, RGBA8888, RGBA8888_Premultiplied
    RunKernel rgbBytes;  // RGB888
};

// stream: the output is written with streaming stores where the level has them.
PackKernels packKernels(bool stream);

// OSD bytes to opaque RGBA8888 pixels; null where Qt's own converter (portable, and vectorised by
// Qt where it can) does the work.
RunKernel unpackKernel(bool stream);

// BGR888 pixels are OSD bytes already.
void bgrBytesCopy(const uchar *src, uchar *dst, qint64 n);

// Whether an output of this size goes past the caches.
bool streamingFor(qint64 outputBytes);

} // namespace ConversionKernels
